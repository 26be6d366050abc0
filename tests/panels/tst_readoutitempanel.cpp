// The readout records on a scene: the ring and bar panels (their bytes and a
// theme of both streamed to an emulated display) and the gauge, chart, clock
// and 3D text records.
#include "disp3d.h"
#include "disp3dwidget.h"
#include "dispanalogclock.h"
#include "dispanalogclockwidget.h"
#include "disparcbox.h"
#include "disparcwidget.h"
#include "dispbarbox.h"
#include "dispchart.h"
#include "dispchartwidget.h"
#include "dispcircularprogressbar.h"
#include "dispgaugewidget.h"
#include "dispreadoutrecord.h"
#include "dispscene.h"
#include "dispsensormanager.h"
#include "dispstandardwidgetfactory.h"
#include "readoutfixtures.h"
#include "scenebuilder.h"
#include "testemulator.h"
#include "themetags.h"
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

const DispReadoutRecord::Kind kKinds[] = {DispReadoutRecord::Gauge, DispReadoutRecord::Chart,
                                          DispReadoutRecord::Clock, DispReadoutRecord::ThreeD};

// One widget of each kind with settings other than the defaults.
void fillScene(DispScene& scene, const QString& imageFolder)
{
    auto* gauge = new DispGaugeWidget(nullptr, nullptr);
    gauge->setObjectName(QStringLiteral("gauge_7"));
    gauge->setSubscription(3);
    scene.addItem(gauge);
    gauge->setPos(10, 20);

    auto* chart = new DispChartWidget(nullptr, nullptr);
    chart->setSubscription(5);
    chart->chart()->setStraight(true);
    chart->chart()->setLineColor(Qt::yellow);
    chart->chart()->setGradientColors(Qt::black, Qt::magenta);
    chart->contentWidget()->resize(300, 120);
    scene.addItem(chart);
    chart->setPos(0, 200);
    chart->setOpacity(0.5);

    auto* clock = new DispAnalogClockWidget;
    QImage hand(10, 80, QImage::Format_ARGB32);
    hand.fill(Qt::blue);
    hand.save(imageFolder + QStringLiteral("/blue hand.png"));
    clock->clock()->setMinuteHand(imageFolder + QStringLiteral("/blue hand.png"), 15);
    scene.addItem(clock);
    clock->setPos(5, 400);

    auto* text = new Disp3DWidget(nullptr, nullptr);
    text->setSubscription(6);
    text->view()->setAngles(0, 45, 10);
    text->view()->setColor(Qt::red);
    scene.addItem(text);
    text->setPos(100, 900);
    text->setVisible(false);
}

} // namespace

class TestReadoutItemPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void barRecordBytes();
    void themeOfArcAndBarStreamsAndFollowsReadings();
    void everyKindSurvivesSaveAndLoadTheGaugeInItsBytes();
    void malformedRecordsAddNothing_data();
    void malformedRecordsAddNothing();
};

void TestReadoutItemPanel::initTestCase()
{
    DispStandardWidgetFactory::install();
}

