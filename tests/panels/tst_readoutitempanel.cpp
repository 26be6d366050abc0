#include "disparcbox.h"
#include "disparcwidget.h"
#include "dispbarbox.h"
#include "dispcircularprogressbar.h"
#include "dispcolorselectbutton.h"
#include "dispprogressbar.h"
#include "dispprogressbarwidget.h"
#include "dispscene.h"
#include "dispsensormanager.h"
#include "dispstandardwidgetfactory.h"
#include "emuprocess.h"
#include "readoutfixtures.h"
#include "replaysensorlibrary.h"
#include "themerecordreader.h"
#include "themerecordwriter.h"
#include "transport.h"

#include <QComboBox>
#include <QGraphicsProxyWidget>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>

#include <memory>

namespace {

std::unique_ptr<ReadoutItemPanel> makePanel(const QString& kind)
{
    if (kind == QLatin1String("arc")) {
        return std::make_unique<disparcbox>();
    }
    return std::make_unique<dispbarbox>();
}

QByteArray writeRecord(ReadoutItemPanel& panel)
{
    ThemeRecordWriter writer(panel.themeTag());
    panel.writeThemeRecord(writer.stream(), QString());
    return writer.finish();
}

// The user picks colour with the named colour button.
void pick(ReadoutItemPanel& panel, const char* button, const QColor& colour)
{
    DispColorSelectButton::setColorDialog([colour](const QColor&, bool) { return colour; });
    panel.findChild<DispColorSelectButton*>(QLatin1String(button))->click();
}

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
    void itemsFollowTheStripAndTheScene_data();
    void itemsFollowTheStripAndTheScene();
    void barRecordBytes();
    void recordsSurviveSaveAndLoad_data();
    void recordsSurviveSaveAndLoad();
    void controlsEditTheCurrentItem();
    void themeOfArcAndBarStreamsAndFollowsReadings();
};

void TestReadoutItemPanel::itemsFollowTheStripAndTheScene_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("arc") << "arc";
    QTest::newRow("bar") << "bar";
}

void TestReadoutItemPanel::itemsFollowTheStripAndTheScene()
{
    QFETCH(QString, kind);
    DispScene scene;
    scene.setSceneRect(0, 0, 480, 1920);
    const auto panel = makePanel(kind);
    panel->attachScene(&scene);
    QVERIFY(!panel->showAll());
    add(*panel, 21); // the 21st does nothing
    QCOMPARE(panel->items().size(), ReadoutItemPanel::kMaxItems);
    QVERIFY(panel->showAll());
    QCOMPARE(panel->currentItem(), panel->items().last());

    // Selecting a widget on the scene selects its item.
    DispWidget* third = panel->items().at(2);
    emit scene.currentSelectItem(third->contentProxy());
    QCOMPARE(panel->currentItem(), third);
    panel->deleteCurrentItem();
    QCOMPARE(panel->items().size(), 19);
    QCOMPARE(panel->currentItem(), panel->items().first());

    // The scene deleting a widget drops its item.
    DispWidget* fifth = panel->items().at(4);
    emit scene.deleteSelectItem(fifth);
    QVERIFY(!panel->items().contains(fifth));

    panel->setShowAll(false);
    QVERIFY(!panel->items().first()->isVisible());

    // Another device's scene and back: the items are still there.
    DispScene other;
    panel->attachScene(&other);
    QVERIFY(panel->items().isEmpty());
    panel->attachScene(&scene);
    QCOMPARE(panel->items().size(), 18);

    panel->clearTheme();
    QVERIFY(panel->items().isEmpty());
    QCOMPARE(panel->currentItem(), nullptr);
    // Controls without a current item change nothing.
    panel->findChild<QSlider*>(QStringLiteral("opacity"))->setValue(10);
    panel->findChild<QComboBox*>(QStringLiteral("selectItem"))->setCurrentIndex(5);
}

