#include "emudevice.h"
#include "h264encoder.h"
#include "packets.h"
#include "testemulator.h"
#include "testfiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray joined(const QVector<EmuReply>& replies)
{
    QByteArray out;
    for (const EmuReply& reply : replies) {
        out += reply.bytes;
    }
    return out;
}

// One access unit of a plain colour from the host's encoder; empty on failure.
QByteArray encode(H264Encoder& encoder, const QSize& size, const QColor& colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray out;
    return encoder.encode(BgraImage::fromImage(image), out) == H264Encoder::Result::Ok ? out : QByteArray();
}

// The packet log in dir, one compact JSON line per entry without its time.
QStringList logLines(const QString& dir)
{
    QStringList lines;
    for (QJsonObject entry : TestEmulator::readLog(dir)) {
        entry.remove("ms");
        lines << QString::fromUtf8(QJsonDocument(entry).toJson(QJsonDocument::Compact));
    }
    return lines;
}

} // namespace

using namespace TestFiles;

class TestEmuDevice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void answersLikeADisplay_data();
    void answersLikeADisplay();
    void uploadsAreWrittenByteIdentical();
    void framesDecodeThroughBrokenOnesAndSizeChanges();
    void segmentPacketsAreLoggedDecoded();
    void unusableOutputFolderIsAnError();
};

void TestEmuDevice::initTestCase()
{
    av_log_set_level(AV_LOG_FATAL);
}

void TestEmuDevice::answersLikeADisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("delayMs");    // of the first reply; the others come at once
    QTest::addColumn<int>("brightness"); // as recorded afterwards, -1 for none

    const QByteArray ack = hex("5A A5 00 8F 01");
    const QByteArray uploadStart = Packets::buildWithLength(0x82, 4088, QByteArray(4088, char(0x11)));

    QTest::newRow("search, 13-byte default 480x480 mode 0")
        << QStringList{} << Packets::search() << hex("5A A5 00 90 00 00 00 00 01 E0 01 E0 00") << 0 << -1;
    QTest::newRow("search reports the starting mode")
        << QStringList{"--mode", "2", "--size", "360x960"} << Packets::search()
        << hex("5A A5 00 90 00 00 00 00 01 68 03 C0 02") << 0 << -1;
    QTest::newRow("expansion mode then search")
        << QStringList{} << Packets::expansionMode(true) + Packets::search()
        << hex("5A A5 00 90 00 00 00 00 01 E0 01 E0 01") << 0 << -1;
    QTest::newRow("expansion mode on, then off")
        << QStringList{} << Packets::expansionMode(true) + Packets::expansionMode(false) + Packets::search()
        << hex("5A A5 00 90 00 00 00 00 01 E0 01 E0 00") << 0 << -1;
    QTest::newRow("version") << QStringList{"--version", "V9 x"} << Packets::versionQuery()
                             << hex("5A A5 00 81 00") + QByteArray("V9 x") << 0 << -1;
    QTest::newRow("brightness and frames get no reply")
        << QStringList{} << Packets::brightness(127) + Packets::frame(QByteArray()) << QByteArray() << 0
        << 127;
    QTest::newRow(".jpg upload start 0x81 acknowledged, not taken for a version query")
        << QStringList{} << Packets::buildWithLength(0x81, 1024, QByteArray(1024, char(0x01))) << ack << 0
        << -1;
    // Firmware packs are acknowledged alike (the "acked" of the upload log below).
    QTest::newRow("logo upload codes acknowledged")
        << QStringList{}
        << Packets::buildWithLength(0x86, 4096, QByteArray(4096, 0)) +
               Packets::buildWithLength(0x88, 4096, QByteArray(4096, 0)) + Packets::build(0x89, hex("01"))
        << ack + ack + ack << 0 << -1;
    QTest::newRow("never acknowledges")
        << QStringList{"--ack", "never"} << uploadStart << QByteArray() << 0 << -1;
    QTest::newRow("delayed acknowledgement, search answered at once")
        << QStringList{"--ack", "delay:250"} << uploadStart + Packets::search()
        << ack + hex("5A A5 00 90 00 00 00 00 01 E0 01 E0 00") << 250 << -1;
}

