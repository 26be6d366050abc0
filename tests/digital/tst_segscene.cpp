// The segment scene: the numbers it shows and the lighting effect applied
// to its items, checked on rendered pixels.
#include "pixels.h"
#include "segnumber.h"
#include "segscene.h"

#include <QGraphicsSimpleTextItem>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QColor kUnlit(15, 15, 15);

SensorReading record(const char* sensor, int cls, const char* label, int sub, int type, double value)
{
    SensorReading r;
    r.sensorName = QString::fromLatin1(sensor);
    r.sensorClass = cls;
    r.label = QString::fromLatin1(label);
    r.subClass = sub;
    r.readingType = type;
    r.value = value;
    return r;
}

QVector<SensorReading> readings(double cpuTemp, double cpuUsage, double gpuTemp, double gpuUsage)
{
    return {
        record("CPU [#0]: DTS", 11, "Core Max", 10, 1, cpuTemp),
        record("CPU [#0]", 11, "Total CPU Usage", 10, 7, cpuUsage),
        record("GPU [#0]", 13, "GPU Temperature", 10, 1, gpuTemp),
        record("GPU [#0]", 13, "GPU D3D Usage", 101, 7, gpuUsage),
    };
}

const SegReadings::Machine kIntel{true, false};

// The scene pixel inside segment `segment` of a digit.
QColor segmentPixel(const QImage& image, int row, int position, int segment)
{
    const QPointF inside[SegNumber::kSegments] = {{65, 5},  {7, 45},   {123, 45}, {65, 90},
                                                  {7, 135}, {65, 173}, {123, 135}};
    const QPointF origin(40 + 100 * position, row == 0 ? 100 : 260);
    return image.pixelColor((origin + inside[segment] * SegNumber::kScale).toPoint());
}

} // namespace

class tst_SegScene : public QObject
{
    Q_OBJECT

private slots:
    void renderedDigits();
    void effectColoursAllItems_data();
    void effectColoursAllItems();
    void timerStepsTheEffect();
};

void tst_SegScene::renderedDigits()
{
    SegScene scene(nullptr);
    scene.updateFromCatalogue(readings(7, 105, 0, 0), kIntel);
    const QImage image = Pixels::renderScene(scene);

    QCOMPARE(image.pixelColor(5, 5), QColor(Qt::black));
    // Temperature 7: blank, blank, 7.
    for (int s = 0; s < SegNumber::kSegments; ++s) {
        QCOMPARE(segmentPixel(image, 0, 0, s), kUnlit);
        QCOMPARE(segmentPixel(image, 0, 1, s), kUnlit);
    }
    QCOMPARE(segmentPixel(image, 0, 2, SegNumber::Top), QColor(Qt::red));
    QCOMPARE(segmentPixel(image, 0, 2, SegNumber::UpperRight), QColor(Qt::red));
    QCOMPARE(segmentPixel(image, 0, 2, SegNumber::Middle), kUnlit);
    QCOMPARE(segmentPixel(image, 0, 2, SegNumber::Bottom), kUnlit);
    // Usage 105: 1, 0, 5.
    QCOMPARE(segmentPixel(image, 1, 0, SegNumber::Top), kUnlit);
    QCOMPARE(segmentPixel(image, 1, 0, SegNumber::LowerRight), QColor(Qt::red));
    QCOMPARE(segmentPixel(image, 1, 1, SegNumber::Middle), kUnlit);
    QCOMPARE(segmentPixel(image, 1, 1, SegNumber::LowerLeft), QColor(Qt::red));
    QCOMPARE(segmentPixel(image, 1, 2, SegNumber::UpperRight), kUnlit);
    QCOMPARE(segmentPixel(image, 1, 2, SegNumber::UpperLeft), QColor(Qt::red));

    // Some red text where the labels are.
    const auto hasRed = [&](const QRect& area) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 128 && c.green() < 60 && c.blue() < 60) {
                    return true;
                }
            }
        }
        return false;
    };
    QVERIFY(hasRed(QRect(40, 65, 40, 25)));
    QVERIFY(hasRed(QRect(345, 98, 40, 30)));
    QVERIFY(hasRed(QRect(345, 355, 30, 30)));
}

void tst_SegScene::effectColoursAllItems_data()
{
    QTest::addColumn<uint>("type");
    QTest::addColumn<int>("onoff");
    QTest::addColumn<uint>("color");
    QTest::addColumn<uint>("light");
    QTest::addColumn<int>("temperature");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("static at half light") << 0u << 1 << 0xFF7D00u << 50u << 20 << QColor(127, 62, 0);
    QTest::newRow("off") << 0u << 0 << 0xFFFFFFu << 100u << 20 << QColor(0, 0, 0);
    QTest::newRow("gradient starts at red") << 2u << 1 << 0x0000FFu << 100u << 20 << QColor(255, 0, 0);
    QTest::newRow("temperature link, 75") << 4u << 1 << 0x0000FFu << 100u << 75 << QColor(255, 127, 0);
}

void tst_SegScene::effectColoursAllItems()
{
    QFETCH(uint, type);
    QFETCH(int, onoff);
    QFETCH(uint, color);
    QFETCH(uint, light);
    QFETCH(int, temperature);
    QFETCH(QColor, expected);

    SegScene scene(nullptr);
    scene.updateFromCatalogue(readings(temperature, 88, 0, 0), kIntel);
    scene.updateEffectParam(type, onoff, color, light, 0, 0.0);
    scene.stepEffect();

    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(scene.digit(row, i)->litColor(), expected);
        }
    }
    QCOMPARE(scene.sourceLabel()->brush().color(), expected);
    QCOMPARE(scene.temperatureUnitLabel()->brush().color(), expected);
    QCOMPARE(scene.usageUnitLabel()->brush().color(), expected);
    // And on screen: the ones digit of 88 lights its middle segment.
    QCOMPARE(segmentPixel(Pixels::renderScene(scene), 1, 2, SegNumber::Middle), expected);
}

void tst_SegScene::timerStepsTheEffect()
{
    SegScene scene(nullptr);
    scene.updateEffectParam(0, 1, 0x123456, 100, 0, 0.0);
    QTRY_COMPARE_WITH_TIMEOUT(scene.digit(0, 2)->litColor(), QColor(0x123456), 1000);
}

QTEST_MAIN(tst_SegScene)
#include "tst_segscene.moc"
