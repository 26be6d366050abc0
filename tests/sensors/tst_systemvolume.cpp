#include "processrun.h"
#include "systemvolume.h"
#ifndef Q_OS_WIN
#include "pulsevolumebackend.h"
#endif

#include <QTemporaryDir>
#include <QtTest>

class TestSystemVolume : public QObject
{
    Q_OBJECT

private slots:
    void percentIsRoundedAndClamped_data();
    void percentIsRoundedAndClamped();
#ifndef Q_OS_WIN
    void pulseVolumeReturnsAfterServerRestart();
#endif
};

void TestSystemVolume::percentIsRoundedAndClamped_data()
{
    QTest::addColumn<bool>("pulse"); // a PulseAudio volume against its norm, else a mixer's range
    QTest::addColumn<long>("value");
    QTest::addColumn<long>("min");
    QTest::addColumn<long>("max");
    QTest::addColumn<int>("percent");
    const long norm = 0x10000;
    QTest::newRow("pulse 0.125 rounds half away from zero") << true << norm / 8 << 0L << norm << 13;
    QTest::newRow("pulse half") << true << norm / 2 << 0L << norm << 50;
    QTest::newRow("pulse muted") << true << 0L << 0L << norm << 0;
    QTest::newRow("pulse full") << true << norm << 0L << norm << 100;
    QTest::newRow("pulse boosted to 150 %") << true << norm + norm / 2 << 0L << norm << 100;
    QTest::newRow("middle of 0..87") << false << 44L << 0L << 87L << 51;
    QTest::newRow("offset range") << false << -30L << -60L << 0L << 50;
    QTest::newRow("empty range") << false << 5L << 5L << 5L << 0;
    QTest::newRow("above max") << false << 200L << 0L << 100L << 100;
}

void TestSystemVolume::percentIsRoundedAndClamped()
{
    QFETCH(bool, pulse);
    QFETCH(long, value);
    QFETCH(long, min);
    QFETCH(long, max);
    QFETCH(int, percent);
    QCOMPARE(pulse ? SystemVolume::percentFromPulseVolume(quint32(value), quint32(max))
                   : SystemVolume::percentFromRange(value, min, max),
             percent);
}

#ifndef Q_OS_WIN
void TestSystemVolume::pulseVolumeReturnsAfterServerRestart()
{
    // A private sound server in a temporary folder: no D-Bus, no display, no
    // real session touched.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString socket = dir.filePath("native");
    const QHash<QString, QString> overrides = {
        {"HOME", dir.path()},
        {"XDG_RUNTIME_DIR", dir.path()},
        {"PULSE_RUNTIME_PATH", dir.filePath("pulse")},
        {"PULSE_SERVER", "unix:" + socket},
        {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + dir.filePath("no-bus")},
        {"DISPLAY", QString()}};
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (auto it = overrides.begin(); it != overrides.end(); ++it) {
        it.value().isNull() ? env.remove(it.key()) : env.insert(it.key(), it.value());
    }
    QProcess server;
    server.setProcessEnvironment(env);
    server.setProgram("pulseaudio");
    server.setArguments({"-n", "--daemonize=no", "--system=false", "--exit-idle-time=-1", "--disable-shm",
                         "--use-pid-file=no", "-L", "module-null-sink", "-L",
                         "module-native-protocol-unix auth-anonymous=1 socket=" + socket});
    const auto setVolume = [&overrides](int percent) {
        return ProcessRun::of("pactl", {"set-sink-volume", "@DEFAULT_SINK@", QString::number(percent) + '%'},
                              overrides, 5000)
                   .exitCode == 0;
    };
    server.start();
    if (!server.waitForStarted(5000)) {
        QSKIP("the pulseaudio program cannot be started here");
    }
    QTRY_VERIFY_WITH_TIMEOUT(setVolume(37) || server.state() == QProcess::NotRunning, 10000);
    if (server.state() == QProcess::NotRunning) {
        QSKIP(qPrintable("pulseaudio does not run here: " + server.readAllStandardError().right(300)));
    }

    // Every new connection, the ones after the restart too, finds the private server.
    const QByteArray sessionServer = qgetenv("PULSE_SERVER");
    const bool hadServer = qEnvironmentVariableIsSet("PULSE_SERVER");
    qputenv("PULSE_SERVER", env.value(QStringLiteral("PULSE_SERVER")).toLocal8Bit());
    const auto restore =
        qScopeGuard([&] { hadServer ? qputenv("PULSE_SERVER", sessionServer) : qunsetenv("PULSE_SERVER"); });
    std::vector<std::unique_ptr<VolumeBackend>> backends;
    backends.push_back(createPulseVolumeBackend());
    SystemVolume volume(std::move(backends));
    volume.initialise();
    QCOMPARE(volume.backendName(), QStringLiteral("pulseaudio"));
    QTRY_COMPARE(volume.volume(), 37);

    server.kill(); // a crash: no goodbye to the clients
    QVERIFY(server.waitForFinished(5000));
    QTRY_COMPARE(volume.volume(), 0);

    server.start();
    QVERIFY(server.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(setVolume(64), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(volume.volume(), 64, 10000);
    server.kill();
    server.waitForFinished(5000);
}
#endif

QTEST_GUILESS_MAIN(TestSystemVolume)
#include "tst_systemvolume.moc"
