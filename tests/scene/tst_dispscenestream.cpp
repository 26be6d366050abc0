// End to end: a scene with every widget kind, a number bound to a replayed
// sensor reading, streams through its transport to panelcast-emu; the
// emulator's decoded frames must show what the scene put where.
#include "dispdatewidget.h"
#include "displabelwidget.h"
#include "dispnumberwidget.h"
#include "dispscene.h"
#include "dispsensormanager.h"
#include "dispstandardwidgetfactory.h"
#include "disptextwidget.h"
#include "disptimewidget.h"
#include "dispweekdaywidget.h"
#include "pixels.h"
#include "readoutfixtures.h"
#include "testemulator.h"
#include "transport.h"

#include <QImage>
#include <QSignalSpy>
#include <QtTest>

using namespace Pixels;

namespace {

constexpr int kWaitMs = 8000;
const QColor kBackground(30, 60, 150);

// Starts the emulator as a panel of size and opens it for the scene.
bool connectScene(DispScene& scene, TestEmulator& emu, const char* size)
{
    if (!emu.start({"--size", size, "--png-every", "1"})) {
        qWarning() << emu.errorText();
        return false;
    }
    QSignalSpy found(scene.transport(), &Transport::searchDeviceFinish);
    scene.transport()->openDevice(emu.link(), 0x1F3A, 0x0007);
    if (!scene.transport()->isOpen() || !found.wait(kWaitMs)) {
        return false;
    }
    scene.setSceneSize(scene.transport()->panelWidth(), scene.transport()->panelHeight());
    return true;
}

} // namespace

class TestDispSceneStream : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { DispStandardWidgetFactory::install(); }
    void everyWidgetKindReachesTheDeviceAndFollowsReadings();
    void turnedQuietSceneStreamsEveryCycleAndAChangeGoesOutNext();
};

void TestDispSceneStream::everyWidgetKindReachesTheDeviceAndFollowsReadings()
{
    TestEmulator emu;
    std::unique_ptr<DispSensorManager> sensors = ReadoutFixtures::replayManagerAt(
        qEnvironmentVariable("PANELCAST_TEST_DATA") + "/scene/cpu-temperature.json");
    DispScene scene(sensors.get());
    QVERIFY(connectScene(scene, emu, "480x480"));
    QCOMPARE(scene.sceneRect(), QRectF(0, 0, 480, 480));
    scene.addRect(QRectF(0, 0, 480, 480), Qt::NoPen, QBrush(kBackground))->setZValue(-1);

    QList<QPair<QGraphicsItem*, QColor>> placed;
    DispTextWidget* text = scene.addTextWidget(QStringLiteral("_shot"), QPointF(24, 16));
    text->setFont(pixelFont(44, true));
    text->setDefaultTextColor(QColor(255, 220, 0));
    text->setPlainText(QStringLiteral("Panelcast"));
    placed.append({text, text->defaultTextColor()});
    const auto place = [&](DispLabelWidget* widget, int pixels, const QColor& colour) {
        widget->setFont(pixelFont(pixels));
        widget->setColor(colour);
        placed.append({widget, colour});
    };
    auto* caption = new DispLabelWidget;
    caption->setText(QStringLiteral("CPU Temperature"));
    scene.addItem(caption);
    caption->setPos(24, 100);
    place(caption, 26, QColor(150, 220, 255));
    DispNumberWidget* number = scene.addNumberWidget(QStringLiteral("_shot"), QPointF(24, 136));
    number->setSensorType(0); // CPU Temperature
    // A new number widget is bound to nothing: readings leave its text alone.
    DispNumberWidget* unbound = scene.addNumberWidget(QStringLiteral("_unbound"), QPointF(300, 440));
    unbound->setText(QStringLiteral("kept"));
    place(number, 84, Qt::white);
    place(scene.addDateWidget(QStringLiteral("_shot"), QPointF(24, 262)), 34, QColor(120, 255, 140));
    place(scene.addTimeWidget(QStringLiteral("_shot"), QPointF(24, 316)), 52, QColor(255, 140, 90));
    place(scene.addWeekdayWidget(QStringLiteral("_shot"), QPointF(24, 392)), 34, QColor(255, 120, 220));
    scene.clearSelection();

    // The fourth pass builds the display-value table after notifying
    // readers; the fifth is the first whose readers find it.
    for (int pass = 0; pass < 4; ++pass) {
        sensors->runLoopPass();
    }
    QCoreApplication::processEvents();
    QCOMPARE(number->text(), QString());
    sensors->runLoopPass();
    QCoreApplication::processEvents();
    const QString firstReading = number->text();
    QVERIFY2(firstReading == QStringLiteral("45°C") || firstReading == QStringLiteral("88°C"),
             qPrintable(firstReading));
    QCOMPARE(unbound->text(), QStringLiteral("kept"));

    // Read while the emulator may be rewriting it: a partial file gives a
    // null image and the check tries again.
    QRect used;
    const auto allShown = [&](const QImage& frame) {
        used = QRect();
        for (const auto& entry : placed) {
            const QRect area = entry.first->sceneBoundingRect().toRect();
            used |= area;
            if (frame.isNull() || countNear(frame, area, entry.second) < 60) {
                return false;
            }
        }
        return true;
    };
    QImage frame;
    QTRY_VERIFY_WITH_TIMEOUT((frame = emu.latestFrame(), allShown(frame)), kWaitMs);
    QCOMPARE(frame.size(), QSize(480, 480));
    QVERIFY(near(frame.pixelColor(470, 5), kBackground));
    QVERIFY(near(frame.pixelColor(470, 470), kBackground));
    // Nothing of any widget outside where the scene put them.
    QVERIFY(used.right() < 430);
    const QRect outside(used.right() + 8, 0, 480, 480);
    for (const auto& entry : placed) {
        QCOMPARE(countNear(frame, outside, entry.second), 0);
    }
    // Set PANELCAST_SCREENSHOT to a file name to keep the decoded frame.
    if (!qEnvironmentVariableIsEmpty("PANELCAST_SCREENSHOT")) {
        QVERIFY(frame.save(qEnvironmentVariable("PANELCAST_SCREENSHOT")));
    }

    // The replayed reading moves on: the number on the device follows.
    const QRect numberArea = number->sceneBoundingRect().toRect();
    const QImage before = frame.copy(numberArea);
    sensors->runLoopPass();
    QCoreApplication::processEvents();
    QVERIFY(number->text() != firstReading);
    const auto changed = [&] {
        const QImage now = emu.latestFrame().copy(numberArea);
        int different = 0;
        for (int y = 0; y < now.height(); ++y) {
            for (int x = 0; x < now.width(); ++x) {
                different += near(now.pixelColor(x, y), before.pixelColor(x, y)) ? 0 : 1;
            }
        }
        return !now.isNull() && different > 200;
    };
    QTRY_VERIFY_WITH_TIMEOUT(changed(), kWaitMs);
    scene.clearThread();
    QVERIFY(!scene.transport()->isRunning());
}

