#include "segmentframer.h"
#include "testfiles.h"

#include <QtTest>

using TestFiles::hex;

namespace {
QString describe(const QVector<SegmentPacket>& packets)
{
    QStringList parts;
    for (const SegmentPacket& p : packets) {
        QStringList colours;
        for (QRgb c : p.colours) {
            colours.append(QStringLiteral("%1").arg(c & 0xFFFFFF, 6, 16, QLatin1Char('0')));
        }
        QString text = QStringLiteral("m%1 %2 t%3 u%4")
                           .arg(p.mode)
                           .arg(colours.join(QLatin1Char('/')))
                           .arg(p.temperature)
                           .arg(p.usage);
        if (p.skippedBefore > 0) {
            text += QStringLiteral(" s%1").arg(p.skippedBefore);
        }
        if (!p.complete) {
            text = QStringLiteral("dropped %1").arg(QString::fromLatin1(p.raw.toHex()));
        }
        parts.append(text);
    }
    return parts.join(QLatin1String(", "));
}

// Bytes as the host builds them: readings travel XOR 0x02.
const QByteArray kStatic = hex("5A A5 00 FF 00 00 2F 05");                             // 45 degrees, 7 %
const QByteArray kRainbow = hex("5A A5 03 FF 60 00 FF 40 00 FF 20 00 FF 00 00 3E 66"); // 60, 100
const QByteArray kBreath = hex("5A A5 01 7F 3E 00 02 02");                             // 0, 0

} // namespace

class TestSegmentFramer : public QObject
{
    Q_OBJECT

private slots:
    void framesAndDecodesPackets_data();
    void framesAndDecodesPackets();
    void incompletePacketIsDroppedAfterIdle();
};

void TestSegmentFramer::framesAndDecodesPackets_data()
{
    QTest::addColumn<QList<QByteArray>>("reads");
    QTest::addColumn<QString>("expected");

    const QString staticText = QStringLiteral("m0 ff0000 t45 u7");
    const QString rainbowText = QStringLiteral("m3 ff6000/ff4000/ff2000/ff0000 t60 u100");
    const QString breathText = QStringLiteral("m1 7f3e00 t0 u0");

    QTest::newRow("8 bytes") << QList<QByteArray>{kStatic} << staticText;
    QTest::newRow("17 bytes by the rainbow mode") << QList<QByteArray>{kRainbow} << rainbowText;
    QTest::newRow("joined 8 + 17 + 8") << QList<QByteArray>{kStatic + kRainbow + kBreath}
                                       << QStringList{staticText, rainbowText, breathText}.join(", ");
    QTest::newRow("split before the mode byte")
        << QList<QByteArray>{kRainbow.left(2), kRainbow.mid(2, 9), kRainbow.mid(11) + kStatic.left(1),
                             kStatic.mid(1)}
        << QStringList{rainbowText, staticText}.join(", ");
    QTest::newRow("garbage resyncs to 5A A5")
        << QList<QByteArray>{hex("A5 5A 00 5A") + kStatic} << staticText + QStringLiteral(" s4");
    QTest::newRow("temperature byte 0xFF decodes to 253")
        << QList<QByteArray>{hex("5A A5 04 FF 00 00 FF 00")} << QStringLiteral("m4 ff0000 t253 u2");
}

void TestSegmentFramer::framesAndDecodesPackets()
{
    QFETCH(QList<QByteArray>, reads);
    QFETCH(QString, expected);

    SegmentFramer framer;
    QVector<SegmentPacket> packets;
    for (const QByteArray& read : reads) {
        packets += framer.feed(read, 0);
    }
    QCOMPARE(describe(packets), expected);
    QCOMPARE(framer.deadlineMs(), qint64(-1));
}

void TestSegmentFramer::incompletePacketIsDroppedAfterIdle()
{
    SegmentFramer framer;
    QVERIFY(framer.feed(kRainbow.left(8), 100).isEmpty());
    QVERIFY(framer.poll(100 + SegmentFramer::kStalledPacketIdleMs - 1).isEmpty());
    QCOMPARE(describe(framer.poll(100 + SegmentFramer::kStalledPacketIdleMs)),
             QStringLiteral("dropped ") + QString::fromLatin1(kRainbow.left(8).toHex()));
    QCOMPARE(describe(framer.feed(kStatic, 500)), QStringLiteral("m0 ff0000 t45 u7"));
}

QTEST_APPLESS_MAIN(TestSegmentFramer)
#include "tst_segmentframer.moc"
