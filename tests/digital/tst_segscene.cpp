// The seven-segment panel: the digits a number shows, the segments each digit
// lights, which records feed it, the lighting effects step by step (each step
// is 50 ms) and the effect applied to its items, checked on rendered pixels.
#include "pixels.h"
#include "segdigits.h"
#include "segeffect.h"
#include "segnumber.h"
#include "segreadings.h"
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

// A point well inside each segment, in digit coordinates.
const QPointF kInside[SegNumber::kSegments] = {{65, 5},  {7, 45},   {123, 45}, {65, 90},
                                               {7, 135}, {65, 173}, {123, 135}};

// The scene pixel inside segment `segment` of a digit.
QColor segmentPixel(const QImage& image, int row, int position, int segment)
{
    const QPointF origin(40 + 100 * position, row == 0 ? 100 : 260);
    return image.pixelColor((origin + kInside[segment] * SegNumber::kScale).toPoint());
}

// A catalogue with decoys ahead of the records each rule should find.
QVector<SensorReading> catalogue()
{
    return {
        record("CPU [#0]: Intel Core i7", 11, "Core Max", 10, 1, 11),          // 0 CPU temp, no DTS
        record("CPU [#0]: Intel Core i7: DTS", 11, "Core Max", 10, 1, 61.9),   // 1 CPU temp, DTS
        record("CPU [#0]: Intel Core i7", 11, "Core 0 Usage", 10, 7, 12),      // 2 CPU usage, not total
        record("CPU [#0]: Intel Core i7", 11, "Total CPU Usage", 10, 7, 23.7), // 3 CPU usage, total
        record("GPU [#0]: NVIDIA", 13, "GPU Temperature", 10, 1, 48.2),        // 4 GPU temp, sub 10
        record("GPU [#0]: AMD Radeon", 13, "GPU Temperature", 101, 1, 55.5),   // 5 GPU temp, sub 101
        record("GPU [#0]: NVIDIA", 13, "GPU Core Load", 101, 7, 5),            // 6 GPU usage, not D3D
        record("GPU [#0]: NVIDIA", 13, "GPU D3D Usage", 101, 7, 77.9),         // 7 GPU usage, D3D
        record("CPU [#0]: Intel Core i7: DTS", 11, "GPU Temp", 10, 1, 99),     // 8 igpu decoy: DTS
        record("CPU [#0]: Intel Core i7: Enhanced", 11, "GPU Temperature", 10, 1, 44), // 9 igpu temp
        record("CPU [#0]: Intel Core i7: Enhanced", 11, "GPU D3D Usage", 101, 7, 31),  // 10 igpu usage
    };
}

SegEffectParams params(quint32 type, qint32 onoff = 1, quint32 color = 0xFF0000, quint32 light = 100)
{
    SegEffectParams p;
    p.type = type;
    p.onoff = onoff;
    p.color = color;
    p.light = light;
    return p;
}

// Steps an effect n times and returns the first colour of every step.
QVector<uint32_t> run(SegEffect* effect, int steps, int temperature = 0)
{
    QVector<uint32_t> colours;
    for (int i = 0; i < steps; ++i) {
        colours.append(effect->step(temperature).colours[0]);
    }
    return colours;
}

QString hex(uint32_t rgb)
{
    return QStringLiteral("%1").arg(rgb, 6, 16, QLatin1Char('0'));
}

} // namespace

class tst_SegScene : public QObject
{
    Q_OBJECT

private slots:
    void digits_data();
    void digits();
    void segmentsOfEachDigit_data();
    void segmentsOfEachDigit();
    void selection_data();
    void selection();
    void missingRecordKeepsPreviousValue_data();
    void missingRecordKeepsPreviousValue();
    void renderedDigits();
    void effectColoursAllItems_data();
    void effectColoursAllItems();
    void timerStepsTheEffect();
    void scaling_data();
    void scaling();
    void breathing_data();
    void breathing();
    void gradientPhases_data();
    void gradientPhases();
    void rainbowZones_data();
    void rainbowZones();
    void temperatureLink_data();
    void temperatureLink();
};

