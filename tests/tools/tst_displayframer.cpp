#include "displayframer.h"
#include "testfiles.h"

#include <QtTest>

using TestFiles::hex;

namespace {
// "cmd:len:payloadSize[:skipped][!]" per packet, '!' marking a dropped one.
QString describe(const QVector<HostPacket>& packets)
{
    QStringList parts;
    for (const HostPacket& p : packets) {
        QString text = QStringLiteral("%1:%2:%3").arg(p.command, 2, 16).arg(p.length).arg(p.payload.size());
        if (p.skippedBefore > 0) {
            text += QStringLiteral(":%1").arg(p.skippedBefore);
        }
        if (!p.complete) {
            text += QLatin1Char('!');
        }
        parts.append(text);
    }
    return parts.join(QLatin1Char(' '));
}

const QByteArray kSearch = hex("5A A5 90 00 01 00 00 00 01");
const QByteArray kVersion = hex("5A A5 81 00 01 00 00 00 01");
const QByteArray kFrame = hex("5A A5 85 00 05 00 00 00 00 00 00 01 65");
const QByteArray kEmptyFrame = hex("5A A5 85 00 00 00 00 00");

} // namespace

class TestDisplayFramer : public QObject
{
    Q_OBJECT

private slots:
    void framesByLengthFieldWhateverTheReads_data();
    void framesByLengthFieldWhateverTheReads();
    void stalledPacketIsDroppedAndStreamRecovers();
    void uploadStartIsToldFromVersionQuery();
    void survivesRandomGarbageInRandomReads();
};

void TestDisplayFramer::framesByLengthFieldWhateverTheReads_data()
{
    QTest::addColumn<QList<QByteArray>>("reads");
    QTest::addColumn<QString>("expected");

    const QByteArray all = kSearch + kFrame + kEmptyFrame + kVersion;
    const QString allExpected = QStringLiteral("90:1:1 85:5:5 85:0:0 81:1:1");
    QTest::newRow("joined in one read") << QList<QByteArray>{all} << allExpected;

    QList<QByteArray> bytewise;
    for (char c : all) {
        bytewise.append(QByteArray(1, c));
    }
    QTest::newRow("one byte per read") << bytewise << allExpected;
    QTest::newRow("split inside header and payload")
        << QList<QByteArray>{all.left(3), all.mid(3, 9), all.mid(12, 7), all.mid(19)} << allExpected;
    QTest::newRow("garbage before first packet")
        << QList<QByteArray>{hex("00 FF 5A 12 A5") + kSearch} << QStringLiteral("90:1:1:5");
    QTest::newRow("garbage between packets, split")
        << QList<QByteArray>{kSearch + hex("11 22"), hex("5A") + kFrame} << QStringLiteral("90:1:1 85:5:5:3");
    QTest::newRow("5A A5 with non-zero command high byte is garbage")
        << QList<QByteArray>{hex("5A A5 85 01 00 00 00 00") + kSearch} << QStringLiteral("90:1:1:8");
    QTest::newRow("absurd length is garbage")
        << QList<QByteArray>{hex("5A A5 85 00 FF FF FF 7F") + kSearch} << QStringLiteral("90:1:1:8");
    QTest::newRow("magic split across reads after garbage")
        << QList<QByteArray>{hex("33 5A"), kSearch.mid(1)} << QStringLiteral("90:1:1:1");
    QTest::newRow("incomplete packet waits") << QList<QByteArray>{kFrame.left(10)} << QString();
    // A single-pack upload followed, before any idle time, by the host's
    // next frame in a separate write.
    QTest::newRow("short upload start ends at the next header")
        << QList<QByteArray>{hex("5A A5 87 00 00 10 00 00 AA BB CC"), kFrame}
        << QStringLiteral("87:4096:3 85:5:5");
    QTest::newRow("short upload start of no bytes")
        << QList<QByteArray>{hex("5A A5 82 00 F8 0F 00 00"), kFrame} << QStringLiteral("82:4088:0 85:5:5");
    // A full upload start does not wait for idle time.
    const QByteArray data = hex("5A A5 83 00 00 04 00 00") + QByteArray(1024, char(0xA5));
    QTest::newRow("full upload start")
        << QList<QByteArray>{hex("5A A5 82 00 00 04 00 00") + QByteArray(1024, char(0x5A)) + data.left(100),
                             data.mid(100) + hex("5A A5 84 00 03 00 00 00 01 02 03")}
        << QStringLiteral("82:1024:1024 83:1024:1024 84:3:3");
}

void TestDisplayFramer::framesByLengthFieldWhateverTheReads()
{
    QFETCH(QList<QByteArray>, reads);
    QFETCH(QString, expected);

    DisplayFramer framer;
    QVector<HostPacket> packets;
    qint64 now = 0;
    for (const QByteArray& read : reads) {
        packets += framer.feed(read, now++);
    }
    QCOMPARE(describe(packets), expected);
}