void TestReadoutItemPanel::barRecordBytes()
{
    DispScene scene;
    scene.setSceneRect(0, 0, 480, 1920);
    dispbarbox panel;
    panel.attachScene(&scene);
    QCOMPARE(writeRecord(panel).toHex(), QByteArray("0d0000000000008600"
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
    QCOMPARE(writeRecord(panel).toHex(' '), expected.toHex(' '));
}

void TestReadoutItemPanel::recordsSurviveSaveAndLoad_data()
{
    itemsFollowTheStripAndTheScene_data();
}

void TestReadoutItemPanel::recordsSurviveSaveAndLoad()
{
    QFETCH(QString, kind);
    DispScene scene;
    scene.setSceneRect(0, 0, 480, 1920);
    const auto panel = makePanel(kind);
    panel->attachScene(&scene);
    add(*panel, 3);
    panel->findChild<QComboBox*>(QStringLiteral("selectItem"))->setCurrentIndex(18);
    panel->findChild<QSlider*>(QStringLiteral("opacity"))->setValue(35);
    panel->items().at(1)->setPos(40, 300);
    pick(*panel, "foreColor", Qt::blue);
    const QByteArray saved = writeRecord(*panel);

    DispScene loaded;
    loaded.setSceneRect(0, 0, 480, 1920);
    const auto reader = makePanel(kind);
    reader->attachScene(&loaded);
    ThemeRecordReader record(saved);
    reader->readThemeRecord(record, QString());
    QVERIFY(record.ok());
    QCOMPARE(reader->items().size(), 3);
    QCOMPARE(reader->currentItem(), reader->items().last()); // the last one read
    QCOMPARE(reader->items().last()->opacity(), 0.35);
    QCOMPARE(reader->items().at(1)->pos(), QPointF(40, 300));
    QCOMPARE(reader->findChild<QComboBox*>(QStringLiteral("selectItem"))->currentIndex(), 18);
    QCOMPARE(writeRecord(*reader).toHex(' '), saved.toHex(' '));

    // A record cut short adds nothing more than the items before the cut.
    DispScene cut;
    const auto partial = makePanel(kind);
    partial->attachScene(&cut);
    ThemeRecordReader shortRecord(saved.left(saved.size() - 3));
    partial->readThemeRecord(shortRecord, QString());
    QVERIFY(!shortRecord.ok());
    QCOMPARE(partial->items().size(), 2);
}

void TestReadoutItemPanel::controlsEditTheCurrentItem()
{
    DispScene scene;
    scene.setSceneRect(0, 0, 480, 1920);
    disparcbox arcs;
    arcs.attachScene(&scene);
    add(arcs);
    auto* ring = qobject_cast<DispArcWidget*>(arcs.currentItem())->ring();
    pick(arcs, "foreColor", Qt::blue);
    pick(arcs, "gradientColor", Qt::cyan);
    pick(arcs, "foreColor", Qt::magenta);
    QCOMPARE(ring->gradientStops(), (QGradientStops{{1.0, Qt::magenta}, {0.0, Qt::cyan}}));
    arcs.findChild<QSpinBox*>(QStringLiteral("size"))->setValue(150);
    QCOMPARE(ring->size(), QSize(150, 150));
    arcs.findChild<QSlider*>(QStringLiteral("opacity"))->setValue(35);
    bool label = false;
    for (const QLabel* shown : arcs.findChildren<QLabel*>()) {
        label = label || shown->text() == QLatin1String("35%");
    }
    QVERIFY(label);
    QCOMPARE(arcs.currentItem()->opacity(), 0.35);

    dispbarbox bars;
    bars.attachScene(&scene);
    add(bars);
    DispProgressBar* bar = qobject_cast<DispProgressBarWidget*>(bars.currentItem())->bar();
    bars.findChild<QComboBox*>(QStringLiteral("direction"))->setCurrentIndex(3);
    QCOMPARE(bar->rotationInt(), 270);
    QCOMPARE(bar->lengthInt(), 100);
    bars.findChild<QSpinBox*>(QStringLiteral("length"))->setValue(10);
    bars.findChild<QSpinBox*>(QStringLiteral("height"))->setValue(40);
    QCOMPARE(bar->size(), QSize(40, 40));
}

void TestReadoutItemPanel::themeOfArcAndBarStreamsAndFollowsReadings()
{
    QProcess help;
    help.start(qEnvironmentVariable("PANELCAST_EMU"), {"--help"});
    if (!help.waitForFinished(8000) || !help.readAllStandardOutput().contains("--link")) {
        QSKIP("panelcast-emu cannot emulate a device here");
    }
    // The theme: a 200-pixel ring and a 400-pixel bar, both on CPU Temperature.
    QByteArray arcRecord;
    QByteArray barRecord;
    {
        DispScene editing;
        editing.setSceneRect(0, 0, 480, 480);
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
        arcRecord = writeRecord(arcs);
        barRecord = writeRecord(bars);
    }

    // The device: an emulated 480 x 480 display, readings 45 then 88 degrees.
    const QString replay = qEnvironmentVariable("PANELCAST_TEST_DATA") + "/scene/cpu-temperature.json";
    const auto manager = ReadoutFixtures::replayManager(replay);
    DispSensorManager& sensors = *manager;
    QTemporaryDir dir;
    EmuProcess emu;
    const QString link = dir.filePath(QStringLiteral("ttyREADOUT"));
    QVERIFY2(
        emu.start({"--link", link, "--size", "480x480", "--out", dir.filePath("out"), "--png-every", "1"}),
        qPrintable(emu.errorText()));
    DispScene scene(&sensors);
    QSignalSpy found(scene.transport(), &Transport::searchDeviceFinish);
    scene.transport()->openDevice(link, 0x1F3A, 0x0007);
    QVERIFY(found.wait(8000));
    scene.setSceneSize(480, 480);
    disparcbox arcs;
    dispbarbox bars;
    arcs.attachScene(&scene);
    bars.attachScene(&scene);
    ThemeRecordReader arcReader(arcRecord);
    ThemeRecordReader barReader(barRecord);
    arcs.readThemeRecord(arcReader, QString());
    bars.readThemeRecord(barReader, QString());
    scene.clearSelection();
    auto* ring = qobject_cast<DispArcWidget*>(arcs.items().value(0));
    QVERIFY(ring != nullptr && bars.items().size() == 1);

    // 120 degrees clockwise from 12 on the ring, and 35 % along the bar: a
    // reading of 45 (of 200) reaches neither, 88 both.
    const QPoint onRing(120 + int(85 * std::sin(M_PI * 2 / 3)), 120 - int(85 * std::cos(M_PI * 2 / 3)));
    // The bar lies across the middle of its square widget.
    const QPoint onBar = (bars.items().first()->pos() + QPointF(2 + 0.35 * 396, 200)).toPoint();
    const auto latest = [&dir] { return QImage(dir.filePath(QStringLiteral("out/latest.png"))); };
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
