// End to end: a Transport drives the panelcast-emu binary over its
// pseudo-terminal, and the emulator's own record (packets.jsonl, the decoded
// picture, the uploaded files) is compared with what was sent.
#include "devicemodels.h"
#include "packets.h"
#include "transport.h"

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

constexpr int kWaitMs = 5000;

class Emulator
{
public:
    Emulator()
        : m_link(m_dir.filePath(QStringLiteral("ttyEMU"))), m_out(m_dir.filePath(QStringLiteral("out")))
    {
    }

    ~Emulator() { stop(); }

    QString link() const { return m_link; }
    QString outDir() const { return m_out; }

    // Starts the binary and waits for the line announcing its link.
    bool start(const QStringList& extra)
    {
        const QString program = qEnvironmentVariable("PANELCAST_EMU");
        if (program.isEmpty()) {
            return false;
        }
        m_process.start(program, QStringList{"--link", m_link, "--out", m_out} + extra);
        QDeadlineTimer deadline(kWaitMs);
        while (!deadline.hasExpired() && m_process.state() != QProcess::NotRunning) {
            if (m_process.canReadLine()) {
                if (m_process.readLine().startsWith("PANELCAST_VIRTUAL_PORTS=")) {
                    return true;
                }
                continue;
            }
            m_process.waitForReadyRead(50);
        }
        return false;
    }

    void stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            ::kill(pid_t(m_process.processId()), SIGTERM);
            if (!m_process.waitForFinished(kWaitMs)) {
                m_process.kill();
                m_process.waitForFinished(kWaitMs);
            }
        }
    }

    QList<QJsonObject> log() const
    {
        QList<QJsonObject> entries;
        QFile file(QDir(m_out).filePath(QStringLiteral("packets.jsonl")));
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : file.readAll().split('\n')) {
                if (!line.isEmpty()) {
                    entries << QJsonDocument::fromJson(line).object();
                }
            }
        }
        return entries;
    }

    QStringList commands() const
    {
        QStringList codes;
        for (const QJsonObject& entry : log()) {
            codes << entry.value("cmd").toString();
        }
        return codes;
    }

    int decodedFrames() const
    {
        int frames = 0;
        for (const QJsonObject& entry : log()) {
            frames = qMax(frames, entry.value("frame").toInt());
        }
        return frames;
    }

    QStringList errors() const
    {
        QStringList found;
        for (const QJsonObject& entry : log()) {
            if (entry.contains("error")) {
                found << entry.value("error").toString();
            }
        }
        return found;
    }

private:
    QTemporaryDir m_dir;
    QString m_link;
    QString m_out;
    QProcess m_process;
};

// Opens the transport on the emulator and waits for the search to be answered.
bool identify(Transport& transport, const Emulator& emu, int vid, int pid)
{
    QSignalSpy found(&transport, &Transport::searchDeviceFinish);
    transport.openDevice(emu.link(), vid, pid);
    return transport.isOpen() && found.wait(kWaitMs);
}

void stopThread(Transport& transport)
{
    transport.requestInterruption();
    transport.quit();
    transport.wait();
}

// What the scene hands over: the picture, placed on a transparent image of
// the encoder's size when the model needs padding.
QImage framed(const QSize& panel, int vid, int pid, QRgb colour)
{
    const EncoderLayout layout = DeviceModels::encoderLayout(panel, vid, pid);
    QImage picture(panel, QImage::Format_ARGB32);
    picture.fill(colour);
    if (!layout.isPadded(panel)) {
        return picture;
    }
    QImage image(layout.encoderSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.drawImage(layout.pictureOffset, picture);
    return image;
}

int colourDistance(QRgb a, QRgb b)
{
    return qMax(qAbs(qRed(a) - qRed(b)), qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
}

} // namespace

class TestTransportEmu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void framesDecodeAtTheEncoderSize_data();
    void framesDecodeAtTheEncoderSize();
    void controlPacketsReachTheDeviceOnce();
    void expansionModeDeviceGetsNoFrames();
    void uploadedFileMatches_data();
    void uploadedFileMatches();

private:
    bool m_haveEmulator = false;
};

void TestTransportEmu::initTestCase()
{
    // Run by hand without PANELCAST_EMU there is no emulator to drive; an
    // emulator that answers --help but then fails to start is a failure.
    QProcess help;
    help.start(qEnvironmentVariable("PANELCAST_EMU"), {"--help"});
    m_haveEmulator = help.waitForFinished(kWaitMs) && help.readAllStandardOutput().contains("--link");
}

