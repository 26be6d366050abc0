// End to end: the real panelcast-emu binary on a pseudo-terminal, driven
// through its published link with QSerialPort, the way the application
// drives a device. What the emulator answers to each packet is checked in
// tst_emudevice; here: the ready line, the link's life and the run's end.
#include "emuprocess.h"
#include "packets.h"
#include "testfiles.h"

#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using TestFiles::hex;

namespace {
constexpr int kTimeoutMs = 5000;

bool isSymlink(const QString& path)
{
    struct stat st = {};
    return lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

// Opens the link as the application's serial adapter does.
bool openPort(QSerialPort& port, const QString& link)
{
    port.setPortName(link);
    port.setBaudRate(1000000);
    if (!port.open(QIODevice::ReadWrite)) {
        return false;
    }
    // A pty has no modem lines: these fail, and the port must still work.
    port.setDataTerminalReady(false);
    port.setRequestToSend(false);
    port.clearError();
    return true;
}

// Writes `request` in two pieces, like a slow serial write, and reads
// `count` bytes of answer (fewer on time-out).
QByteArray ask(QSerialPort& port, const QByteArray& request, int count)
{
    port.write(request.left(3));
    port.waitForBytesWritten(kTimeoutMs);
    port.write(request.mid(3));
    QByteArray received;
    while (received.size() < count && port.waitForReadyRead(kTimeoutMs)) {
        received += port.readAll();
    }
    return received;
}

// Waits for the emulator to end by itself or on SIGTERM; true on a clean exit.
bool endedCleanly(QProcess& process)
{
    return process.waitForFinished(kTimeoutMs) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

class TestEmuProcess : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void answersThroughItsLink();
    void refusedStartLeavesNoLink_data();
    void refusedStartLeavesNoLink();
};

void TestEmuProcess::initTestCase()
{
    QVERIFY2(QFileInfo(qEnvironmentVariable("PANELCAST_EMU")).isExecutable(), "PANELCAST_EMU not set");
}

void TestEmuProcess::answersThroughItsLink()
{
    const QByteArray request = Packets::search() + Packets::versionQuery();
    const QByteArray reply = hex("5A A5 00 90 00 00 00 00 01 E0 07 80") + hex("5A A5 00 81 00") +
                             QByteArray("PANELCAST-EMU V1.0 Dovaz Ezovava Ruviro");

    QTemporaryDir dir;
    const QString link = dir.filePath("ttyEMU");
    QVERIFY(QFile::link(QStringLiteral("/nonexistent/pts/99"), link)); // a stale link is replaced
    EmuProcess emu;
    QVERIFY2(emu.start({"--link", link, "--reply-len", "12", "--size", "480x1920", "--usb", "33C3:0E02"}),
             qPrintable(emu.errorText()));
    QCOMPARE(emu.virtualPortEntry(), link + "=33C3:0E02");
    QVERIFY(QFileInfo(link).symLinkTarget().startsWith(QStringLiteral("/dev/pts/")));

    QSerialPort port;
    QVERIFY2(openPort(port, link), qPrintable(port.errorString()));
    QCOMPARE(ask(port, request, reply.size()).toHex(' '), reply.toHex(' '));
    port.close();
    // Closing and opening again is not an unplug: the device still answers.
    QVERIFY(openPort(port, link));
    QCOMPARE(ask(port, request, reply.size()).toHex(' '), reply.toHex(' '));
    port.close();

    emu.process().terminate();
    QVERIFY(endedCleanly(emu.process()));
    QVERIFY2(!isSymlink(link), "link left behind after SIGTERM");
}

void TestEmuProcess::refusedStartLeavesNoLink_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("fileInTheWay");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("mentions");
    QTest::newRow("regular file in the way") << QStringList{} << true << 1 << QByteArray("not a symlink");
    QTest::newRow("bad option") << QStringList{"--reply-len", "11"} << false << 2
                                << QByteArray("--reply-len");
}

void TestEmuProcess::refusedStartLeavesNoLink()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, fileInTheWay);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, mentions);

    QTemporaryDir dir;
    const QString link = dir.filePath("ttyEMU");
    QFile file(link);
    if (fileInTheWay) {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep me");
        file.close();
    }
    QProcess process;
    process.start(qEnvironmentVariable("PANELCAST_EMU"), QStringList{"--link", link} + arguments);
    QVERIFY(process.waitForFinished(kTimeoutMs));
    QCOMPARE(process.exitCode(), exitCode);
    const QByteArray error = process.readAllStandardError();
    QVERIFY2(error.contains(mentions), error.constData());
    QVERIFY(fileInTheWay || error.count('\n') == 1); // one line for a bad option
    QVERIFY(!isSymlink(link));
    if (fileInTheWay) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("keep me"));
    }
}

QTEST_GUILESS_MAIN(TestEmuProcess)
#include "tst_emuprocess.moc"