void TestDisplayFramer::stalledPacketIsDroppedAndStreamRecovers()
{
    // A stray header announcing 100 bytes, then a real search packet that
    // would otherwise be swallowed as its payload.
    DisplayFramer framer;
    QVERIFY(framer.feed(hex("5A A5 85 00 64 00 00 00") + kSearch, 0).isEmpty());
    QCOMPARE(framer.deadlineMs(), DisplayFramer::kStalledPacketIdleMs);
    QVERIFY(framer.poll(DisplayFramer::kStalledPacketIdleMs - 1).isEmpty());
    QCOMPARE(describe(framer.poll(DisplayFramer::kStalledPacketIdleMs)),
             QStringLiteral("85:100:9! 90:1:1:6"));
    QCOMPARE(framer.bufferedBytes(), 0);

    // A stray 5A A5 85 00 right before a real packet: the real packet's
    // first bytes become the stray header's length field.
    QVERIFY(framer.feed(hex("5A A5 85 00") + kSearch, 1000).isEmpty());
    QCOMPARE(describe(framer.poll(1000 + DisplayFramer::kStalledPacketIdleMs)),
             QStringLiteral("85:9479514:5! 90:1:1:2"));

    // A lone magic byte that never continues is thrown away too.
    QVERIFY(framer.feed(hex("5A"), 2000).isEmpty());
    QVERIFY(framer.poll(2000 + DisplayFramer::kStalledPacketIdleMs).isEmpty());
    QCOMPARE(framer.bufferedBytes(), 0);
    QCOMPARE(describe(framer.feed(kSearch, 4000)), QStringLiteral("90:1:1:1"));
}

void TestDisplayFramer::uploadStartIsToldFromVersionQuery()
{
    // 0x81 of length 1 is the version query; an upload start announces a
    // whole pack (1024 for a .jpg firmware, 4088 or 4096).
    const struct
    {
        int command;
        int length;
        bool isStart;
    } cases[] = {{0x81, 1, false},    {0x81, 1024, true}, {0x81, 100, false},  {0x82, 4088, true},
                 {0x82, 5000, false}, {0x86, 4096, true}, {0x83, 4088, false}, {0x85, 4096, false}};
    for (const auto& c : cases) {
        QVERIFY2(DisplayFramer::isUploadStart(uint16_t(c.command), uint32_t(c.length)) == c.isStart,
                 qPrintable(QStringLiteral("%1 %2").arg(c.command, 0, 16).arg(c.length)));
    }
}

void TestDisplayFramer::survivesRandomGarbageInRandomReads()
{
    // Seeded, so a failure repeats. Noise first, then real packets. Noise
    // can form a complete packet of its own that eats real ones, which no
    // framer can tell; but once the idle rules have run nothing is stuck,
    // the last packet always comes out, and nearly always all of them do.
    QRandomGenerator random(20240607);
    const int rounds = 200;
    int allFound = 0;
    for (int round = 0; round < rounds; ++round) {
        QByteArray noise(int(random.bounded(1, 3000)), Qt::Uninitialized);
        for (char& c : noise) {
            // Plenty of magic bytes so partial headers keep appearing.
            const quint32 r = random.bounded(8);
            c = r == 0 ? char(0x5A) : r == 1 ? char(0xA5) : r == 2 ? char(0x00) : char(random.bounded(256));
        }
        const QByteArray stream = noise + kSearch + kFrame + kVersion + kEmptyFrame;

        DisplayFramer framer;
        QVector<HostPacket> out;
        qint64 now = 0;
        for (int offset = 0; offset < stream.size();) {
            const int size = int(random.bounded(1, 200));
            out += framer.feed(stream.mid(offset, size), now);
            offset += size;
            now += 1;
        }
        out += framer.poll(now + 10 * DisplayFramer::kStalledPacketIdleMs);
        QCOMPARE(framer.bufferedBytes(), 0);
        QCOMPARE(framer.deadlineMs(), qint64(-1));
        QVERIFY2(!out.isEmpty() && out.last().command == 0x85 && out.last().payload.isEmpty() &&
                     out.last().complete,
                 qPrintable(QStringLiteral("round %1: %2").arg(round).arg(describe(out))));

        QStringList tail;
        for (int i = qMax(0, out.size() - 4); i < out.size(); ++i) {
            tail.append(QStringLiteral("%1:%2").arg(out[i].command, 2, 16).arg(out[i].payload.size()));
        }
        allFound += tail.join(' ') == QStringLiteral("90:1 85:5 81:1 85:0") ? 1 : 0;
    }
    QVERIFY2(allFound >= rounds * 95 / 100, qPrintable(QString::number(allFound)));
}

QTEST_APPLESS_MAIN(TestDisplayFramer)
#include "tst_displayframer.moc"
