#include "disparcbox.h"
#include "disparcwidget.h"
#include "dispbarbox.h"
#include "dispcircularprogressbar.h"
#include "dispprogressbarwidget.h"
#include "dispscene.h"
#include "dispsensormanager.h"
#include "dispstandardwidgetfactory.h"
#include "readoutfixtures.h"
#include "replaysensorlibrary.h"
#include "scenebuilder.h"
#include "testemulator.h"
#include "themerecordreader.h"
#include "themerecordwriter.h"
#include "transport.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

using namespace SceneBuilder;

namespace {

void add(ReadoutItemPanel& panel, int times = 1)
{
    for (int i = 0; i < times; ++i) {
        panel.findChild<QPushButton*>(QStringLiteral("addButton"))->click();
    }
}

} // namespace

class TestReadoutItemPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { DispStandardWidgetFactory::install(); }
    void barRecordBytes();
    void themeOfArcAndBarStreamsAndFollowsReadings();
};

void TestReadoutItemPanel::barRecordBytes()
{
    PanelScene scene(480, 1920);
    dispbarbox panel;
    panel.attachScene(&scene);
    QCOMPARE(written(panel).toHex(), QByteArray("0d0000000000008600"
                                                "00000000"));
    add(panel);
    panel.items().first()->setObjectName(QStringLiteral("progress_bar_9"));
    const QByteArray expected = QByteArray::fromHex(
        "d6000000"
        "00000086" // length 214, tag 134
        "01"
        "00000001"                                                         // shown, one bar
        "0000001c00700072006f00670072006500730073005f006200610072005f0039" // "progress_bar_9"
        "0000000000000000"
        "0000000000000000"
        "4059000000000000"
        "4059000000000000" // 0, 0, 100 x 100
        "0000006c"         // the bar's attribute block
        "00000101"
        "0000000000000000"
        "4000000000000000"
        "4059000000000000"
        "403e000000000000"
        "0000000000000000"
        "01ffffa0a0a0a0a4a40000"
        "01ffffffff000000000000"
        "00000002"
        "000000000000000001ffff0000ffff00000000"
        "3ff000000000000001ffffffffffff00000000"
        "3ff0000000000000"
        "01" // opacity 1, visible
        "00000000"
        "00000001"
        "0000000b"
        "0000000a"); // CPU Temperature, 1, 11, 10
    QCOMPARE(written(panel).toHex(' '), expected.toHex(' '));
}

void TestReadoutItemPanel::themeOfArcAndBarStreamsAndFollowsReadings()
{
    // The theme: a 200-pixel ring and a 400-pixel bar, both on CPU Temperature.
    QByteArray arcRecord;
    QByteArray barRecord;
    {
        PanelScene editing;
        disparcbox arcs;
        dispbarbox bars;
        arcs.attachScene(&editing);
        bars.attachScene(&editing);
        add(arcs);
        arcs.findChild<QSpinBox*>(QStringLiteral("size"))->setValue(200);
        arcs.findChild<QSpinBox*>(QStringLiteral("lineWidth"))->setValue(30);
        arcs.items().first()->setPos(20, 20);
        add(bars);
        bars.findChild<QSpinBox*>(QStringLiteral("length"))->setValue(400);
        editing.clearSelection();
        bars.items().first()->setPos(20, 200);
        arcRecord = written(arcs);
        barRecord = written(bars);
    }

    // The device: an emulated 480 x 480 display, readings 45 then 88 degrees.
    const QString replay = qEnvironmentVariable("PANELCAST_TEST_DATA") + "/scene/cpu-temperature.json";
    const auto manager = ReadoutFixtures::replayManager(replay);
    DispSensorManager& sensors = *manager;
    TestEmulator emu;
    QVERIFY2(emu.start({"--size", "480x480", "--png-every", "1"}), qPrintable(emu.errorText()));
    DispScene scene(&sensors);
    QSignalSpy found(scene.transport(), &Transport::searchDeviceFinish);
    scene.transport()->openDevice(emu.link(), 0x1F3A, 0x0007);
    QVERIFY(found.wait(8000));
    scene.setSceneSize(480, 480);
    disparcbox arcs;
    dispbarbox bars;
    arcs.attachScene(&scene);
    bars.attachScene(&scene);
    read(arcs, arcRecord);
    read(bars, barRecord);
    scene.clearSelection();
    auto* ring = qobject_cast<DispArcWidget*>(arcs.items().value(0));
    QVERIFY(ring != nullptr && bars.items().size() == 1);

    // 120 degrees clockwise from 12 on the ring, and 35 % along the bar: a
    // reading of 45 (of 200) reaches neither, 88 both.
    const QPoint onRing(120 + int(85 * std::sin(M_PI * 2 / 3)), 120 - int(85 * std::cos(M_PI * 2 / 3)));
    // The bar lies across the middle of its square widget.
    const QPoint onBar = (bars.items().first()->pos() + QPointF(2 + 0.35 * 396, 200)).toPoint();
    const auto latest = [&emu] { return emu.latestFrame(); };
    const auto filled = [](const QImage& frame, const QPoint& at) {
        const QColor c = frame.pixelColor(at); // the gradient is green-yellow, the track grey
        return c.green() > 200 && c.blue() < 100;
    };
    for (int pass = 0; pass < 5; ++pass) {
        sensors.runLoopPass();
    }
    QCoreApplication::processEvents();
    for (int step = 0; step < 2; ++step) {
        const bool hot = ring->ring()->value() > 80;
        QVERIFY(ring->ring()->value() == 45 || hot);
        QTRY_VERIFY_WITH_TIMEOUT(
            !latest().isNull() && filled(latest(), onRing) == hot && filled(latest(), onBar) == hot, 8000);
        sensors.runLoopPass(); // the replay moves to its other value
        QCoreApplication::processEvents();
    }
    // Set PANELCAST_SCREENSHOT_DIR to keep the decoded frame and the two panels.
    const QString shots = qEnvironmentVariable("PANELCAST_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        QVERIFY(latest().save(shots + QStringLiteral("/readouts-device.png")));
        arcs.resize(375, 560);
        QVERIFY(arcs.grab().save(shots + QStringLiteral("/arc-panel.png")));
        bars.resize(375, 560);
        QVERIFY(bars.grab().save(shots + QStringLiteral("/bar-panel.png")));
    }
    scene.clearThread();
}

QTEST_MAIN(TestReadoutItemPanel)

#include "tst_readoutitempanel.moc"
