// End to end under Xvfb: a theme whose capture is active (its background
// hidden) mirrors a window painted at a known place onto panelcast-emu, and
// the decoded frames follow when the window's picture changes.
#include "../device/emuprocess.h"
#include "dispcapturebox.h"
#include "dispimagewidget.h"
#include "dispscene.h"
#include "dispstandardwidgetfactory.h"
#include "themerecordreader.h"
#include "themerecordwriter.h"
#include "themetags.h"
#include "transport.h"

#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kWaitMs = 8000;
const QColor kColours[2] = {QColor(230, 40, 40), QColor(40, 90, 230)};

// Left half one colour, right half the other; swap exchanges them.
class PatternWindow : public QWidget
{
public:
    PatternWindow() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint) {}
    bool swap = false;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(QRect(0, 0, width() / 2, height()), kColours[swap ? 1 : 0]);
        painter.fillRect(QRect(width() / 2, 0, width() - width() / 2, height()), kColours[swap ? 0 : 1]);
    }
};

bool near(const QColor& a, const QColor& b)
{
    return qAbs(a.red() - b.red()) <= 40 && qAbs(a.green() - b.green()) <= 40 &&
           qAbs(a.blue() - b.blue()) <= 40;
}

// Most pixels of area in frame are close to colour.
bool mostly(const QImage& frame, const QRect& area, const QColor& colour)
{
    int hits = 0;
    int total = 0;
    for (int y = area.top(); y <= area.bottom(); y += 4) {
        for (int x = area.left(); x <= area.right(); x += 4) {
            hits += near(frame.pixelColor(x, y), colour) ? 1 : 0;
            ++total;
        }
    }
    return !frame.isNull() && hits * 10 >= total * 9;
}

} // namespace

class TestCaptureStream : public QObject
{
    Q_OBJECT

private slots:
    void capturedRegionStreamsToTheDevice();
};

void TestCaptureStream::capturedRegionStreamsToTheDevice()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X11 screen (run under Xvfb)");
    DispStandardWidgetFactory::install();
    PatternWindow pattern;
    pattern.setGeometry(300, 200, 240, 240);
    pattern.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pattern));

    QTemporaryDir dir;
    EmuProcess emu;
    const QString link = dir.filePath(QStringLiteral("ttyCAPTURE"));
    QVERIFY2(emu.start({"--link", link, "--size", "480x480", "--out", dir.filePath(QStringLiteral("out")),
                        "--png-every", "1"}),
             qPrintable(emu.errorText()));
    DispScene scene;
    QSignalSpy found(scene.transport(), &Transport::searchDeviceFinish);
    scene.transport()->openDevice(link, 0x1F3A, 0x0007);
    QVERIFY(found.wait(kWaitMs));
    scene.setSceneSize(480, 480);

    // The theme: background hidden, capture of the window's rectangle.
    DispImageWidget* background = scene.addImageWidget(QStringLiteral("_background"), QPointF(0, 0));
    background->setVisible(false);
    dispcapturebox panel;
    panel.attachScene(&scene);
    ThemeRecordWriter writer(CaptureTag);
    writer.stream() << false << qint32(300) << qint32(200) << qint32(240) << qint32(240) << true;
    ThemeRecordReader reader(writer.finish());
    panel.readThemeRecord(reader, QString());
    panel.setActive(true);
    panel.fitToScene();

    // Each half of the window fills half of the panel.
    const QRect left(20, 20, 200, 440);
    const QRect right(260, 20, 200, 440);
    const auto latest = [&dir] { return QImage(dir.filePath(QStringLiteral("out/latest.png"))); };
    QImage frame;
    QTRY_VERIFY_WITH_TIMEOUT(
        (frame = latest(), mostly(frame, left, kColours[0]) && mostly(frame, right, kColours[1])), kWaitMs);
    pattern.swap = true;
    pattern.update();
    QTRY_VERIFY_WITH_TIMEOUT(
        (frame = latest(), mostly(frame, left, kColours[1]) && mostly(frame, right, kColours[0])), kWaitMs);
    background->stopDecoder();
    scene.clearThread();
}

QTEST_MAIN(TestCaptureStream)
#include "tst_capturestream.moc"
