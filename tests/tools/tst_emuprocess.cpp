// End to end: the real panelcast-emu binary on a pseudo-terminal, driven
// through its published link the way the application drives a device.
#include "emudevice.h"
#include "packets.h"
#include "testh264encoder.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kTimeoutMs = 5000;

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

QByteArray patterned(int size, int seed)
{
    QByteArray data(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i) {
        data[i] = char((i * 13 + seed) ^ (i >> 7));
    }
    return data;
}

bool isSymlink(const QString& path)
{
    struct stat st = {};
    return lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

QList<QJsonObject> readLog(const QString& dir)
{
    QList<QJsonObject> entries;
    QFile file(QDir(dir).filePath(QStringLiteral("packets.jsonl")));
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (!line.isEmpty()) {
                entries.append(QJsonDocument::fromJson(line).object());
            }
        }
    }
    return entries;
}

// One running emulator and the host's end of its link.
class Emulator
{
public:
    explicit Emulator(const QString& dir) : m_link(QDir(dir).filePath(QStringLiteral("ttyEMU"))) {}

    ~Emulator()
    {
        closeLink();
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(kTimeoutMs);
        }
    }

    QString link() const { return m_link; }
    QProcess& process() { return m_process; }

    // Starts the binary and waits for its ready line; empty on success.
    QString start(const QStringList& extra)
    {
        m_process.start(qEnvironmentVariable("PANELCAST_EMU"), QStringList{"--link", m_link} + extra);
        if (!m_process.waitForStarted(kTimeoutMs)) {
            return QStringLiteral("cannot start: %1").arg(m_process.errorString());
        }
        QElapsedTimer timer;
        timer.start();
        while (!m_stdout.contains('\n') && timer.elapsed() < kTimeoutMs) {
            if (!m_process.waitForReadyRead(kTimeoutMs - int(timer.elapsed()))) {
                break;
            }
            m_stdout += m_process.readAllStandardOutput();
        }
        const QByteArray line = m_stdout.left(m_stdout.indexOf('\n'));
        if (!line.startsWith("PANELCAST_VIRTUAL_PORTS=")) {
            return QStringLiteral("no ready line: %1 / %2")
                .arg(QString::fromLocal8Bit(m_stdout),
                     QString::fromLocal8Bit(m_process.readAllStandardError()));
        }
        m_readyLine = QString::fromLocal8Bit(line);
        return QString();
    }

    QString readyLine() const { return m_readyLine; }

    bool openLink()
    {
        m_fd = ::open(QFile::encodeName(m_link).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_fd < 0) {
            return false;
        }
        termios tio = {};
        tcgetattr(m_fd, &tio);
        cfmakeraw(&tio);
        return tcsetattr(m_fd, TCSANOW, &tio) == 0;
    }

    void closeLink()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

    bool send(const QByteArray& bytes)
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
            if (n < 0 && errno != EINTR) {
                return false;
            }
            done += qMax<ssize_t>(n, 0);
        }
        return true;
    }

    // Reads exactly count bytes, or what arrived before the time-out.
    QByteArray receive(int count, int timeoutMs = kTimeoutMs)
    {
        QByteArray out;
        QElapsedTimer timer;
        timer.start();
        while (out.size() < count && timer.elapsed() < timeoutMs) {
            pollfd pfd = {m_fd, POLLIN, 0};
            if (::poll(&pfd, 1, int(timeoutMs - timer.elapsed())) <= 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t n = ::read(m_fd, buffer, size_t(qMin<int>(count - out.size(), sizeof(buffer))));
            if (n > 0) {
                out.append(buffer, int(n));
            }
        }
        return out;
    }

    bool terminate()
    {
        ::kill(pid_t(m_process.processId()), SIGTERM);
        return finish();
    }

    bool finish()
    {
        if (!m_process.waitForFinished(kTimeoutMs)) {
            return false;
        }
        m_stdout += m_process.readAllStandardOutput();
        return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }

    QByteArray standardOutput() const { return m_stdout; }

private:
    QString m_link;
    QProcess m_process;
    QByteArray m_stdout;
    QString m_readyLine;
    int m_fd = -1;
};

} // namespace

