#include "disparcbox.h"
#include "disparcwidget.h"
#include "dispbarbox.h"
#include "dispcircularprogressbar.h"
#include "dispcolorselectbutton.h"
#include "dispprogressbar.h"
#include "dispprogressbarwidget.h"
#include "dispscene.h"
#include "dispstandardwidgetfactory.h"
#include "themerecordreader.h"
#include "themerecordwriter.h"

#include <QComboBox>
#include <QGraphicsProxyWidget>
#include <QLabel>
#include <QPushButton>
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

QTEST_MAIN(TestReadoutItemPanel)

#include "tst_readoutitempanel.moc"