void tst_SegScene::digits_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QVector<int>>("expected");

    constexpr int B = SegDigits::kBlank;
    QTest::newRow("0 shows a single 0") << 0 << QVector<int>{B, B, 0};
    QTest::newRow("10") << 10 << QVector<int>{B, 1, 0};
    QTest::newRow("42") << 42 << QVector<int>{B, 4, 2};
    QTest::newRow("105") << 105 << QVector<int>{1, 0, 5};
    QTest::newRow("999") << 999 << QVector<int>{9, 9, 9};
    QTest::newRow("1000 shows 999") << 1000 << QVector<int>{9, 9, 9};
    QTest::newRow("largest int shows 999") << std::numeric_limits<int>::max() << QVector<int>{9, 9, 9};
    QTest::newRow("-5 shows 0") << -5 << QVector<int>{B, B, 0};
    QTest::newRow("smallest int shows 0") << std::numeric_limits<int>::min() << QVector<int>{B, B, 0};
}

void tst_SegScene::digits()
{
    QFETCH(int, value);
    QFETCH(QVector<int>, expected);
    const std::array<int, 3> shown = SegDigits::digits(value);
    QCOMPARE(QVector<int>(shown.begin(), shown.end()), expected);
}

void tst_SegScene::segmentsOfEachDigit_data()
{
    QTest::addColumn<int>("digit");
    QTest::addColumn<QString>(
        "lit"); // per segment: top, upper left, upper right, middle, lower left, bottom, lower right

    QTest::newRow("0") << 0 << "1110111";
    QTest::newRow("1") << 1 << "0010001";
    QTest::newRow("2") << 2 << "1011110";
    QTest::newRow("3") << 3 << "1011011";
    QTest::newRow("4") << 4 << "0111001";
    QTest::newRow("5") << 5 << "1101011";
    QTest::newRow("6") << 6 << "1101111";
    QTest::newRow("7") << 7 << "1010001";
    QTest::newRow("8") << 8 << "1111111";
    QTest::newRow("9") << 9 << "1111011";
    QTest::newRow("blank") << 10 << "0000000";
    QTest::newRow("out of range is blank") << 11 << "0000000";
    QTest::newRow("negative is blank") << -1 << "0000000";
}

void tst_SegScene::segmentsOfEachDigit()
{
    QFETCH(int, digit);
    QFETCH(QString, lit);

    QGraphicsScene scene(0, 0, 180, 180);
    auto* number = new SegNumber;
    scene.addItem(number);
    number->setNumber(digit);
    const QImage image = Pixels::renderScene(scene, Qt::black);
    for (int s = 0; s < SegNumber::kSegments; ++s) {
        const bool on = lit[s] == QLatin1Char('1');
        QCOMPARE(SegNumber::isLit(digit, s), on);
        QCOMPARE(image.pixelColor((kInside[s] * SegNumber::kScale).toPoint()), on ? QColor(Qt::red) : kUnlit);
    }
    // Between the segments the background shows.
    QCOMPARE(image.pixelColor((QPointF(65, 45) * SegNumber::kScale).toPoint()), QColor(Qt::black));
}

void tst_SegScene::selection_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<bool>("intel");
    QTest::addColumn<bool>("igpu");
    QTest::addColumn<int>("temperatureIndex");
    QTest::addColumn<int>("usageIndex");

    QTest::newRow("Intel CPU: DTS sensor, Total CPU Usage label") << 0 << true << false << 1 << 3;
    QTest::newRow("AMD CPU: first records of the class") << 0 << false << false << 0 << 2;
    QTest::newRow("Intel GPU: class 13 sub-class 10, D3D label") << 1 << true << false << 4 << 7;
    QTest::newRow("AMD GPU: sub-class 101, any usage label") << 1 << false << false << 5 << 6;
    QTest::newRow("Intel integrated GPU: class 11, not DTS") << 1 << true << true << 0 << 10;
    // The integrated-GPU flag only counts with an Intel CPU.
    QTest::newRow("AMD with the flag set") << 1 << false << true << 5 << 6;
}

void tst_SegScene::selection()
{
    QFETCH(int, source);
    QFETCH(bool, intel);
    QFETCH(bool, igpu);
    QFETCH(int, temperatureIndex);
    QFETCH(int, usageIndex);

    const SegReadings::Machine machine{intel, igpu};
    QCOMPARE(SegReadings::temperatureRecord(catalogue(), source, machine), temperatureIndex);
    QCOMPARE(SegReadings::usageRecord(catalogue(), source, machine), usageIndex);
}