void TestReadoutItemPanel::barRecordBytes()
{
    PanelScene scene(480, 1920);
    dispbarbox panel;
    panel.attachScene(&scene);
    QCOMPARE(written(panel).toHex(), QByteArray("0d000000000000860000000000")); // hidden, no bars
    add(panel);
    panel.items().first()->setObjectName(QStringLiteral("progress_bar_9"));
    const QByteArray expected = QByteArray::fromHex(
        "d6000000 00000086 01 00000001" // length 214, tag 134, shown, one bar
        "0000001c00700072006f00670072006500730073005f006200610072005f0039"    // "progress_bar_9"
        "0000000000000000 0000000000000000 4059000000000000 4059000000000000" // 0, 0, 100 x 100
        "0000006c 00000101 0000000000000000 4000000000000000 4059000000000000 403e000000000000"
        "0000000000000000 01ffffa0a0a0a0a4a40000 01ffffffff000000000000 00000002" // the bar's attributes
        "000000000000000001ffff0000ffff00000000 3ff000000000000001ffffffffffff00000000"
        "3ff0000000000000 01"                   // opacity 1, visible
        "00000000 00000001 0000000b 0000000a"); // CPU Temperature, 1, 11, 10
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
    const auto manager = ReadoutFixtures::replayManagerAt(replay);
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

void TestReadoutItemPanel::everyKindSurvivesSaveAndLoadTheGaugeInItsBytes()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("theme/res")));
    const QString res = dir.filePath(QStringLiteral("theme/res"));
    PanelScene scene(480, 1920);
    fillScene(scene, dir.path());
    QList<QByteArray> saved;
    for (DispReadoutRecord::Kind kind : kKinds) {
        DispReadoutRecord record(kind);
        record.attachScene(&scene);
        saved.append(written(record, res));
        QCOMPARE(record.widgets().size(), 1);
        record.clearTheme();
        QVERIFY(record.widgets().isEmpty());
    }
    // The clock's own image went to the theme's res folder.
    QVERIFY(QFileInfo::exists(res + QStringLiteral("/blue hand.png")));
    const QByteArray gauge =
        QByteArray::fromHex("4c000000 00000087 01 00000001"        // length 76, tag 135, shown, one gauge
                            "0000000e00670061007500670065005f0037" // "gauge_7"
                            "4024000000000000 4034000000000000"    // (10, 20)
                            "4054000000000000 4054000000000000"    // 80 x 80
                            "3ff0000000000000 01 00000003");       // opacity 1, visible, CPU usage
    QCOMPARE(saved.first().toHex(' '), gauge.toHex(' '));

    PanelScene loaded(480, 1920);
    for (int i = 0; i < saved.size(); ++i) {
        DispReadoutRecord record(kKinds[i]);
        record.pointAtScene(&loaded);
        QVERIFY(read(record, saved[i], dir.filePath(QStringLiteral("theme"))));
        QCOMPARE(record.widgets().size(), 1);
        QCOMPARE(written(record, res).toHex(' '), saved[i].toHex(' '));
    }
    const auto first = [&loaded](DispReadoutRecord::Kind kind) {
        DispReadoutRecord record(kind);
        record.pointAtScene(&loaded);
        return record.widgets().value(0);
    };
    auto* chart = qobject_cast<DispChartWidget*>(first(DispReadoutRecord::Chart));
    QVERIFY(chart != nullptr);
    QCOMPARE(chart->subscription(), 5);
    QCOMPARE(chart->chart()->size(), QSize(300, 120));
    QCOMPARE(chart->opacity(), 0.5);
    auto* clock = qobject_cast<DispAnalogClockWidget*>(first(DispReadoutRecord::Clock));
    QVERIFY(clock != nullptr);
    QCOMPARE(clock->clock()->minutePivot(), 15);
    QCOMPARE(clock->clock()->minutePath(), res + QStringLiteral("/blue hand.png"));
    QCOMPARE(clock->pos(), QPointF(5, 400));
}

void TestReadoutItemPanel::malformedRecordsAddNothing_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("count beyond the bytes") << QByteArray::fromHex("0100000010");
    QTest::newRow("cut in the item") << QByteArray::fromHex("0100000001ffffffff40240000");
    QTest::newRow("unknown reading") << QByteArray::fromHex("0100000001ffffffff"
                                                            "00000000000000000000000000000000"
                                                            "00000000000000000000000000000000"
                                                            "3ff000000000000001"
                                                            "00000009");
}

void TestReadoutItemPanel::malformedRecordsAddNothing()
{
    QFETCH(QByteArray, body);
    PanelScene scene;
    DispReadoutRecord record(DispReadoutRecord::Gauge);
    record.pointAtScene(&scene);
    QVERIFY(!read(record, framed(GaugeTag, body)));
    QVERIFY(record.widgets().isEmpty());
}

QTEST_MAIN(TestReadoutItemPanel)
#include "tst_readoutitempanel.moc"