class TestEmuProcess : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void searchAndVersionReplies_data();
    void searchAndVersionReplies();
    void answersThroughQSerialPort();
    void uploadsAreAcknowledgedAndWritten();
    void neverAcknowledges();
    void decodesFramesAndEndsAfterSeconds();
    void digitalPacketsAreLogged();
    void refusesToReplaceARegularFile();
    void replacesAStaleLink();
    void badOptionExitsWithTwo();
};

void TestEmuProcess::initTestCase()
{
    QVERIFY2(QFileInfo(qEnvironmentVariable("PANELCAST_EMU")).isExecutable(), "PANELCAST_EMU not set");
    av_log_set_level(AV_LOG_FATAL);
}

void TestEmuProcess::searchAndVersionReplies_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("readyPair");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("search, 13 bytes, default size")
        << QStringList{} << "1F3A:0007" << Packets::search() << hex("5A A5 00 90 00 00 00 00 01 E0 01 E0 00");
    QTest::newRow("search, 12 bytes, 480x1920")
        << QStringList{"--reply-len", "12", "--size", "480x1920"} << "1F3A:0007" << Packets::search()
        << hex("5A A5 00 90 00 00 00 00 01 E0 07 80");
    QTest::newRow("search, 13 bytes, 360x960 mode 1, other pair")
        << QStringList{"--size", "360x960", "--mode", "1", "--usb", "33C3:0E02"} << "33C3:0E02"
        << Packets::search() << hex("5A A5 00 90 00 00 00 00 01 68 03 C0 01");
    QTest::newRow("version") << QStringList{"--version", "Dovaz Ezovava Ruviro 2"} << "1F3A:0007"
                             << Packets::versionQuery()
                             << hex("5A A5 00 81 00") + QByteArray("Dovaz Ezovava Ruviro 2");
}

void TestEmuProcess::searchAndVersionReplies()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, readyPair);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);

    QTemporaryDir dir;
    Emulator emu(dir.path());
    const QString failure = emu.start(arguments);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(emu.readyLine(), QStringLiteral("PANELCAST_VIRTUAL_PORTS=%1=%2").arg(emu.link(), readyPair));
    QVERIFY(emu.openLink());
    // Split like a slow serial write.
    QVERIFY(emu.send(request.left(3)));
    QVERIFY(emu.send(request.mid(3)));
    QCOMPARE(emu.receive(reply.size()).toHex(' '), reply.toHex(' '));
    QVERIFY(emu.terminate());
}

void TestEmuProcess::answersThroughQSerialPort()
{
    // The application's serial adapter opens the link with QSerialPort.
    QTemporaryDir dir;
    Emulator emu(dir.path());
    const QString failure = emu.start({"--size", "320x240"});
    QVERIFY2(failure.isEmpty(), qPrintable(failure));

    QSerialPort port(emu.link());
    port.setBaudRate(1000000);
    QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
    // A pty has no modem lines: these fail, and the port must still work.
    port.setDataTerminalReady(false);
    port.setRequestToSend(false);
    port.clearError();

    port.write(Packets::search() + Packets::versionQuery());
    const QByteArray expected = hex("5A A5 00 90 00 00 00 00 01 40 00 F0 00") + hex("5A A5 00 81 00") +
                                QByteArray("PANELCAST-EMU V1.0 Dovaz Ezovava Ruviro");
    QByteArray received;
    while (received.size() < expected.size() && port.waitForReadyRead(kTimeoutMs)) {
        received += port.readAll();
    }
    QCOMPARE(received.toHex(' '), expected.toHex(' '));
    port.close();

    // Closing and opening again is not an unplug: the device still answers.
    QVERIFY(port.open(QIODevice::ReadWrite));
    port.write(Packets::search());
    received.clear();
    while (received.size() < 13 && port.waitForReadyRead(kTimeoutMs)) {
        received += port.readAll();
    }
    QCOMPARE(received.toHex(' '), expected.left(13).toHex(' '));
    port.close();
    QVERIFY(emu.terminate());
}