void TestTransportEmu::framesDecodeAtTheEncoderSize_data()
{
    QTest::addColumn<QString>("usb");
    QTest::addColumn<int>("vid");
    QTest::addColumn<int>("pid");
    QTest::addColumn<QSize>("panel");
    QTest::addColumn<QSize>("decoded");

    QTest::newRow("360x960 padded to 420")
        << "1F3A:0007" << 0x1F3A << 0x0007 << QSize(360, 960) << QSize(420, 960);
    QTest::newRow("462x1920 padded to 480")
        << "1F3A:0007" << 0x1F3A << 0x0007 << QSize(462, 1920) << QSize(480, 1920);
    QTest::newRow("462x1920 at its own width")
        << "33C3:0E02" << 0x33C3 << 0x0E02 << QSize(462, 1920) << QSize(462, 1920);
}

void TestTransportEmu::framesDecodeAtTheEncoderSize()
{
    if (!m_haveEmulator) {
        QSKIP("panelcast-emu cannot emulate a device here");
    }
    QFETCH(QString, usb);
    QFETCH(int, vid);
    QFETCH(int, pid);
    QFETCH(QSize, panel);
    QFETCH(QSize, decoded);

    Emulator emu;
    const QString size = QString("%1x%2").arg(panel.width()).arg(panel.height());
    QVERIFY(emu.start({"--size", size, "--usb", usb, "--png-every", "1"}));
    Transport transport;
    QVERIFY(identify(transport, emu, vid, pid));
    QCOMPARE(QSize(transport.panelWidth(), transport.panelHeight()), panel);
    transport.setDeviceSize(panel.width(), panel.height());
    transport.start();

    const QList<QRgb> colours = {qRgb(220, 40, 40), qRgb(40, 200, 60), qRgb(50, 60, 230)};
    for (int i = 0; i < colours.size(); ++i) {
        transport.send(framed(panel, vid, pid, colours.at(i)));
        QTRY_COMPARE_WITH_TIMEOUT(emu.decodedFrames(), i + 1, kWaitMs);
    }
    stopThread(transport);
    QCOMPARE(emu.errors(), QStringList());

    const QImage latest(QDir(emu.outDir()).filePath("latest.png"));
    QCOMPARE(latest.size(), decoded);
    const EncoderLayout layout = DeviceModels::encoderLayout(panel, vid, pid);
    const QPoint inside = layout.pictureOffset + QPoint(panel.width() / 2, panel.height() / 2);
    QVERIFY(colourDistance(latest.pixel(inside), colours.last()) < 24);
    if (layout.pictureOffset.x() > 0) {
        QVERIFY(colourDistance(latest.pixel(layout.pictureOffset.x() / 2, 10), qRgb(0, 0, 0)) < 24);
    }
    if (decoded.width() > panel.width() + layout.pictureOffset.x()) {
        QVERIFY(colourDistance(latest.pixel(decoded.width() - 4, 10), qRgb(0, 0, 0)) < 24);
    }
}

void TestTransportEmu::controlPacketsReachTheDeviceOnce()
{
    if (!m_haveEmulator) {
        QSKIP("panelcast-emu cannot emulate a device here");
    }
    Emulator emu;
    QVERIFY(emu.start({"--size", "320x240", "--usb", "1F3A:0007", "--version", "EMU 7.1"}));
    Transport transport;
    QSignalSpy info(&transport, &Transport::deviceInfo);
    QVERIFY(identify(transport, emu, 0x1F3A, 0x0007));
    transport.setDeviceSize(320, 240);
    transport.setBrightness(50);
    transport.requestVersion();
    transport.start();

    for (int i = 0; i < 3; ++i) {
        transport.send(framed(QSize(320, 240), 0x1F3A, 0x0007, qRgb(i * 60, 90, 90)));
        QTRY_COMPARE_WITH_TIMEOUT(emu.decodedFrames(), i + 1, kWaitMs);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!info.isEmpty(), kWaitMs);
    QCOMPARE(info.first().first().toString(), QString("EMU 7.1"));
    stopThread(transport);

    QCOMPARE(emu.commands(), (QStringList{"0x90", "0x80", "0x81", "0x85", "0x85", "0x85"}));
    QCOMPARE(emu.log().at(1).value("hex").toString(), QString("7f"));
    QCOMPARE(emu.errors(), QStringList());
}

