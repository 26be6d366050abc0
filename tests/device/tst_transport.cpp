#include "displayframer.h"
#include "h264decoder.h"
#include "h264encoder.h"
#include "packets.h"
#include "pixels.h"
#include "ptypair.h"
#include "testfiles.h"
#include "transport.h"

#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kWaitMs = 5000;

// The host's buffer as a device frames it; garbage before a packet or an
// unfinished tail shows up as code -1.
QVector<HostPacket> splitPackets(const QByteArray& bytes)
{
    DisplayFramer framer;
    QVector<HostPacket> packets = framer.feed(bytes, 0);
    if (framer.bufferedBytes() > 0) {
        packets.append(HostPacket{0, 0, {}, 1, false});
    }
    return packets;
}

QList<int> codesOf(const QVector<HostPacket>& packets)
{
    QList<int> codes;
    for (const HostPacket& p : packets) {
        codes << (p.skippedBefore > 0 ? -1 : p.command);
    }
    return codes;
}

// The emulator's decoder, as a device decodes each frame in place.
QImage decoded(H264Decoder& decoder, const QByteArray& unit)
{
    QImage image;
    QString error;
    return decoder.decode(unit, &image, &error) == H264Decoder::Picture ? image : QImage();
}

QImage flatImage(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// A search reply of 13 bytes, or 12 (no mode byte) when `mode` < 0.
QByteArray searchReply(int width, int height, int mode = -1)
{
    const QByteArray reply = QByteArray::fromHex("5AA5009000000000") + char(width >> 8) + char(width & 0xFF) +
                             char(height >> 8) + char(height & 0xFF);
    return mode < 0 ? reply : reply + char(mode);
}

const QByteArray kAck = QByteArray::fromHex("5AA5008F01");

// A transport on one side of a pseudo-terminal, the test on the device side.
// Everything the worker thread emits is collected in the test's thread.
class Harness
{
public:
    explicit Harness(int vid = 0x1F3A, int pid = 0x0007)
    {
        QObject::connect(
            &transport, &Transport::emitSendData, &context, [this](const QByteArray& b) { writes << b; },
            Qt::QueuedConnection);
        QObject::connect(
            &transport, &Transport::updateFirmwareState, &context, [this](bool ok) { states << ok; },
            Qt::QueuedConnection);
        transport.openDevice(pty.slavePath(), vid, pid);
        searchSeen = pty.readFromHost(9) == Packets::search();
    }

    ~Harness()
    {
        transport.requestInterruption();
        transport.quit();
        transport.wait();
    }

    // Sends one image and returns the one buffer it produced.
    QByteArray cycle(const QImage& image)
    {
        const int before = writes.size();
        transport.send(image);
        QDeadlineTimer deadline(kWaitMs);
        while (writes.size() == before && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return writes.size() > before ? writes.last() : QByteArray();
    }

    QByteArray wire(int count) { return pty.readFromHost(count, kWaitMs); }

    PtyPair pty;
    Transport transport;
    QObject context;
    QList<QByteArray> writes;
    QList<bool> states;
    bool searchSeen = false;
};

} // namespace

class TestTransport : public QObject
{
    Q_OBJECT

private slots:
    void controlPacketsPrecedeTheFrameExactlyOnce();
    void modeByteSuppressesFramesButNotControlPackets();
    void reconnectKeepsEncodingButWritesNothing_data();
    void reconnectKeepsEncodingButWritesNothing();
    void encoderSizeAndAcceptedImages_data();
    void encoderSizeAndAcceptedImages();
    void emptyFramesForTheUnencodedModel();
    void queueKeepsOnlyTheNewestImages();
    void uploadsMatchTheFileByteForByte_data();
    void uploadsMatchTheFileByteForByte();
    void uploadRefusesWhatIsNotAFile_data();
    void uploadRefusesWhatIsNotAFile();
};

void TestTransport::controlPacketsPrecedeTheFrameExactlyOnce()
{
    Harness h;
    QVERIFY(h.searchSeen);
    QTest::ignoreMessage(QtDebugMsg, "Transport::initEncoder: done, w=320,h=240");
    QCOMPARE(h.transport.setDeviceSize(320, 240), 0);
    h.transport.start();

    h.transport.setBrightness(50);
    h.transport.requestVersion();
    h.transport.setExpansionMode(false);

    H264Decoder decoder;
    QByteArray expectedWire;
    const QList<QList<int>> expectedCodes = {{0x80, 0x81, 0x91, 0x85}, {0x85}, {0x85}};
    for (int i = 0; i < expectedCodes.size(); ++i) {
        const QByteArray buffer = h.cycle(flatImage(320, 240, qRgb(200, 40 * i, 30)));
        const QVector<HostPacket> packets = splitPackets(buffer);
        QCOMPARE(codesOf(packets), expectedCodes.at(i));
        if (i == 0) {
            QCOMPARE(packets.at(0).payload, QByteArray(1, char(0x7F)));
            QCOMPARE(packets.at(1).payload, QByteArray(1, char(0x01)));
            QCOMPARE(packets.at(2).payload, QByteArray(1, char(0x00)));
        }
        const QImage picture = decoded(decoder, packets.last().payload);
        QCOMPARE(picture.size(), QSize(320, 240));
        QVERIFY(Pixels::near(picture.pixel(160, 120), qRgb(200, 40 * i, 30), 23));
        expectedWire += buffer;
    }
    // The wire carries exactly the buffers, each written once.
    QCOMPARE(h.wire(expectedWire.size()).toHex(), expectedWire.toHex());
    QCOMPARE(h.pty.drainFromHost(100), QByteArray());

    // Only the last brightness between two images goes out; an unchanged or
    // out-of-range one not at all, 0 like any other.
    const QList<QPair<QList<int>, QByteArray>> steps = {
        {{10, 60}, Packets::brightness(153)}, {{60, 101}, {}}, {{0}, Packets::brightness(0)}};
    for (const auto& step : steps) {
        for (int percent : step.first) {
            h.transport.setBrightness(percent);
        }
        const QByteArray buffer = h.cycle(flatImage(320, 240, 0));
        QCOMPARE(buffer.left(step.second.size()).toHex(), step.second.toHex());
        QCOMPARE(codesOf(splitPackets(buffer.mid(step.second.size()))), QList<int>{0x85});
    }
}

void TestTransport::modeByteSuppressesFramesButNotControlPackets()
{
    Harness h;
    QVERIFY(h.searchSeen);
    QSignalSpy found(&h.transport, &Transport::searchDeviceFinish);
    QSignalSpy info(&h.transport, &Transport::deviceInfo);
    // A 13-byte reply carries the mode byte; a 12-byte one means mode 0.
    for (const QByteArray& reply :
         {searchReply(480, 1920, 1), searchReply(360, 960), searchReply(320, 240, 1)}) {
        QVERIFY(h.pty.writeToHost(reply));
        QVERIFY(found.wait(kWaitMs));
        QCOMPARE(h.transport.expansionMode(), reply.size() == 13 ? 1 : 0);
    }
    QCOMPARE(found.last().first().toString(), h.pty.slavePath());
    QCOMPARE(QSize(h.transport.panelWidth(), h.transport.panelHeight()), QSize(320, 240));
    h.transport.setDeviceSize(320, 240);
    h.transport.start();
    const QImage image = flatImage(320, 240, qRgb(10, 20, 30));

    h.transport.requestVersion();
    h.transport.setBrightness(100);
    QCOMPARE(codesOf(splitPackets(h.cycle(image))), (QList<int>{0x80, 0x81}));
    QVERIFY(h.pty.writeToHost(QByteArray::fromHex("5AA5008100") + QByteArray("V1.2.3")));
    QVERIFY(info.wait(kWaitMs));
    QCOMPARE(info.first().first().toString(), QString("V1.2.3"));

    // Nothing due and no frame: the image is encoded, the write is empty.
    QCOMPARE(h.cycle(image), QByteArray());

    // Switching the mode off goes out with the next image, and that first
    // frame is a key frame a device decodes at once.
    h.transport.setExpansionMode(false);
    const QVector<HostPacket> packets = splitPackets(h.cycle(image));
    QCOMPARE(codesOf(packets), (QList<int>{0x91, 0x85}));
    QCOMPARE(packets.first().payload, QByteArray(1, char(0)));
    H264Decoder decoder;
    QCOMPARE(decoded(decoder, packets.last().payload).size(), QSize(320, 240));

    h.transport.setExpansionMode(true);
    QCOMPARE(splitPackets(h.cycle(image)).size(), 1); // 0x91 01 only
    QCOMPARE(h.writes.last(), Packets::expansionMode(true));
}

void TestTransport::reconnectKeepsEncodingButWritesNothing_data()
{
    QTest::addColumn<bool>("unplug");
    QTest::newRow("reconnect called") << false;
    QTest::newRow("device unplugged") << true;
}

void TestTransport::reconnectKeepsEncodingButWritesNothing()
{
    QFETCH(bool, unplug);
    Harness h;
    QVERIFY(h.transport.isConnected());
    QSignalSpy state(&h.transport.adapter(), &cdcTransport::usbConnectState);
    h.transport.setDeviceSize(320, 240);
    h.transport.start();
    const QByteArray first = h.cycle(flatImage(320, 240, qRgb(1, 2, 3)));
    QVERIFY(!first.isEmpty());
    QCOMPARE(h.wire(first.size()).size(), first.size());

    if (unplug) {
        QTest::ignoreMessage(QtDebugMsg, "reconnect");
        h.pty.closeMaster();
        QTRY_VERIFY_WITH_TIMEOUT(!h.transport.isOpen(), kWaitMs);
    } else {
        h.transport.reconnect();
        QVERIFY(!h.transport.isOpen());
    }
    QVERIFY(!h.transport.isConnected());
    QCOMPARE(state.count(), 1);
    QCOMPARE(state.first().first().toBool(), false);

    const int writesBefore = h.writes.size();
    for (int i = 0; i < 3; ++i) {
        h.transport.send(flatImage(320, 240, qRgb(1, 2, 3)));
        QTRY_COMPARE_WITH_TIMEOUT(h.transport.queuedImageCount(), 0, kWaitMs);
    }
    QCOMPARE(h.pty.drainFromHost(100), QByteArray());
    QCOMPARE(h.writes.size(), writesBefore);

    h.transport.reconnect(); // already closed: no second report
    QCOMPARE(state.count(), 1);
}

void TestTransport::encoderSizeAndAcceptedImages_data()
{
    QTest::addColumn<int>("vid");
    QTest::addColumn<int>("pid");
    QTest::addColumn<QSize>("panel");
    QTest::addColumn<QSize>("accepted");
    QTest::addColumn<QSize>("refused");
    QTest::addColumn<int>("sizeVariant");

    QTest::newRow("360x960 encodes 420 wide")
        << 0x1F3A << 0x0007 << QSize(360, 960) << QSize(420, 960) << QSize(360, 960) << 0;
    QTest::newRow("440x1920 encodes 480 wide")
        << 0x0D28 << 0xCCDD << QSize(440, 1920) << QSize(480, 1920) << QSize(440, 1920) << 2;
    QTest::newRow("462x1920 on 33C3:0E02 as is")
        << 0x33C3 << 0x0E02 << QSize(462, 1920) << QSize(462, 1920) << QSize(480, 1920) << 0;
    QTest::newRow("480x480 as is") << 0x1F3A << 0x0007 << QSize(480, 480) << QSize(480, 480)
                                   << QSize(480, 481) << 0;
}

void TestTransport::encoderSizeAndAcceptedImages()
{
    QFETCH(int, vid);
    QFETCH(int, pid);
    QFETCH(QSize, panel);
    QFETCH(QSize, accepted);
    QFETCH(QSize, refused);
    QFETCH(int, sizeVariant);

    Harness h(vid, pid);
    QVERIFY(h.searchSeen);
    QVERIFY(!h.transport.hasEncoder());
    h.transport.send(flatImage(accepted.width(), accepted.height(), 0));
    QCOMPARE(h.transport.queuedImageCount(), 0); // no encoder yet

    QTest::ignoreMessage(
        QtDebugMsg,
        qPrintable(
            QString("Transport::initEncoder: done, w=%1,h=%2").arg(accepted.width()).arg(accepted.height())));
    QCOMPARE(h.transport.setDeviceSize(panel.width(), panel.height()), 0);
    QVERIFY(h.transport.hasEncoder());
    QCOMPARE(QSize(h.transport.panelWidth(), h.transport.panelHeight()), panel);
    QCOMPARE(h.transport.sizeVariant(), sizeVariant);

    QTest::ignoreMessage(QtDebugMsg, "Transport::send: size is wrong");
    h.transport.send(flatImage(refused.width(), refused.height(), 0));
    QCOMPARE(h.transport.queuedImageCount(), 0);
    h.transport.send(flatImage(accepted.width(), accepted.height(), 0));
    QCOMPARE(h.transport.queuedImageCount(), 1);

    // Rebuilding drops what was queued for the old encoder. An odd height
    // cannot be coded as YUV 4:2:0: no encoder replaces the old one.
    QCOMPARE(h.transport.setDeviceSize(320, 241), 0);
    QVERIFY(!h.transport.hasEncoder());
    QCOMPARE(h.transport.panelWidth(), 0);
    QCOMPARE(h.transport.queuedImageCount(), 0);
    h.transport.send(flatImage(320, 241, 0));
    QCOMPARE(h.transport.queuedImageCount(), 0);
}

void TestTransport::emptyFramesForTheUnencodedModel()
{
    Harness h(0x0D28, 0xCCDD);
    h.transport.setDeviceSize(320, 240);
    h.transport.start();
    const QByteArray emptyFrame = QByteArray::fromHex("5AA5850000000000");
    QCOMPARE(h.cycle(flatImage(320, 240, qRgb(255, 0, 0))).toHex(), emptyFrame.toHex());
    h.transport.setBrightness(100);
    QCOMPARE(h.cycle(flatImage(320, 240, qRgb(255, 0, 0))).toHex(),
             (QByteArray::fromHex("5AA58000010000 00FF") + emptyFrame).toHex());
}

void TestTransport::queueKeepsOnlyTheNewestImages()
{
    Harness h;
    h.transport.setDeviceSize(320, 240);
    const QList<QRgb> colours = {qRgb(250, 0, 0), qRgb(0, 250, 0), qRgb(0, 0, 250), qRgb(250, 250, 0),
                                 qRgb(0, 250, 250)};
    for (int i = 0; i < colours.size(); ++i) {
        if (i >= Transport::kMaxQueuedImages) {
            QTest::ignoreMessage(QtDebugMsg, "Transport::send: frame queue full, dropped the oldest image");
        }
        h.transport.send(flatImage(320, 240, colours.at(i)));
    }
    QCOMPARE(h.transport.queuedImageCount(), Transport::kMaxQueuedImages);

    h.transport.start();
    QTRY_COMPARE_WITH_TIMEOUT(h.writes.size(), Transport::kMaxQueuedImages, kWaitMs);
    H264Decoder decoder;
    for (int i = 0; i < Transport::kMaxQueuedImages; ++i) {
        const QImage picture = decoded(decoder, splitPackets(h.writes.at(i)).last().payload);
        const QRgb expected = colours.at(colours.size() - Transport::kMaxQueuedImages + i);
        QVERIFY2(Pixels::near(picture.pixel(10, 10), expected, 23), qPrintable(QString::number(i)));
    }
    // Stopping the thread tears the encoder down.
    QTest::ignoreMessage(QtDebugMsg, "close thread, Transport::run");
    QTest::ignoreMessage(QtDebugMsg, "Transport::deinitEncoder: done");
    h.transport.requestInterruption();
    h.transport.quit();
    QVERIFY(h.transport.wait(kWaitMs));
    QVERIFY(!h.transport.hasEncoder());
    QCOMPARE(h.transport.panelWidth(), 0);
}

void TestTransport::uploadsMatchTheFileByteForByte_data()
{
    QTest::addColumn<int>("vid");
    QTest::addColumn<int>("pid");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("fileSize");
    QTest::addColumn<bool>("scrambled");
    // "code:length field" of each packet in turn; each carries the next bytes
    // of the file, as many as the length field says or as remain.
    QTest::addColumn<QString>("packets");
    QTest::addColumn<QList<bool>>("states");

    const QList<bool> success{true};
    QTest::newRow("firmware 5000 bytes, variant A") << 0x33C3 << 0x0E02 << 1 << "fw.bin" << 5000 << false
                                                    << "82:1024 83:1024 83:1024 83:1024 84:904" << success;
    QTest::newRow("firmware 5000 bytes, variant B")
        << 0x1F3A << 0x0007 << 1 << "fw.bin" << 5000 << true << "82:4088 84:912" << success;
    QTest::newRow("logo JPG upper case, variant A")
        << 0x33C3 << 0x8001 << 2 << "LOGO.JPG" << 5000 << false << "87:4096 89:904" << success;
    QTest::newRow("logo jpg, variant B")
        << 0x0D28 << 0xCCDD << 2 << "logo.jpg" << 5000 << false << "86:4088 89:912" << success;
    QTest::newRow("boot video, variant B") << 0x1F3A << 0x0007 << 2 << "boot_video.h264" << 10000 << false
                                           << "87:4088 88:4088 89:1824" << success;
    // Variant B waits 200 polls of 10 ms for each acknowledgement.
    QTest::newRow("never acknowledged: fails after 2 s")
        << 0x1F3A << 0x0007 << 1 << "fw.bin" << 5000 << true << "82:4088" << QList<bool>{false};
    QTest::newRow("one pack or less: start packet only")
        << 0x1F3A << 0x0007 << 1 << "fw.bin" << 3000 << true << "82:4088" << QList<bool>{};
    QTest::newRow("exactly one pack")
        << 0x33C3 << 0x0E02 << 2 << "logo.png" << 4096 << false << "87:4096" << QList<bool>{};
    QTest::newRow("empty file sends nothing")
        << 0x1F3A << 0x0007 << 1 << "fw.bin" << 0 << false << "" << QList<bool>{};
    QTest::newRow("unknown kind sends nothing")
        << 0x1F3A << 0x0007 << 3 << "fw.bin" << 5000 << false << "" << QList<bool>{};
}

void TestTransport::uploadsMatchTheFileByteForByte()
{
    QFETCH(int, vid);
    QFETCH(int, pid);
    QFETCH(int, kind);
    QFETCH(QString, fileName);
    QFETCH(int, fileSize);
    QFETCH(bool, scrambled);
    QFETCH(QString, packets);
    QFETCH(QList<bool>, states);

    QTemporaryDir dir;
    const QByteArray content = TestFiles::patterned(fileSize, 3);
    const QString path = dir.filePath(fileName);
    QVERIFY(TestFiles::writeFile(path, content));
    QByteArray sent = content;
    for (int i = 36; scrambled && i < sent.size(); ++i) {
        sent[i] = char(sent[i] ^ 0x02);
    }

    Harness h(vid, pid);
    QVERIFY(h.searchSeen);
    h.transport.requestUpgrade(kind, path);
    h.transport.start();

    // Play the device: acknowledge each packet once it has arrived.
    const QStringList expectedPackets = packets.split(' ', Qt::SkipEmptyParts);
    int from = 0;
    for (int i = 0; i < expectedPackets.size(); ++i) {
        QTRY_COMPARE_WITH_TIMEOUT(h.writes.size(), i + 1, kWaitMs);
        const int length = expectedPackets.at(i).section(':', 1).toInt();
        const QByteArray expected =
            Packets::buildWithLength(uint16_t(expectedPackets.at(i).section(':', 0, 0).toInt(nullptr, 16)),
                                     uint32_t(length), sent.mid(from, length));
        from += length;
        QVERIFY2(h.writes.at(i) == expected, qPrintable(QString("packet %1 payload differs").arg(i)));
        QCOMPARE(h.wire(expected.size()), expected);
        if (states != QList<bool>{false}) { // the device acknowledges
            QVERIFY(h.pty.writeToHost(kAck));
        }
    }
    QTRY_VERIFY_WITH_TIMEOUT(!h.transport.uploadPending(), kWaitMs);
    QCoreApplication::processEvents();
    QCOMPARE(h.writes.size(), expectedPackets.size());
    QCOMPARE(h.states, states);
    QCOMPARE(h.pty.drainFromHost(50), QByteArray());
}

void TestTransport::uploadRefusesWhatIsNotAFile_data()
{
    QTest::addColumn<QString>("kind");
    // A pipe would block the transport thread in open() until some writer
    // came; a device file reads without end (or, like /dev/null, as empty).
    QTest::newRow("missing file") << "/nonexistent/logo.jpg";
    QTest::newRow("named pipe") << "fifo";
    QTest::newRow("device file") << "/dev/null";
}

void TestTransport::uploadRefusesWhatIsNotAFile()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QString path = kind;
    if (kind == QLatin1String("fifo")) {
        path = dir.filePath("boot_video.h264");
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }
    Harness h;
    // Should the transport thread be stuck opening the pipe, a writer
    // appearing and leaving lets it go, so the test fails instead of hanging.
    const auto release = qScopeGuard([&path] {
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
            ::close(fd);
        }
    });
    h.transport.setDeviceSize(320, 240);
    QTest::ignoreMessage(QtDebugMsg, "open update file fail.");
    h.transport.requestUpgrade(Packets::UploadLogo, path);
    // Images are refused while an upload is pending...
    QVERIFY(h.transport.uploadPending());
    h.transport.send(flatImage(320, 240, 0));
    QCOMPARE(h.transport.queuedImageCount(), 0);
    h.transport.start();
    QTRY_COMPARE_WITH_TIMEOUT(h.states, QList<bool>{false}, kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!h.transport.uploadPending(), kWaitMs);
    QVERIFY(h.writes.isEmpty());
    // ...and taken again once it has failed.
    QVERIFY(!h.cycle(flatImage(320, 240, 0)).isEmpty());
}

QTEST_GUILESS_MAIN(TestTransport)
#include "tst_transport.moc"
