#include "capturebench.h"

#include "benchemulator.h"
#include "dispscene.h"
#include "dispscreencapturewidget.h"
#include "dispstandardwidgetfactory.h"
#include "screengrabber.h"
#include "transport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>

namespace {

bool onX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

} // namespace

CaptureBench::GrabRow CaptureBench::measureGrab(const QRect& region, int grabs)
{
    GrabRow row;
    row.region = region;
    if (!onX11()) {
        row.error = QStringLiteral("needs X11 (QT_QPA_PLATFORM=xcb under Xvfb)");
        return row;
    }
    X11ScreenGrabber grabber;
    DispScreenCaptureWidget widget;
    widget.setCapturing(false);
    widget.setGrabber(&grabber);
    widget.setItemGeometry(QRectF(0, 0, 480, 480));
    widget.setCaptureRect(region);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < grabs; ++i) {
        const QImage picture = grabber.grab(region);
        if (picture.isNull()) {
            row.error = QStringLiteral("empty grab");
            return row;
        }
    }
    const qint64 grabOnly = clock.nsecsElapsed();
    clock.restart();
    for (int i = 0; i < grabs; ++i)
        widget.grabOnce();
    row.grabs = grabs;
    row.grabMs = double(grabOnly) / grabs / 1e6;
    row.totalMs = double(clock.nsecsElapsed()) / grabs / 1e6;
    return row;
}

CaptureBench::LiveRow CaptureBench::measureLive(const QString& emulator, int seconds)
{
    LiveRow row;
    if (!onX11()) {
        row.error = QStringLiteral("needs X11");
        return row;
    }
    BenchEmulator device;
    if (!device.start(emulator, QSize(480, 480))) {
        row.error = QStringLiteral("emulator did not start");
        return row;
    }
    DispStandardWidgetFactory::install();
    ScreenGrabber::setForSession(new X11ScreenGrabber(qApp));
    DispScene scene;
    bool found = false;
    QObject::connect(scene.transport(), &Transport::searchDeviceFinish, &scene, [&found] { found = true; });
    scene.transport()->openDevice(device.link(), 0x1F3A, 0x0007);
    if (!BenchEmulator::waitFor([&found] { return found; })) {
        row.error = QStringLiteral("no answer to the search");
        return row;
    }
    scene.setSceneSize(480, 480);
    DispScreenCaptureWidget* capture =
        scene.addScreenCaptureWidget(QStringLiteral("_display"), QPointF(0, 0));
    capture->setZValue(-1);
    capture->setItemGeometry(scene.sceneRect());
    capture->setCaptureRect(QRectF(100, 100, 480, 480));

    QElapsedTimer clock;
    clock.start();
    BenchEmulator::waitFor([&] { return clock.elapsed() > 1000; });
    const int framesBefore = device.decodedFrames();
    const double cpuBefore = BenchEmulator::processCpuMs();
    clock.restart();
    while (clock.elapsed() < seconds * 1000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const double elapsedMs = double(clock.elapsed());
    row.cpuPercent = (BenchEmulator::processCpuMs() - cpuBefore) / elapsedMs * 100.0;
    row.deviceFps = (device.decodedFrames() - framesBefore) * 1000.0 / elapsedMs;
    row.seconds = elapsedMs / 1000.0;
    scene.clearThread();
    return row;
}

QString CaptureBench::tables(const QList<GrabRow>& rows, const LiveRow& live)
{
    QString text = QStringLiteral("| Region | Grabs | Grab ms | Grab + scale to 480x480 + show ms | Note |\n"
                                  "|---|---:|---:|---:|---|\n");
    for (const GrabRow& row : rows) {
        text += QStringLiteral("| %1x%2 | %3 | %4 | %5 | %6 |\n")
                    .arg(row.region.width())
                    .arg(row.region.height())
                    .arg(row.grabs)
                    .arg(row.grabMs, 0, 'f', 2)
                    .arg(row.totalMs, 0, 'f', 2)
                    .arg(row.error);
    }
    text +=
        QStringLiteral("\nA 480x480 region mirrored live to a 480x480 panelcast-emu display:\n\n"
                       "| Seconds | Device fps | Process CPU % of one core | Note |\n|---:|---:|---:|---|\n"
                       "| %1 | %2 | %3 | %4 |\n")
            .arg(live.seconds, 0, 'f', 1)
            .arg(live.deviceFps, 0, 'f', 1)
            .arg(live.cpuPercent, 0, 'f', 1)
            .arg(live.error);
    return text;
}