void TestTransportEmu::expansionModeDeviceGetsNoFrames()
{
    if (!m_haveEmulator) {
        QSKIP("panelcast-emu cannot emulate a device here");
    }
    Emulator emu;
    QVERIFY(emu.start({"--size", "320x240", "--usb", "33C3:0E02", "--mode", "1"}));
    Transport transport;
    QSignalSpy info(&transport, &Transport::deviceInfo);
    QVERIFY(identify(transport, emu, 0x33C3, 0x0E02));
    QCOMPARE(transport.expansionMode(), 1);
    transport.setDeviceSize(320, 240);
    transport.start();
    transport.send(framed(QSize(320, 240), 0x33C3, 0x0E02, qRgb(1, 1, 1)));
    QTRY_COMPARE_WITH_TIMEOUT(transport.queuedImageCount(), 0, kWaitMs);
    transport.requestVersion();
    transport.send(framed(QSize(320, 240), 0x33C3, 0x0E02, qRgb(1, 1, 1)));
    QTRY_VERIFY_WITH_TIMEOUT(!info.isEmpty(), kWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(transport.queuedImageCount(), 0, kWaitMs);
    QCOMPARE(emu.commands(), (QStringList{"0x90", "0x81"}));

    // Switching the mode off goes out with the next image, and that first
    // frame is a key frame the device decodes at once.
    transport.setExpansionMode(false);
    transport.send(framed(QSize(320, 240), 0x33C3, 0x0E02, qRgb(1, 1, 1)));
    QTRY_COMPARE_WITH_TIMEOUT(emu.decodedFrames(), 1, kWaitMs);
    stopThread(transport);
    QCOMPARE(emu.commands(), (QStringList{"0x90", "0x81", "0x91", "0x85"}));
}

void TestTransportEmu::uploadedFileMatches_data()
{
    QTest::addColumn<QString>("usb");
    QTest::addColumn<int>("vid");
    QTest::addColumn<int>("pid");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("fileSize");
    QTest::addColumn<bool>("scrambled");
    QTest::addColumn<QStringList>("commands");

    QTest::newRow("firmware 5000 bytes, variant A")
        << "33C3:0E02" << 0x33C3 << 0x0E02 << 1 << "fw.bin" << 5000 << false
        << QStringList{"0x90", "0x82", "0x83", "0x83", "0x83", "0x84"};
    QTest::newRow("firmware 5000 bytes, variant B") << "1F3A:0007" << 0x1F3A << 0x0007 << 1 << "fw.bin"
                                                    << 5000 << true << QStringList{"0x90", "0x82", "0x84"};
    QTest::newRow("logo JPG upper case, variant B")
        << "1F3A:0007" << 0x1F3A << 0x0007 << 2 << "LOGO.JPG" << 9000 << false
        << QStringList{"0x90", "0x87", "0x88", "0x89"};
    QTest::newRow("boot video, variant A") << "33C3:8001" << 0x33C3 << 0x8001 << 2 << "boot_video.h264"
                                           << 9000 << false << QStringList{"0x90", "0x87", "0x88", "0x89"};
}

void TestTransportEmu::uploadedFileMatches()
{
    if (!m_haveEmulator) {
        QSKIP("panelcast-emu cannot emulate a device here");
    }
    QFETCH(QString, usb);
    QFETCH(int, vid);
    QFETCH(int, pid);
    QFETCH(int, kind);
    QFETCH(QString, fileName);
    QFETCH(int, fileSize);
    QFETCH(bool, scrambled);
    QFETCH(QStringList, commands);

    QTemporaryDir dir;
    QByteArray content(fileSize, Qt::Uninitialized);
    for (int i = 0; i < fileSize; ++i) {
        content[i] = char((i * 31 + i / 509) & 0xFF);
    }
    QFile file(dir.filePath(fileName));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    Emulator emu;
    QVERIFY(emu.start({"--size", "320x240", "--usb", usb}));
    Transport transport;
    QList<bool> states;
    QObject context;
    connect(
        &transport, &Transport::updateFirmwareState, &context, [&states](bool ok) { states << ok; },
        Qt::QueuedConnection);
    QVERIFY(identify(transport, emu, vid, pid));
    transport.requestUpgrade(kind, file.fileName());
    transport.start();
    QTRY_COMPARE_WITH_TIMEOUT(states, QList<bool>{true}, kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!transport.uploadPending(), kWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(emu.commands(), commands, kWaitMs);
    stopThread(transport);
    emu.stop();

    QByteArray expected = content;
    if (scrambled) {
        for (int i = 36; i < expected.size(); ++i) {
            expected[i] = char(expected[i] ^ 0x02);
        }
    }
    QFile received(QDir(emu.outDir()).filePath("upload-1.bin"));
    QVERIFY(received.open(QIODevice::ReadOnly));
    const QByteArray bytes = received.readAll();
    QCOMPARE(bytes.size(), expected.size());
    QVERIFY(bytes == expected);
    QCOMPARE(emu.errors(), QStringList());
}

QTEST_GUILESS_MAIN(TestTransportEmu)
#include "tst_transportemu.moc"