void TestEmuProcess::uploadsAreAcknowledgedAndWritten()
{
    QTemporaryDir dir;
    const QString out = QDir(dir.path()).filePath("out");
    Emulator emu(dir.path());
    const QString failure = emu.start({"--out", out});
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY(emu.openLink());
    const QByteArray ack = EmuDevice::acknowledgeReply();

    // Stop and wait, as the host uploads: 1024-byte packs of a firmware.
    const QByteArray firmware = patterned(2500, 5);
    QVERIFY(emu.send(Packets::buildWithLength(0x82, 1024, firmware.left(1024))));
    QCOMPARE(emu.receive(ack.size()), ack);
    QVERIFY(emu.send(Packets::buildWithLength(0x83, 1024, firmware.mid(1024, 1024))));
    QCOMPARE(emu.receive(ack.size()), ack);
    QVERIFY(emu.send(Packets::build(0x84, firmware.mid(2048))));
    QCOMPARE(emu.receive(ack.size()), ack);

    // A logo that fits one pack: the acknowledgement comes once the
    // emulator has seen nothing more for a moment.
    const QByteArray logo = patterned(777, 6);
    QVERIFY(emu.send(Packets::buildWithLength(0x86, 4096, logo)));
    QCOMPARE(emu.receive(ack.size()), ack);

    QVERIFY(isSymlink(emu.link()));
    QVERIFY(emu.terminate());
    QVERIFY2(!QFileInfo::exists(emu.link()) && !isSymlink(emu.link()), "link left behind after SIGTERM");

    QFile first(QDir(out).filePath("upload-1.bin"));
    QVERIFY(first.open(QIODevice::ReadOnly));
    QCOMPARE(first.readAll(), firmware);
    QFile second(QDir(out).filePath("upload-2.bin"));
    QVERIFY(second.open(QIODevice::ReadOnly));
    QCOMPARE(second.readAll(), logo);
}

void TestEmuProcess::neverAcknowledges()
{
    QTemporaryDir dir;
    Emulator emu(dir.path());
    const QString failure = emu.start({"--ack", "never", "--reply-len", "12"});
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY(emu.openLink());
    // Replies keep their order, so had the upload packet been acknowledged
    // the acknowledgement would come before the search reply.
    QVERIFY(emu.send(Packets::buildWithLength(0x82, 4088, QByteArray(4088, char(0x33))) + Packets::search()));
    const QByteArray expected = hex("5A A5 00 90 00 00 00 00 01 E0 01 E0");
    QCOMPARE(emu.receive(expected.size()).toHex(' '), expected.toHex(' '));
    QVERIFY(emu.terminate());
}

void TestEmuProcess::decodesFramesAndEndsAfterSeconds()
{
    const QSize size(64, 64);
    TestH264Encoder encoder(size);
    QVERIFY2(encoder.isOpen(), qPrintable(encoder.error()));

    QTemporaryDir dir;
    const QString out = QDir(dir.path()).filePath("out");
    Emulator emu(dir.path());
    const QString failure = emu.start({"--out", out, "--size", "64x64", "--seconds", "1.5"});
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY(emu.openLink());
    QElapsedTimer sinceReady;
    sinceReady.start();

    const QColor colour(230, 120, 20);
    for (int i = 0; i < 3; ++i) {
        const QByteArray unit = encoder.encode(colour);
        QVERIFY(!unit.isEmpty());
        QVERIFY(emu.send(Packets::frame(unit)));
    }
    // The version reply proves the frames ahead of it were handled.
    QVERIFY(emu.send(Packets::versionQuery()));
    const QByteArray version = emu.receive(5);
    QCOMPARE(version.toHex(' '), hex("5A A5 00 81 00").toHex(' '));
    const bool decodedWithinFirstSecond = sinceReady.elapsed() < 800;

    const QList<QJsonObject> log = readLog(out);
    QCOMPARE(log.size(), 4);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(log[i].value("cmd").toString(), QStringLiteral("0x85"));
        QCOMPARE(log[i].value("frame").toInt(), i + 1);
        QCOMPARE(log[i].value("len").toInt(), log[i].value("size").toInt());
    }
    // Three frames are fewer than --png-every's default: no picture yet.
    QVERIFY(!QFile::exists(QDir(out).filePath("latest.png")));

    // --seconds ends the run by itself, removing the link and saving the
    // final frame.
    emu.closeLink();
    QVERIFY(emu.finish());
    QVERIFY(!isSymlink(emu.link()));
    const QImage latest(QDir(out).filePath("latest.png"));
    QCOMPARE(latest.size(), size);
    for (const QPoint& p : {QPoint(1, 1), QPoint(32, 32), QPoint(62, 62)}) {
        const QColor c = latest.pixelColor(p);
        QVERIFY2(qAbs(c.red() - colour.red()) < 16 && qAbs(c.green() - colour.green()) < 16 &&
                     qAbs(c.blue() - colour.blue()) < 16,
                 qPrintable(c.name()));
    }

    const QList<QByteArray> lines = emu.standardOutput().split('\n');
    int fpsLines = 0;
    int fpsSum = 0;
    for (const QByteArray& line : lines) {
        if (line.startsWith("fps: ")) {
            ++fpsLines;
            fpsSum += line.mid(5).toInt();
        }
    }
    QVERIFY2(fpsLines >= 1 && fpsSum <= 3, emu.standardOutput().constData());
    if (decodedWithinFirstSecond) {
        QVERIFY2(lines.contains("fps: 3"), emu.standardOutput().constData());
    }
}