void tst_SegScene::missingRecordKeepsPreviousValue_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("expected");

    QTest::newRow("no record") << 50.0 << -1 << 17;
    QTest::newRow("index past the end") << 50.0 << 5 << 17;
    QTest::newRow("truncates") << 61.9 << 0 << 61;
    QTest::newRow("truncates toward zero") << -2.7 << 0 << -2;
    QTest::newRow("not a number") << std::nan("") << 0 << 17;
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 0 << 17;
    QTest::newRow("huge is bounded") << 1e300 << 0 << 1000000000;
}

void tst_SegScene::missingRecordKeepsPreviousValue()
{
    QFETCH(double, value);
    QFETCH(int, index);
    QFETCH(int, expected);
    const QVector<SensorReading> one = {record("x", 11, "y", 10, 1, value)};
    QCOMPARE(SegReadings::wholeValue(one, index, 17), expected);
}

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

void tst_SegScene::scaling_data()
{
    QTest::addColumn<uint>("rgb");
    QTest::addColumn<int>("onoff");
    QTest::addColumn<int>("factor");
    QTest::addColumn<uint>("expected");

    QTest::newRow("full") << 0xFF7D00u << 1 << 100 << 0xFF7D00u;
    QTest::newRow("half orange") << 0xFF7D00u << 1 << 50 << 0x7F3E00u;
    QTest::newRow("off") << 0xFFFFFFu << 0 << 100 << 0x000000u;
    QTest::newRow("zero light") << 0xFFFFFFu << 1 << 0 << 0x000000u;
    QTest::newRow("one percent truncates") << 0xC86432u << 1 << 1 << 0x020100u;
    QTest::newRow("channels stay apart") << 0x010203u << 1 << 99 << 0x000102u;
    QTest::newRow("over 100 is capped at 255") << 0xFF8000u << 1 << 150 << 0xFFC000u;
}

void tst_SegScene::scaling()
{
    QFETCH(uint, rgb);
    QFETCH(int, onoff);
    QFETCH(int, factor);
    QFETCH(uint, expected);
    QCOMPARE(hex(SegEffect::scaled(rgb, onoff, factor)), hex(expected));
}

void tst_SegScene::breathing_data()
{
    QTest::addColumn<int>("light");
    QTest::addColumn<QVector<int>>("levels"); // the level of each step

    // Colour 0x640000 (red 100) makes the red channel equal the level.
    // Light 100: step 6; down to 4, -2 turns into 6 going up, 102 clamps to
    // 100 and goes idle, the idle step sends full brightness and restarts.
    QVector<int> full = {100};
    for (int level = 94; level >= 4; level -= 6) {
        full.append(level);
    }
    for (int level = 6; level <= 96; level += 6) {
        full.append(level);
    }
    full << 100 << 100 << 94;
    QTest::newRow("light 100, step 6") << 100 << full;

    // Light 10: step 1.
    QVector<int> dim = {10};
    for (int level = 9; level >= 0; --level) {
        dim.append(level);
    }
    for (int level = 1; level <= 10; ++level) {
        dim.append(level);
    }
    dim << 10 << 10 << 9;
    QTest::newRow("light 10, step 1") << 10 << dim;

    // Light 14: 14 / 15 is 0, raised to 1.
    QTest::newRow("light 14, step 1") << 14 << QVector<int>{14, 13, 12, 11};
    // Light 45: step 3.
    QTest::newRow("light 45, step 3") << 45 << QVector<int>{45, 42, 39, 36};
}

void tst_SegScene::breathing()
{
    QFETCH(int, light);
    QFETCH(QVector<int>, levels);

    SegEffect effect;
    effect.setParams(params(SegEffectParams::Breath, 1, 0x640000, quint32(light)));
    QCOMPARE(SegEffect::breathStep(light), qMax(1, light / 15));
    for (int i = 0; i < levels.size(); ++i) {
        const SegEffect::Frame frame = effect.step(0);
        QVERIFY(frame.send);
        QVERIFY(!frame.quad);
        // Red 100 scaled by the level is the level itself.
        QCOMPARE(int(frame.colours[0] >> 16), levels[i]);
        QCOMPARE(int(frame.colours[0] & 0xFFFF), 0);
    }
}