void TestDispSceneStream::turnedQuietSceneStreamsEveryCycleAndAChangeGoesOutNext()
{
    TestEmulator emu;
    DispScene scene;
    QVERIFY(connectScene(scene, emu, "360x960"));
    // A theme turned by 90 degrees: the scene lies on its side.
    scene.resizeScene(960, 360);
    scene.setRotation(1);
    scene.findChild<QTimer*>(QStringLiteral("renderTimer"))->stop(); // the test drives the pump
    const QColor red(220, 30, 30);
    QGraphicsRectItem* block = scene.addRect(QRectF(0, 0, 200, 100), Qt::NoPen, QBrush(red));
    // Turned clockwise onto the panel, drawn 60 pixels in on the encoder's
    // 420-wide image: the scene's top-left corner lands top right.
    const QRect turned(60 + 360 - 100, 0, 100, 200);
    const auto cycle = [&] {
        scene.pumpFrame();
        QTRY_COMPARE_WITH_TIMEOUT(scene.transport()->writtenImageNumber(),
                                  scene.transport()->sentImageNumber(), kWaitMs);
    };

    cycle();
    const qint64 rendered = scene.deviceFrame().cacheKey();
    QTRY_COMPARE_WITH_TIMEOUT(emu.decodedFrames(), 1, kWaitMs);
    QImage first;
    QTRY_VERIFY_WITH_TIMEOUT((first = emu.latestFrame(), near(first.pixelColor(turned.center()), red)),
                             kWaitMs);
    QCOMPARE(first.size(), QSize(420, 960));
    QVERIFY(countNear(first, turned.adjusted(5, 5, -5, -5), red) > 15000); // of 90 x 190
    QCOMPARE(countNear(first, QRect(60, 0, 100, 960), red), 0);
    QVERIFY(near(first.pixelColor(200, 700), Qt::white));
    // The band the encoder needs is black on the device, never the scene.
    QVERIFY(near(first.pixelColor(30, 480), Qt::black));
    QCOMPARE(countNear(first, QRect(0, 0, 56, 960), Qt::white), 0);

    // Nothing changes: no new render, yet a frame every cycle, decoded the same.
    for (int quiet = 0; quiet < 5; ++quiet) {
        cycle();
        QCOMPARE(scene.deviceFrame().cacheKey(), rendered);
    }
    QTRY_COMPARE_WITH_TIMEOUT(emu.decodedFrames(), 6, kWaitMs);
    QImage still;
    QTRY_VERIFY_WITH_TIMEOUT((still = emu.latestFrame(), still == first), kWaitMs);

    // A change just before a cycle is in that cycle's frame.
    block->setBrush(QColor(30, 30, 200));
    cycle();
    QTRY_COMPARE_WITH_TIMEOUT(emu.decodedFrames(), 7, kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(near(emu.latestFrame().pixelColor(turned.center()), QColor(30, 30, 200)),
                             kWaitMs);
    scene.clearThread();
}

QTEST_MAIN(TestDispSceneStream)

#include "tst_dispscenestream.moc"
