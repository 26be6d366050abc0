#include "devicereply.h"
#include "packets.h"
#include "testfiles.h"

#include <QtTest>

using TestFiles::hex;

class TestPackets : public QObject
{
    Q_OBJECT

private slots:
    void hostPacketsMatchTheWireLayout_data();
    void hostPacketsMatchTheWireLayout();
    void uploadStartCodeFollowsKindAndExtension_data();
    void uploadStartCodeFollowsKindAndExtension();
    void replies_data();
    void replies();
};

void TestPackets::hostPacketsMatchTheWireLayout_data()
{
    QTest::addColumn<QByteArray>("packet");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("search") << Packets::search() << hex("5A A5 90 00 01 00 00 00 01");
    QTest::newRow("brightness 50%") << Packets::brightness(uint8_t(Packets::brightnessFromPercent(50)))
                                    << hex("5A A5 80 00 01 00 00 00 7F");
    QTest::newRow("brightness 37%") << Packets::brightness(uint8_t(Packets::brightnessFromPercent(37)))
                                    << hex("5A A5 80 00 01 00 00 00 5E");
    QTest::newRow("brightness 0% and 100%")
        << Packets::brightness(uint8_t(Packets::brightnessFromPercent(0))) +
               Packets::brightness(uint8_t(Packets::brightnessFromPercent(100)))
        << hex("5A A5 80 00 01 00 00 00 00 5A A5 80 00 01 00 00 00 FF");
    QTest::newRow("101% and -5% are no brightness")
        << QByteArray::number(Packets::brightnessFromPercent(101)) +
               QByteArray::number(Packets::brightnessFromPercent(-5))
        << QByteArray("-1-1");
    QTest::newRow("version query") << Packets::versionQuery() << hex("5A A5 81 00 01 00 00 00 01");
    QTest::newRow("expansion on") << Packets::expansionMode(true) << hex("5A A5 91 00 01 00 00 00 01");
    QTest::newRow("expansion off") << Packets::expansionMode(false) << hex("5A A5 91 00 01 00 00 00 00");
    QTest::newRow("empty frame") << Packets::frame(QByteArray()) << hex("5A A5 85 00 00 00 00 00");
    QTest::newRow("frame length little endian")
        << Packets::frame(QByteArray(258, 'B')) << hex("5A A5 85 00 02 01 00 00") + QByteArray(258, 'B');
    QTest::newRow("upload start announcing a full pack")
        << Packets::buildWithLength(0x82, 4088, hex("01 02 03")) << hex("5A A5 82 00 F8 0F 00 00 01 02 03");
    // Seven-segment panels carry no length field.
    QTest::newRow("one colour") << Packets::segmentSingle(1, 0x102030, 45, 7)
                                << hex("5A A5 01 10 20 30 2F 05");
    QTest::newRow("readings keep their low byte")
        << Packets::segmentSingle(0, 0xFFFFFF, 258, 0) << hex("5A A5 00 FF FF FF 00 02");
    QTest::newRow("four colours") << Packets::segmentQuad(3, {0xFF0000, 0x00FF00, 0x0000FF, 0x123456}, 60,
                                                          100)
                                  << hex("5A A5 03 FF 00 00 00 FF 00 00 00 FF 12 34 56 3E 66");
}

void TestPackets::hostPacketsMatchTheWireLayout()
{
    QFETCH(QByteArray, packet);
    QFETCH(QByteArray, expected);
    QCOMPARE(packet.toHex(' '), expected.toHex(' '));
}

void TestPackets::uploadStartCodeFollowsKindAndExtension_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("code");
    QTest::newRow("firmware bin") << 1 << "/tmp/fw.bin" << 0x82;
    QTest::newRow("firmware named jpg") << 1 << "/tmp/fw.jpg" << 0x81;
    QTest::newRow("logo jpg") << 2 << "/tmp/logo.jpg" << 0x86;
    QTest::newRow("logo JPG is case-sensitive") << 2 << "/tmp/logo.JPG" << 0x87;
    QTest::newRow("boot video") << 2 << "/data/boot_video.h264" << 0x87;
    // The last "."-separated part of a name without a dot is the whole name.
    QTest::newRow("name jpg without a dot") << 2 << "/tmp/jpg" << 0x86;
    QTest::newRow("no extension") << 1 << "/tmp/firmware" << 0x82;
    QTest::newRow("only the last part counts") << 2 << "/tmp/logo.jpg.png" << 0x87;
    QTest::newRow("dotted folder, plain name") << 1 << "/tmp/a.jpg/fw" << 0x82;
}

