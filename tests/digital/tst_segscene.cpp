// The seven-segment panel: the digits a number shows, the segments each digit
// lights, which records feed it, the lighting effects step by step (each step
// is 50 ms), the effect applied to its items, checked on rendered pixels, and
// the packet each step sends, on a pseudo-terminal and through panelcast-emu.
#include "cdctransport.h"
#include "pixels.h"
#include "ptypair.h"
#include "segdigits.h"
#include "segeffect.h"
#include "segnumber.h"
#include "segparaminfo.h"
#include "segreadings.h"
#include "segscene.h"
#include "sensorfixtures.h"
#include "testemulator.h"
#include "testfiles.h"

#include <QGraphicsSimpleTextItem>
#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest>

namespace {

using TestFiles::hex;

const QColor kUnlit(15, 15, 15);

SensorReading record(const char* sensor, int cls, const char* label, int sub, int type, double value)
{
    return SensorReading{0, sensor, QString(), cls, label, sub, type, value, QString()};
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

QString hex(uint32_t rgb)
{
    return QStringLiteral("%1").arg(rgb, 6, 16, QLatin1Char('0'));
}

constexpr int kTimeoutMs = 5000;

// Waits (running the event loop, so the effect keeps sending) until `count`
// more packets than `after` are logged.
QList<QJsonObject> waitForPackets(const TestEmulator& emu, int after, int count)
{
    QList<QJsonObject> entries;
    QDeadlineTimer deadline(kTimeoutMs);
    while ((entries = emu.log()).size() < after + count && !deadline.hasExpired()) {
        QTest::qWait(20);
    }
    return entries.mid(after, count);
}

// The raw packet a log entry stands for.
QByteArray packetOf(const QJsonObject& entry)
{
    QByteArray raw = hex("5AA5");
    raw.append(char(entry.value("mode").toInt()));
    for (const QJsonValue& colour : entry.value("colours").toArray()) {
        raw.append(QByteArray::fromHex(colour.toString().mid(1).toLatin1()));
    }
    raw.append(char(entry.value("temperature").toInt() ^ 0x02));
    raw.append(char(entry.value("usage").toInt() ^ 0x02));
    return raw;
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
    void timerStepsTheEffect();
    void effectSteps();
    void effectColoursThePacketAndEveryItem_data();
    void effectColoursThePacketAndEveryItem();
    void openFailureLeavesItClosed();
    void destructionClosesThePortAndStopsSending();
    void endToEndWithEmulator();
};

void tst_SegScene::digits_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QVector<int>>("expected");

    constexpr int B = SegDigits::kBlank;
    QTest::newRow("0 shows a single 0") << 0 << QVector<int>{B, B, 0};
    QTest::newRow("10") << 10 << QVector<int>{B, 1, 0};
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
    // Per segment: top, upper left, upper right, middle, lower left, bottom, lower right.
    QTest::addColumn<QString>("lit");
    const QStringList digits = {"1110111", "0010001", "1011110", "1011011", "0111001",
                                "1101011", "1101111", "1010001", "1111111", "1111011"};
    for (int digit = 0; digit < digits.size(); ++digit) {
        QTest::addRow("%d", digit) << digit << digits.at(digit);
    }
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
    // Temperature 7 as blank, blank, 7; usage 105 as 1, 0, 5.
    constexpr int B = SegDigits::kBlank;
    const int shown[2][3] = {{B, B, 7}, {1, 0, 5}};
    for (int row = 0; row < 2; ++row) {
        for (int position = 0; position < 3; ++position) {
            for (int s = 0; s < SegNumber::kSegments; ++s) {
                const bool lit = SegNumber::isLit(shown[row][position], s);
                QCOMPARE(segmentPixel(image, row, position, s), lit ? QColor(Qt::red) : kUnlit);
            }
        }
    }
    // Some red text where the labels are.
    for (const QRect& label : {QRect(40, 65, 40, 25), QRect(345, 98, 40, 30), QRect(345, 355, 30, 30)}) {
        QVERIFY(Pixels::countNear(image, label, Qt::red, 100) > 0);
    }
}

void tst_SegScene::timerStepsTheEffect()
{
    SegScene scene(nullptr);
    scene.updateEffectParam(0, 1, 0x123456, 100, 0, 0.0);
    QTRY_COMPARE_WITH_TIMEOUT(scene.digit(0, 2)->litColor(), QColor(0x123456), 1000);
}

// Every step of each effect, as listed in tests/data/digital/effects.txt:
// the colour (four zone colours for the rainbow) of each 50 ms step.
void tst_SegScene::effectSteps()
{
    struct Case
    {
        const char* name;
        quint32 type;
        quint32 colour;
        quint32 light;
        int temperature;
        int steps;
    };
    // Breathing red 100 makes the red channel the level; the gradient walks
    // six phases of 32 steps; the temperature link picks a colour by degrees.
    QVector<Case> cases = {{"breathing", SegEffectParams::Breath, 0x640000, 100, 0, 36},
                           {"breathing", SegEffectParams::Breath, 0x640000, 10, 0, 24},
                           {"breathing", SegEffectParams::Breath, 0x640000, 14, 0, 8},
                           {"breathing", SegEffectParams::Breath, 0x640000, 45, 0, 8},
                           {"gradient", SegEffectParams::Gradient, 0, 100, 0, 196},
                           {"gradient", SegEffectParams::Gradient, 0, 50, 0, 196},
                           {"rainbow", SegEffectParams::Rainbow, 0, 100, 0, 24}};
    for (int degrees : {-5, 29, 30, 49, 50, 69, 70, 89, 90, 250}) {
        for (quint32 light : {100u, 20u}) {
            cases.append({"temperature link", SegEffectParams::TempLinkage, 0x123456, light, degrees, 1});
        }
    }
    QStringList lines;
    for (const Case& c : cases) {
        SegEffect effect;
        effect.setParams(SegEffectParams{c.type, 1, c.colour, c.light});
        for (int step = 1; step <= c.steps; ++step) {
            const SegEffect::Frame frame = effect.step(c.temperature);
            QStringList colours;
            for (int zone = 0; zone < (frame.quad ? SegEffect::kZones : 1); ++zone) {
                colours.append(hex(frame.colours[size_t(zone)]));
            }
            lines.append(QStringLiteral("%1, light %2, %3 degrees, step %4: %5%6")
                             .arg(QLatin1String(c.name))
                             .arg(c.light)
                             .arg(c.temperature)
                             .arg(step)
                             .arg(colours.join(' '), frame.send ? QString() : QStringLiteral(" (not sent)")));
        }
    }
    QFile file(qEnvironmentVariable("PANELCAST_TEST_DATA") + QStringLiteral("/digital/effects.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QCOMPARE(lines, QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts));
}

void tst_SegScene::effectColoursThePacketAndEveryItem_data()
{
    QTest::addColumn<uint>("type");
    QTest::addColumn<int>("onoff");
    QTest::addColumn<uint>("color");
    QTest::addColumn<uint>("light");
    QTest::addColumn<int>("temp");
    QTest::addColumn<int>("usage");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("static, half light orange")
        << 0u << 1 << 0xFF7D00u << 50u << 45 << 12 << hex("5AA5 00 7F3E00 2F 0E");
    QTest::newRow("off still carries the numbers")
        << 0u << 0 << 0xFFFFFFu << 100u << 45 << 12 << hex("5AA5 00 000000 2F 0E");
    QTest::newRow("off, any flag below 1")
        << 2u << -1 << 0xFFFFFFu << 100u << 45 << 12 << hex("5AA5 02 000000 2F 0E");
    QTest::newRow("rainbow: 17 bytes")
        << 3u << 1 << 0x00FF00u << 100u << 45 << 12 << hex("5AA5 03 FF6000 FF4000 FF2000 FF0000 2F 0E");
    QTest::newRow("temperature link, 75")
        << 4u << 1 << 0x0000FFu << 100u << 75 << 12 << hex("5AA5 04 FF7F00 49 0E");
    QTest::newRow("numbers keep their low 8 bits")
        << 0u << 1 << 0x0000FFu << 100u << 300 << -1 << hex("5AA5 00 0000FF 2E FD");
    QTest::newRow("light over 100 counts as 100")
        << 0u << 1 << 0xFF8000u << 150u << 45 << 12 << hex("5AA5 00 FF8000 2F 0E");
}

void tst_SegScene::effectColoursThePacketAndEveryItem()
{
    QFETCH(uint, type);
    QFETCH(int, onoff);
    QFETCH(uint, color);
    QFETCH(uint, light);
    QFETCH(int, temp);
    QFETCH(int, usage);
    QFETCH(QByteArray, expected);

    SegScene scene(nullptr);
    SegParamInfo info(&scene);
    scene.updateFromCatalogue(readings(temp, usage, 0, 0), kIntel);
    info.updateEffectParam(type, onoff, color, light, 1, 12.5);
    QCOMPARE(info.params().onoff, onoff > 0 ? 1 : 0);
    QSignalSpy sent(&info, &SegParamInfo::emitSendData);
    info.runDititalEffect();
    QCOMPARE(sent.count(), 1);
    QCOMPARE(sent.at(0).at(0).toByteArray().toHex(' '), expected.toHex(' '));
    if (expected.size() != 8) {
        return;
    }
    // The preview runs the same effect: every item lights in the packet's colour.
    const QColor lit{quint8(expected[3]), quint8(expected[4]), quint8(expected[5])};
    scene.updateEffectParam(type, onoff, color, light, 0, 0.0);
    scene.stepEffect();
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(scene.digit(row, i)->litColor(), lit);
        }
    }
    QCOMPARE(scene.sourceLabel()->brush().color(), lit);
    QCOMPARE(scene.temperatureUnitLabel()->brush().color(), lit);
    QCOMPARE(scene.usageUnitLabel()->brush().color(), lit);
    // And on screen: the top of the usage's ones digit.
    QCOMPARE(segmentPixel(Pixels::renderScene(scene), 1, 2, SegNumber::Top), lit);
}

void tst_SegScene::openFailureLeavesItClosed()
{
    SegParamInfo info(nullptr);
    QSignalSpy state(info.transport(), &cdcTransport::usbConnectState);
    QVERIFY(!info.open(QStringLiteral("/nonexistent/ttyNONE")));
    QVERIFY(!info.isOpened());
    QVERIFY(info.portName().isEmpty());
    QCOMPARE(state.count(), 1);
    QVERIFY(!info.open(QString()));
    QVERIFY(!info.isOpened());
}

void tst_SegScene::destructionClosesThePortAndStopsSending()
{
    PtyPair pty;
    QVERIFY(pty.isValid());
    auto* info = new SegParamInfo(nullptr);
    QVERIFY(info->open(pty.slavePath()));
    QCOMPARE(pty.readFromHost(8).size(), 8);
    QPointer<cdcTransport> transport = info->transport();
    QVERIFY(transport->isPortOpen());
    delete info;
    QVERIFY(transport.isNull());
    pty.drainFromHost(60);
    QCOMPARE(pty.drainFromHost(200), QByteArray());
}

void tst_SegScene::endToEndWithEmulator()
{
    TestEmulator emu;
    QVERIFY2(emu.start({"--family", "digital"}), qPrintable(emu.errorText()));
    QCOMPARE(emu.entry(), emu.link() + QStringLiteral("=1A86:FE00"));
    // CPU die 52, 54, 56, 52, ... and total usage 12.5 in this fixture.
    std::unique_ptr<DispSensorManager> manager =
        SensorFixtures::replayManager(QStringLiteral("intel-nvidia"));
    SegScene scene(manager.get());
    SegParamInfo info(&scene);
    QVERIFY(info.open(emu.link()));

    // Defaults, again and again while nothing changes.
    QList<QJsonObject> got = waitForPackets(emu, 0, 4);
    QCOMPARE(got.size(), 4);
    for (const QJsonObject& entry : got) {
        QCOMPARE(entry.value("size").toInt(), 8);
        QCOMPARE(packetOf(entry).toHex(' '), hex("5AA5 00 FF0000 02 02").toHex(' '));
    }
    // The numbers follow the readings of each pass.
    QVector<int> temps;
    for (int pass = 0; pass < 4; ++pass) {
        manager->runLoopPass();
        // The packet after the next one was certainly built after the pass.
        got = waitForPackets(emu, emu.log().size(), 2);
        QCOMPARE(got.size(), 2);
        QCOMPARE(got.last().value("usage").toInt(), 12);
        temps.append(got.last().value("temperature").toInt());
        QCOMPARE(temps.last(), scene.temperature());
    }
    QVERIFY2(temps[0] == 52 || temps[0] == 54 || temps[0] == 56, qPrintable(QString::number(temps[0])));
    for (int i = 1; i < temps.size(); ++i) {
        QCOMPARE(temps[i], temps[i - 1] == 56 ? 52 : temps[i - 1] + 2);
    }
    // With the GPU as source the device gets the GPU's numbers, 61 and 37.
    scene.setSource(1);
    manager->runLoopPass();
    got = waitForPackets(emu, emu.log().size(), 2);
    QCOMPARE(got.size(), 2);
    QCOMPARE(packetOf(got.last()).toHex(' '), hex("5AA5 00 FF0000 3F 27").toHex(' '));

    // Load linkage: nothing more arrives; another type brings the traffic back.
    info.updateEffectParam(5, 1, 0xFF0000, 100, 0, 0);
    QTest::qWait(150);
    const int seen = emu.log().size();
    QTest::qWait(400);
    QCOMPARE(emu.log().size(), seen);
    info.updateEffectParam(4, 1, 0xFF0000, 50, 0, 0);
    got = waitForPackets(emu, seen, 1);
    QCOMPARE(got.size(), 1);
    QCOMPARE(packetOf(got.first()).toHex(' '), hex("5AA5 04 7F7F00 3F 27").toHex(' '));
}

QTEST_MAIN(tst_SegScene)
#include "tst_segscene.moc"