void TestEmuDevice::answersLikeADisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, reply);
    QFETCH(int, delayMs);
    QFETCH(int, brightness);
    EmuOptions options;
    QString error;
    QVERIFY2(EmuOptions::parse(QStringList{"--link", "/tmp/unused"} + arguments, &options, &error),
             qPrintable(error));
    EmuDevice device(options);
    QVERIFY(device.start(&error));
    QSignalSpy changed(&device, &EmuDevice::brightnessChanged);
    const QVector<EmuReply> replies = device.feed(input, 0);
    QCOMPARE(joined(replies).toHex(' '), reply.toHex(' '));
    for (int i = 0; i < replies.size(); ++i) {
        QCOMPARE(replies[i].delayMs, i == 0 ? delayMs : 0);
    }
    QCOMPARE(device.brightness(), brightness);
    QCOMPARE(changed.count(), brightness < 0 ? 0 : 1);
}

void TestEmuDevice::uploadsAreWrittenByteIdentical()
{
    QTemporaryDir dir;
    EmuOptions options;
    options.outDir = dir.path();
    EmuDevice device(options);
    QString error;
    QVERIFY2(device.start(&error), qPrintable(error));

    // Upload 1: a 9000-byte firmware in packs of 4088, split oddly by reads.
    const QByteArray firmware = patterned(9000, 1);
    const QByteArray stream = Packets::buildWithLength(0x82, 4088, firmware.left(4088)) +
                              Packets::buildWithLength(0x83, 4088, firmware.mid(4088, 4088)) +
                              Packets::build(0x84, firmware.mid(8176));
    qint64 now = 0;
    for (int offset = 0; offset < stream.size(); offset += 1000) {
        device.feed(stream.mid(offset, 1000), now++);
    }

    // Upload 2: a boot logo that fits one pack: its start packet announces
    // 4096 bytes but carries 700, and nothing follows; the idle time after
    // its last byte ends it.
    const QByteArray logo = patterned(700, 2);
    const QByteArray start = Packets::buildWithLength(0x86, 4096, logo);
    QVERIFY(device.feed(start.left(300), 100).isEmpty());
    QVERIFY(device.feed(start.mid(300), 110).isEmpty());
    QCOMPARE(device.deadlineMs(), 110 + DisplayFramer::kShortStartIdleMs);
    QVERIFY(device.poll(device.deadlineMs() - 1).isEmpty());
    QCOMPARE(joined(device.poll(device.deadlineMs())), EmuDevice::acknowledgeReply());

    // A data packet with no upload open is not written anywhere.
    device.feed(Packets::buildWithLength(0x83, 4, hex("01 02 03 04")), 400);
    device.finish();

    QCOMPARE(readAll(QDir(dir.path()).filePath("upload-1.bin")), firmware);
    QCOMPARE(readAll(QDir(dir.path()).filePath("upload-2.bin")), logo);
    QVERIFY(!QFile::exists(QDir(dir.path()).filePath("upload-3.bin")));
    QCOMPARE(device.uploadCount(), 2);

    QCOMPARE(
        logLines(dir.path()),
        (QStringList{R"({"acked":true,"cmd":"0x82","len":4088,"size":4088,"upload":1})",
                     R"({"acked":true,"cmd":"0x83","len":4088,"size":4088,"upload":1})",
                     R"({"acked":true,"cmd":"0x84","len":824,"size":824,"upload":1,"uploadComplete":true})",
                     R"({"acked":true,"cmd":"0x86","len":4096,"size":700,"upload":2,"uploadComplete":true})",
                     R"({"acked":true,"cmd":"0x83","error":"no upload in progress","hex":"01020304",)"
                     R"("len":4,"size":4})"}));
}