void TestPackets::uploadStartCodeFollowsKindAndExtension()
{
    QFETCH(int, kind);
    QFETCH(QString, name);
    QFETCH(int, code);
    QCOMPARE(int(Packets::uploadStartCode(kind, name)), code);
}

void TestPackets::replies_data()
{
    QTest::addColumn<QByteArray>("chunk");
    QTest::addColumn<QString>("reply"); // kind, version, acknowledge, width x height, mode

    QTest::newRow("search 12 bytes, mode 0")
        << hex("5A A5 00 90 00 00 00 00 01 E0 07 80") << "search '' 0 480x1920 0";
    QTest::newRow("search 13 bytes takes the mode")
        << hex("5A A5 00 90 00 00 00 00 01 68 03 C0 01") << "search '' 0 360x960 1";
    // A display reporting no size would be listed as a seven-segment device,
    // and an absurd one would have a scene and an encoder built for it.
    const QString invalid = "invalid '' 0 0x0 0";
    QTest::newRow("search too short") << hex("5A A5 00 90 00 00 00 00 01 E0 07") << invalid;
    QTest::newRow("search with zero width") << hex("5A A5 00 90 00 00 00 00 00 00 07 80") << invalid;
    QTest::newRow("search with zero height") << hex("5A A5 00 90 00 00 00 00 01 E0 00 00 01") << invalid;
    QTest::newRow("search beyond the largest panel side")
        << hex("5A A5 00 90 00 00 00 00 10 01 07 80") << invalid;
    QTest::newRow("search at the largest panel side")
        << hex("5A A5 00 90 00 00 00 00 10 00 10 00") << "search '' 0 4096x4096 0";
    QTest::newRow("version text") << hex("5A A5 00 81 00") + "V1.2 Dovaz"
                                  << "version 'V1.2 Dovaz' 0 0x0 0";
    QTest::newRow("version of 5 bytes is empty") << hex("5A A5 00 81 00") << "version '' 0 0x0 0";
    QTest::newRow("version too short") << hex("5A A5 00 81") << invalid;
    QTest::newRow("acknowledge") << hex("5A A5 00 8F 01") << "ack '' 1 0x0 0";
    QTest::newRow("acknowledge zero") << hex("5A A5 00 8F 00 00") << "ack '' 0 0x0 0";
    QTest::newRow("acknowledge too short") << hex("5A A5 00 8F") << invalid;
    QTest::newRow("wrong first byte") << hex("5B A5 00 90 00 00 00 00 01 E0 07 80") << invalid;
    QTest::newRow("unknown code") << hex("5A A5 00 42 00 00 00 00 01 E0 07 80") << invalid;
    QTest::newRow("empty") << QByteArray() << invalid;
    QTest::newRow("two replies in one chunk: the first counts")
        << hex("5A A5 00 8F 01 5A A5 00 90 00 00 00 00 01 E0 07 80") << "ack '' 1 0x0 0";
    const QByteArray tail = QByteArray("AB") + hex("5A A5 00 8F 01");
    QTest::newRow("version runs to the end of a joined chunk")
        << hex("5A A5 00 81 00") + tail
        << "version '" + QString::fromUtf8(tail.constData(), tail.size()) + "' 0 0x0 0";
}

void TestPackets::replies()
{
    QFETCH(QByteArray, chunk);
    QFETCH(QString, reply);
    const DeviceReply r = DeviceReply::parse(chunk);
    const char* kinds[] = {"invalid", "version", "ack", "search"};
    QCOMPARE(QStringLiteral("%1 '%2' %3 %4x%5 %6")
                 .arg(QLatin1String(kinds[r.kind]))
                 .arg(r.version)
                 .arg(r.acknowledge)
                 .arg(r.width)
                 .arg(r.height)
                 .arg(r.mode),
             reply);
}

QTEST_APPLESS_MAIN(TestPackets)
#include "tst_packets.moc"
