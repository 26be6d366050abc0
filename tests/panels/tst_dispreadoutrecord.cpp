#include "disp3d.h"
#include "disp3dwidget.h"
#include "dispanalogclock.h"
#include "dispanalogclockwidget.h"
#include "dispchart.h"
#include "dispchartwidget.h"
#include "dispgaugewidget.h"
#include "dispreadoutrecord.h"
#include "dispscene.h"
#include "dispstandardwidgetfactory.h"
#include "scenebuilder.h"
#include "themetags.h"

#include <QtTest>

namespace {

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

using namespace SceneBuilder;

class TestDispReadoutRecord : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { DispStandardWidgetFactory::install(); }
    void gaugeRecordBytes();
    void everyKindSurvivesSaveAndLoad();
    void malformedRecordsAddNothing_data();
    void malformedRecordsAddNothing();
};

void TestDispReadoutRecord::gaugeRecordBytes()
{
    QTemporaryDir dir;
    PanelScene scene(480, 1920);
    fillScene(scene, dir.path());
    DispReadoutRecord record(DispReadoutRecord::Gauge);
    record.pointAtScene(&scene);
    QCOMPARE(record.themeTag(), 135);
    const QByteArray expected = QByteArray::fromHex("4c000000" // length 76
                                                    "00000087" // tag 135
                                                    "01"       // shown
                                                    "00000001" // one gauge
                                                    "0000000e0067006100750067006500"
                                                    "5f0037"           // "gauge_7"
                                                    "4024000000000000" // x 10
                                                    "4034000000000000" // y 20
                                                    "4054000000000000" // width 80
                                                    "4054000000000000" // height 80
                                                    "3ff0000000000000" // opacity 1
                                                    "01"               // visible
                                                    "00000003");       // CPU usage
    QCOMPARE(written(record, dir.path()).toHex(' '), expected.toHex(' '));
}

void TestDispReadoutRecord::everyKindSurvivesSaveAndLoad()
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

void TestDispReadoutRecord::malformedRecordsAddNothing_data()
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

void TestDispReadoutRecord::malformedRecordsAddNothing()
{
    QFETCH(QByteArray, body);
    PanelScene scene;
    DispReadoutRecord record(DispReadoutRecord::Gauge);
    record.pointAtScene(&scene);
    QVERIFY(!read(record, framed(GaugeTag, body)));
    QVERIFY(record.widgets().isEmpty());
}

QTEST_MAIN(TestDispReadoutRecord)

#include "tst_dispreadoutrecord.moc"