void TestEmuProcess::digitalPacketsAreLogged()
{
    QTemporaryDir dir;
    const QString out = QDir(dir.path()).filePath("out");
    Emulator emu(dir.path());
    const QString failure = emu.start({"--family", "digital", "--out", out});
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY(emu.readyLine().endsWith("=1A86:FE00"));
    QVERIFY(emu.openLink());

    QVERIFY(emu.send(Packets::segmentSingle(0, 0x7F3E00, 52, 9)));
    QVERIFY(emu.send(Packets::segmentQuad(3, {0xFF6000, 0xFF4000, 0xFF2000, 0xFF0000}, 71, 100)));
    QTRY_COMPARE_WITH_TIMEOUT(readLog(out).size(), 2, kTimeoutMs);

    const QList<QJsonObject> log = readLog(out);
    QCOMPARE(QJsonDocument(log[0]).toJson(QJsonDocument::Compact).contains("\"colours\":[\"#7F3E00\"]"),
             true);
    QCOMPARE(log[0].value("temperature").toInt(), 52);
    QCOMPARE(log[0].value("usage").toInt(), 9);
    QCOMPARE(log[0].value("size").toInt(), 8);
    QCOMPARE(log[1].value("mode").toInt(), 3);
    QCOMPARE(log[1].value("size").toInt(), 17);
    QCOMPARE(log[1].value("colours").toArray().size(), 4);
    QCOMPARE(log[1].value("colours").toArray().at(3).toString(), QStringLiteral("#FF0000"));
    QCOMPARE(log[1].value("temperature").toInt(), 71);
    QCOMPARE(log[1].value("usage").toInt(), 100);
    QVERIFY(emu.terminate());
    QVERIFY(!isSymlink(emu.link()));
}

void TestEmuProcess::refusesToReplaceARegularFile()
{
    QTemporaryDir dir;
    Emulator emu(dir.path());
    QFile file(emu.link());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();

    emu.process().start(qEnvironmentVariable("PANELCAST_EMU"), {"--link", emu.link()});
    QVERIFY(emu.process().waitForFinished(kTimeoutMs));
    QCOMPARE(emu.process().exitCode(), 1);
    QVERIFY(emu.process().readAllStandardError().contains("not a symlink"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("keep me"));
}

void TestEmuProcess::replacesAStaleLink()
{
    QTemporaryDir dir;
    Emulator emu(dir.path());
    QVERIFY(QFile::link(QStringLiteral("/nonexistent/pts/99"), emu.link()));
    const QString failure = emu.start({});
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY(QFileInfo(emu.link()).symLinkTarget().startsWith(QStringLiteral("/dev/pts/")));
    QVERIFY(emu.terminate());
    QVERIFY(!isSymlink(emu.link()));
}

void TestEmuProcess::badOptionExitsWithTwo()
{
    QTemporaryDir dir;
    Emulator emu(dir.path());
    emu.process().start(qEnvironmentVariable("PANELCAST_EMU"), {"--link", emu.link(), "--reply-len", "11"});
    QVERIFY(emu.process().waitForFinished(kTimeoutMs));
    QCOMPARE(emu.process().exitCode(), 2);
    const QByteArray error = emu.process().readAllStandardError();
    QCOMPARE(error.count('\n'), 1);
    QVERIFY(error.contains("--reply-len"));
    QVERIFY(!isSymlink(emu.link()));
}

QTEST_GUILESS_MAIN(TestEmuProcess)
#include "tst_emuprocess.moc"
