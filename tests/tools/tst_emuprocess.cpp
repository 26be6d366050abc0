// End to end: the real panelcast-emu binary on a pseudo-terminal, driven
// through its published link with the application's serial adapter. What the emulator answers to each packet
// is checked in tst_emudevice; here: the ready line, the link's life and the run's end.
#include "cdctransport.h"
#include "emuprocess.h"
#include "packets.h"
#include "processrun.h"
#include "testfiles.h"

#include <QSignalSpy>
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

// Writes `request` in two pieces, like a slow serial write, and collects
// `count` bytes of answer (fewer on time-out).
QByteArray ask(cdcTransport& adapter, const QByteArray& request, int count)
{
    QSignalSpy reads(&adapter, &cdcTransport::recvRead);
    adapter.slotSendData(request.left(3));
    adapter.slotSendData(request.mid(3));
    QByteArray received;
    while (received.size() < count && (!reads.isEmpty() || reads.wait(kTimeoutMs))) {
        received += reads.takeFirst().at(0).toByteArray();
    }
    return received;
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

    cdcTransport adapter;
    QSignalSpy errors(&adapter, &cdcTransport::emitError);
    QVERIFY(adapter.openPort(link));
    QCOMPARE(ask(adapter, request, reply.size()).toHex(' '), reply.toHex(' '));
    // Closing and opening again is not an unplug: the device still answers.
    adapter.closePort();
    QVERIFY(adapter.openPort(link));
    QCOMPARE(ask(adapter, request, reply.size()).toHex(' '), reply.toHex(' '));
    QCOMPARE(errors.count(), 0);

    // An emulator going away is a device being unplugged. The adapter only
    // reports; closing is its owner's decision.
    emu.process().terminate();
    QVERIFY(emu.process().waitForFinished(kTimeoutMs));
    QCOMPARE(emu.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(emu.process().exitCode(), 0);
    QVERIFY2(!isSymlink(link), "link left behind after SIGTERM");
    QVERIFY(errors.count() > 0 || errors.wait(kTimeoutMs));
    QVERIFY(adapter.isPortOpen());
    adapter.closePort();
    QVERIFY(!adapter.openPort(link));
}

void TestEmuProcess::refusedStartLeavesNoLink_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("fileInTheWay");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("regular file in the way") << QStringList{} << true << 1 << "not a symlink";
    QTest::newRow("bad option") << QStringList{"--reply-len", "11"} << false << 2 << "--reply-len";
}

void TestEmuProcess::refusedStartLeavesNoLink()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, fileInTheWay);
    QFETCH(int, exitCode);
    QFETCH(QString, mentions);

    QTemporaryDir dir;
    const QString link = dir.filePath("ttyEMU");
    QVERIFY(!fileInTheWay || TestFiles::writeFile(link, "keep me"));
    const ProcessRun run =
        ProcessRun::of(qEnvironmentVariable("PANELCAST_EMU"), QStringList{"--link", link} + arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(mentions), qPrintable(run.err));
    QVERIFY(fileInTheWay || run.err.count('\n') == 1); // one line for a bad option
    QVERIFY(!isSymlink(link));
    QVERIFY(!fileInTheWay || TestFiles::readAll(link) == "keep me");
}

QTEST_GUILESS_MAIN(TestEmuProcess)
#include "tst_emuprocess.moc"