void tst_SegScene::gradientPhases_data()
{
    QTest::addColumn<int>("steps");
    QTest::addColumn<uint>("expected");
    // The first step starts at red; every later step moves one channel by 8
    // (32 steps a phase).
    QTest::newRow("start") << 1 << 0xFF0000u;
    QTest::newRow("green rising") << 2 << 0xFF0800u;
    QTest::newRow("green clamps, phase 1") << 33 << 0xFFFF00u;
    QTest::newRow("red falling") << 34 << 0xF7FF00u;
    QTest::newRow("red clamps, phase 2") << 65 << 0x00FF00u;
    QTest::newRow("blue clamps, phase 3") << 97 << 0x00FFFFu;
    QTest::newRow("green falls, phase 4") << 129 << 0x0000FFu;
    QTest::newRow("red rises, phase 5") << 161 << 0xFF00FFu;
    QTest::newRow("blue falling") << 162 << 0xFF00F7u;
    QTest::newRow("sixth phase ends at red") << 1 + 6 * 32 << 0xFF0000u;
    QTest::newRow("idle step: red again") << 2 + 6 * 32 << 0xFF0000u;
    QTest::newRow("walking again") << 3 + 6 * 32 << 0xFF0800u;
}

void tst_SegScene::gradientPhases()
{
    QFETCH(int, steps);
    QFETCH(uint, expected);

    SegEffect effect;
    effect.setParams(params(SegEffectParams::Gradient));
    const QVector<uint32_t> colours = run(&effect, steps);
    QCOMPARE(hex(colours.last()), hex(expected));

    // Brightness scales the walking colour too.
    SegEffect dim;
    dim.setParams(params(SegEffectParams::Gradient, 1, 0, 50));
    QCOMPARE(hex(run(&dim, steps).last()), hex(SegEffect::scaled(expected, 1, 50)));
}

void tst_SegScene::rainbowZones_data()
{
    QTest::addColumn<int>("steps");
    QTest::addColumn<QStringList>("zones");

    QTest::newRow("start") << 1 << QStringList{"ff6000", "ff4000", "ff2000", "ff0000"};
    QTest::newRow("one step of 12") << 2 << QStringList{"ff6c00", "ff4c00", "ff2c00", "ff0c00"};
    // Zone 1 reaches 255 after 14 steps (96 + 14 * 12 > 255), zone 4 after 22.
    QTest::newRow("zone 1 turns") << 15 << QStringList{"ffff00", "ffe800", "ffc800", "ffa800"};
    QTest::newRow("zone 1 falls") << 16 << QStringList{"f3ff00", "fff400", "ffd400", "ffb400"};
    QTest::newRow("zone 4 turns") << 23 << QStringList{"9fff00", "b7ff00", "dbff00", "ffff00"};
}

void tst_SegScene::rainbowZones()
{
    QFETCH(int, steps);
    QFETCH(QStringList, zones);

    SegEffect effect;
    effect.setParams(params(SegEffectParams::Rainbow));
    SegEffect::Frame frame;
    for (int i = 0; i < steps; ++i) {
        frame = effect.step(0);
    }
    QVERIFY(frame.send);
    QVERIFY(frame.quad);
    QStringList got;
    for (uint32_t colour : frame.colours) {
        got.append(hex(colour));
    }
    QCOMPARE(got, zones);
}

void tst_SegScene::temperatureLink_data()
{
    QTest::addColumn<int>("temperature");
    QTest::addColumn<uint>("expected");
    const std::pair<int, uint> rows[] = {{-5, 0x00FFFF}, {29, 0x00FFFF}, {30, 0x00FF00}, {49, 0x00FF00},
                                         {50, 0xFFFF00}, {69, 0xFFFF00}, {70, 0xFF7F00}, {89, 0xFF7F00},
                                         {90, 0xFF0000}, {250, 0xFF0000}};
    for (const auto& [temperature, expected] : rows) {
        QTest::addRow("%d", temperature) << temperature << expected;
    }
}

void tst_SegScene::temperatureLink()
{
    QFETCH(int, temperature);
    QFETCH(uint, expected);

    SegEffect effect;
    effect.setParams(params(SegEffectParams::TempLinkage, 1, 0x123456, 100));
    const SegEffect::Frame frame = effect.step(temperature);
    QVERIFY(frame.send);
    QVERIFY(!frame.quad);
    QCOMPARE(hex(frame.colours[0]), hex(expected));

    effect.setParams(params(SegEffectParams::TempLinkage, 1, 0x123456, 20));
    QCOMPARE(hex(effect.step(temperature).colours[0]), hex(SegEffect::scaled(expected, 1, 20)));
}

QTEST_MAIN(tst_SegScene)
#include "tst_segscene.moc"
