// The lighting-effect arithmetic shared by the segment scene and the panel's
// effect loop: what each 50 ms step produces.
#include "segeffect.h"

#include <QtTest>

namespace {

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

class tst_SegEffect : public QObject
{
    Q_OBJECT

private slots:
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

void tst_SegEffect::scaling_data()
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

void tst_SegEffect::scaling()
{
    QFETCH(uint, rgb);
    QFETCH(int, onoff);
    QFETCH(int, factor);
    QFETCH(uint, expected);
    QCOMPARE(hex(SegEffect::scaled(rgb, onoff, factor)), hex(expected));
}

void tst_SegEffect::breathing_data()
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

void tst_SegEffect::breathing()
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

void tst_SegEffect::gradientPhases_data()
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

void tst_SegEffect::gradientPhases()
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

void tst_SegEffect::rainbowZones_data()
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

void tst_SegEffect::rainbowZones()
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

void tst_SegEffect::temperatureLink_data()
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

void tst_SegEffect::temperatureLink()
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

QTEST_APPLESS_MAIN(tst_SegEffect)
#include "tst_segeffect.moc"