void TestEmuDevice::framesDecodeThroughBrokenOnesAndSizeChanges()
{
    // The host builds a new encoder when its scene is resized or rotated.
    // Every second picture is saved (--png-every 2), and the last at the end.
    QTemporaryDir dir;
    EmuOptions options;
    options.outDir = dir.path();
    options.pngEvery = 2;
    EmuDevice device(options);
    QString error;
    QVERIFY2(device.start(&error), qPrintable(error));
    QSignalSpy decoded(&device, &EmuDevice::frameDecoded);
    auto portrait = H264Encoder::create(32, 64);
    auto landscape = H264Encoder::create(64, 32);
    QVERIFY(portrait && landscape);
    // Slice data with no parameter sets before it, then pure noise: logged,
    // not fatal.
    device.feed(Packets::frame(hex("00 00 00 01 65 88 84 00 33 FF")), 0);
    device.feed(Packets::frame(patterned(3000, 9)), 1);
    const QString png = QDir(dir.path()).filePath("latest.png");
    device.feed(Packets::frame(encode(*portrait, QSize(32, 64), Qt::red)), 2);
    QVERIFY(!QFile::exists(png));
    device.feed(Packets::frame(encode(*portrait, QSize(32, 64), Qt::red)), 10);
    QCOMPARE(QImage(png).size(), QSize(32, 64));
    device.feed(Packets::frame(encode(*landscape, QSize(64, 32), Qt::blue)), 33);
    QCOMPARE(QImage(png).size(), QSize(32, 64));
    device.finish();

    QCOMPARE(decoded.count(), 3);
    QCOMPARE(decoded[2][1].toInt(), 3);
    QCOMPARE(device.decodedFrames(), 3);
    const QImage last(png);
    QCOMPARE(last.size(), QSize(64, 32));
    QVERIFY(last.pixelColor(32, 16).blue() > 200 && last.pixelColor(32, 16).red() < 40);
    const QList<QJsonObject> log = TestEmulator::readLog(dir.path());
    QCOMPARE(log.size(), 5);
    for (int i = 0; i < 2; ++i) {
        QVERIFY2(log[i].contains("error") || log[i].value("picture") == false,
                 QJsonDocument(log[i]).toJson().constData());
        QVERIFY(!log[i].contains("frame"));
    }
    QCOMPARE(log[4].value("frame").toInt(), 3);
}

void TestEmuDevice::segmentPacketsAreLoggedDecoded()
{
    QTemporaryDir dir;
    EmuOptions options;
    options.family = EmuOptions::Digital;
    options.outDir = dir.path();
    EmuDevice device(options);
    QString error;
    QVERIFY(device.start(&error));
    QSignalSpy received(&device, &EmuDevice::segmentReceived);

    // As the host builds them (readings travel XOR 0x02): the mode byte sets
    // the length, 8 bytes or 17 for the four-zone mode; reads split anywhere,
    // garbage before a packet is skipped, and a packet cut short is dropped
    // after the idle time.
    const QByteArray single = hex("5A A5 00 FF 7D 00 2F 05");
    const QByteArray quad = hex("5A A5 03 FF 60 00 FF 40 00 FF 20 00 FF 00 00 3E 66");
    QVERIFY(device.feed(hex("A5 5A 00 5A") + single + quad.left(2), 0).isEmpty());
    QVERIFY(device.feed(quad.mid(2, 9), 1).isEmpty());
    QVERIFY(device.feed(quad.mid(11) + hex("5A A5 04 FF 00 00 FF 00") + quad.left(8), 2).isEmpty());
    QCOMPARE(device.deadlineMs(), 2 + SegmentFramer::kStalledPacketIdleMs);
    device.poll(device.deadlineMs() - 1);
    QCOMPARE(received.count(), 3);
    device.poll(device.deadlineMs());
    QCOMPARE(device.deadlineMs(), qint64(-1));
    device.feed(single, 500);
    device.finish();

    QCOMPARE(
        logLines(dir.path()),
        (QStringList{R"({"colours":["#FF7D00"],"mode":0,"size":8,"skipped":4,"temperature":45,"usage":7})",
                     R"({"colours":["#FF6000","#FF4000","#FF2000","#FF0000"],"mode":3,"size":17,)"
                     R"("temperature":60,"usage":100})",
                     R"({"colours":["#FF0000"],"mode":4,"size":8,"temperature":253,"usage":2})",
                     R"({"error":"incomplete packet dropped","hex":"5aa503ff6000ff40","size":8})",
                     R"({"colours":["#FF7D00"],"mode":0,"size":8,"temperature":45,"usage":7})"}));
    QCOMPARE(received.count(), 4);
}

void TestEmuDevice::unusableOutputFolderIsAnError()
{
    QTemporaryDir dir;
    const QString blocker = QDir(dir.path()).filePath("file");
    QVERIFY(writeFile(blocker, QByteArray()));

    EmuOptions options;
    options.outDir = QDir(blocker).filePath("out");
    EmuDevice device(options);
    QString error;
    QVERIFY(!device.start(&error));
    QVERIFY(error.contains(options.outDir));
}

QTEST_GUILESS_MAIN(TestEmuDevice)
#include "tst_emudevice.moc"
