// The effect object of one seven-segment device: its parameters, the packet
// each 50 ms step sends, and the bytes that reach the device, both on a
// pseudo-terminal and through panelcast-emu.
#include "cdctransport.h"
#include "ptypair.h"
#include "segnumber.h"
#include "segparaminfo.h"
#include "segscene.h"
#include "sensorfixtures.h"
#include "testemulator.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest>

namespace {

constexpr int kTimeoutMs = 5000;

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

QVector<SensorReading> cpuReadings(double temp, double usage)
{
    SensorReading t;
    t.sensorName = QStringLiteral("CPU [#0]: DTS");
    t.sensorClass = 11;
    t.subClass = 10;
    t.readingType = 1;
    t.label = QStringLiteral("Core Max");
    t.value = temp;
    SensorReading u = t;
    u.readingType = 7;
    u.label = QStringLiteral("Total CPU Usage");
    u.value = usage;
    return {t, u};
}

const SegReadings::Machine kIntel{true, false};

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

class tst_SegParamInfo : public QObject
{
    Q_OBJECT

private slots:
    void packets_data();
    void packets();
    void openFailureLeavesItClosed();
    void destructionClosesThePortAndStopsSending();
    void endToEndWithEmulator();
};

void tst_SegParamInfo::packets_data()
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
    QTest::newRow("temperature link, 95")
        << 4u << 1 << 0x0000FFu << 100u << 95 << 12 << hex("5AA5 04 FF0000 5D 0E");
    QTest::newRow("numbers keep their low 8 bits")
        << 0u << 1 << 0x0000FFu << 100u << 300 << -1 << hex("5AA5 00 0000FF 2E FD");
}

void tst_SegParamInfo::packets()
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
    scene.updateFromCatalogue(cpuReadings(temp, usage), kIntel);
    info.updateEffectParam(type, onoff, color, light, 1, 12.5);
    QCOMPARE(info.params().onoff, onoff > 0 ? 1 : 0);

    QSignalSpy sent(&info, &SegParamInfo::emitSendData);
    info.runDititalEffect();
    QCOMPARE(sent.count(), 1);
    QCOMPARE(sent.at(0).at(0).toByteArray().toHex(' '), expected.toHex(' '));
}

void tst_SegParamInfo::openFailureLeavesItClosed()
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

void tst_SegParamInfo::destructionClosesThePortAndStopsSending()
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

void tst_SegParamInfo::endToEndWithEmulator()
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

    // Rainbow: 17-byte packets with four zones.
    info.updateEffectParam(3, 1, 0xFF0000, 100, 0, 0);
    got = waitForPackets(emu, emu.log().size(), 3);
    QCOMPARE(got.size(), 3);
    QCOMPARE(got.last().value("size").toInt(), 17);
    QCOMPARE(got.last().value("mode").toInt(), 3);
    QCOMPARE(got.last().value("colours").toArray().size(), 4);

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

QTEST_MAIN(tst_SegParamInfo)
#include "tst_segparaminfo.moc"
