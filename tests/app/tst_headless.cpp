// `panelcast --headless` and the window as real processes against
// panelcast-emu: the stored theme streams, plugs and unplugs are followed,
// SIGTERM ends the service at once, the window owns the devices while it runs,
// and a second window of the same user is refused in the stored language.
#include "baseinfo.h"
#include "controlchannel.h"
#include "dispscene.h"
#include "editorpanels.h"
#include "fakethemedialogs.h"
#include "testemulator.h"
#include "themestorage.h"

#include <QJsonArray>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kWaitMs = 10000;
const char* const kStarted = "main: enter event loop";
using Role = ControlChannel::Role;

// One panelcast process of the test's environment, its stderr collected.
class App
{
public:
    App(const QProcessEnvironment& env, const QStringList& arguments)
    {
        m_process.setProcessEnvironment(env);
        QObject::connect(&m_process, &QProcess::readyReadStandardError,
                         [this] { m_stderr += m_process.readAllStandardError(); });
        m_process.start(QStringLiteral(PANELCAST_APP_PATH), arguments);
    }
    ~App()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    QProcess& process() { return m_process; }
    QByteArray log()
    {
        m_stderr += m_process.readAllStandardError();
        return m_stderr;
    }

private:
    QProcess m_process;
    QByteArray m_stderr;
};

// The status a role's process answers, or an empty object.
QJsonObject statusOf(Role role)
{
    QJsonObject status;
    QString error;
    ControlChannel::queryStatus(ControlChannel::socketPath(role), &status, &error);
    return status;
}

// "state" of the process and "state fps" of each of its devices, e.g. "driving: streaming".
QString summary(Role role)
{
    const QJsonObject status = statusOf(role);
    if (status.isEmpty()) {
        return QStringLiteral("none");
    }
    QStringList devices;
    for (const QJsonValue& device : status.value(QStringLiteral("devices")).toArray()) {
        devices << device.toObject().value(QStringLiteral("state")).toString();
    }
    return status.value(QStringLiteral("state")).toString() + ": " + devices.join(QLatin1Char(' '));
}

} // namespace

#define START(emu, ...) QVERIFY2((emu).start(__VA_ARGS__), qPrintable((emu).errorText()))

class TestHeadless : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void serviceAndWindowShareTheDevicesOneOfEachPerUser();

private:
    QProcessEnvironment environment() const;

    QTemporaryDir m_dir;
    QString m_themeFile;
};

void TestHeadless::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // The test reads the same data and runtime folders as the processes it starts.
    qputenv("PANELCAST_DATA_DIR", (m_dir.path() + "/data").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit());
    FakeThemeDialogs dialogs;
    ThemeStorage writer(&dialogs);
    DispScene scene;
    scene.setSceneRect(0, 0, 480, 480);
    EditorPanels panels{PanelEnvironment()};
    panels.installInto(writer);
    panels.attach(&scene, 480, 480);
    writer.setDevice(480, 480, QString());
    QVERIFY(writer.saveTheme(ThemeStorage::libraryFolder(480, 480, true) + "/desk"));
    QVERIFY(writer.saveTheme(ThemeStorage::libraryFolder(480, 480, true) + "/alpha"));
    // The stored theme, not the first of the list, is the one streamed.
    m_themeFile = ThemeStorage::libraryFolder(480, 480, true) + "/theme_desk/desk.theme";
    BaseInfo::setThemePath(BaseInfo::sizeGroup(480, 480), m_themeFile);
}

QProcessEnvironment TestHeadless::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("PANELCAST_NO_MODAL", "1");
    env.insert("XDG_CONFIG_HOME", m_dir.path() + "/config");
    env.insert("TMPDIR", m_dir.path());
    env.insert("QT_LOGGING_RULES", "panelcast.app.debug=true;panelcast.scene.debug=true");
    return env;
}

void TestHeadless::serviceAndWindowShareTheDevicesOneOfEachPerUser()
{
    TestEmulator emu;
    START(emu, "480x480", "1F3A:0007");
    TestEmulator::publish({&emu});
    const QProcessEnvironment env = environment();
    QProcessEnvironment serviceEnv = env;
    serviceEnv.remove("QT_QPA_PLATFORM"); // the service picks the off-screen platform itself
    App service(serviceEnv, {QStringLiteral("--headless")});

    QTRY_VERIFY_WITH_TIMEOUT(emu.decodedFrames() > 5, kWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(summary(Role::Headless), QStringLiteral("driving: streaming"), kWaitMs);
    const auto device = [] { return statusOf(Role::Headless).value("devices").toArray().first().toObject(); };
    QCOMPARE(device().value("port").toString(), emu.link());
    QCOMPARE(device().value("size").toString(), QStringLiteral("480x480"));
    QCOMPARE(device().value("theme").toString(), m_themeFile);
    QTRY_VERIFY_WITH_TIMEOUT(device().value("fps").toInt() > 10, kWaitMs);

    // panelcast-ctl status prints the same.
    QProcess ctl;
    ctl.start(qEnvironmentVariable("PANELCAST_CTL"), {QStringLiteral("status")});
    QVERIFY(ctl.waitForFinished(kWaitMs));
    const QString printed = QString::fromLocal8Bit(ctl.readAllStandardOutput());
    QVERIFY2(printed.contains("headless (pid ") &&
                 printed.contains(emu.link() + "\tdisplay\t1F3A:0007\t480x480\tstreaming") &&
                 printed.contains("last error: none"),
             qPrintable(printed));

    // Unplugged and back: the device is dropped, then streams again.
    emu.stop();
    QTRY_COMPARE_WITH_TIMEOUT(summary(Role::Headless), QStringLiteral("driving: "), kWaitMs);
    START(emu, "480x480", "1F3A:0007");
    QTRY_VERIFY_WITH_TIMEOUT(emu.decodedFrames() > 5, kWaitMs);

    // Starting the window at log-on is left to the window's first start.
    QVERIFY(!QFile::exists(m_dir.path() + "/config/autostart/panelcast.desktop"));

    // The window starts: the service lets go first, the window streams alone.
    {
        App window(env, {});
        QTRY_COMPARE_WITH_TIMEOUT(summary(Role::Window), QStringLiteral("driving: streaming"), kWaitMs);
        QCOMPARE(summary(Role::Headless), QStringLiteral("standing by: "));
        const int frames = emu.decodedFrames();
        QTRY_VERIFY_WITH_TIMEOUT(emu.decodedFrames() > frames + 5, kWaitMs);

        // One service per user: a second one is refused.
        App second(env, {QStringLiteral("--headless")});
        QVERIFY(second.process().waitForFinished(kWaitMs));
        QCOMPARE(second.process().exitCode(), 1);
        QVERIFY2(second.log().contains("another panelcast process answers"), second.log().constData());
    }

    // The window ended (SIGKILL, no clean-up): the service takes the device back.
    QTRY_COMPARE_WITH_TIMEOUT(summary(Role::Headless), QStringLiteral("driving: streaming"), kWaitMs);
    const int frames = emu.decodedFrames();
    QTRY_VERIFY_WITH_TIMEOUT(emu.decodedFrames() > frames + 5, kWaitMs);

    // SIGTERM: within a second, every port closed on the way out.
    QElapsedTimer clock;
    clock.start();
    service.process().terminate();
    QVERIFY(service.process().waitForFinished(1000));
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(service.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(service.process().exitCode(), 0);
    QVERIFY2(service.log().contains("HeadlessRunner::quit") && service.log().contains("clearThread finish"),
             service.log().constData());
    QCOMPARE(summary(Role::Headless), QStringLiteral("none"));

    // A service started while the window runs stands by until the window ends;
    // the killed window before does not block this one.
    App window(env, {});
    QTRY_COMPARE_WITH_TIMEOUT(summary(Role::Window), QStringLiteral("driving: streaming"), kWaitMs);
    App late(env, {QStringLiteral("--headless")});
    QTRY_COMPARE_WITH_TIMEOUT(summary(Role::Headless), QStringLiteral("standing by: "), kWaitMs);
    QTest::qWait(1500);
    QCOMPARE(summary(Role::Headless), QStringLiteral("standing by: "));
    QCOMPARE(summary(Role::Window), QStringLiteral("driving: streaming"));

    // A second window is refused (-1 as exit status), warning in the stored language.
    for (const char* warning : {"app is already running.", "Die Anwendung l"}) {
        App second(env, {});
        QVERIFY(second.process().waitForFinished(kWaitMs));
        QCOMPARE(second.process().exitCode(), 255);
        QVERIFY2(second.log().contains(warning) && !second.log().contains(kStarted),
                 second.log().constData());
        QSettings(BaseInfo::filePath(), QSettings::IniFormat).setValue("language/type", 5);
    }
    // Another user: another runtime folder, the same temporary folder.
    QProcessEnvironment otherUser = env;
    QVERIFY(QDir().mkpath(m_dir.path() + "/other"));
    otherUser.insert("XDG_RUNTIME_DIR", m_dir.path() + "/other");
    otherUser.insert("PANELCAST_VIRTUAL_PORTS", QString());
    App other(otherUser, {});
    QTRY_VERIFY_WITH_TIMEOUT(other.log().contains(kStarted), kWaitMs);
    QCOMPARE(window.process().state(), QProcess::Running);
}

QTEST_MAIN(TestHeadless)
#include "tst_headless.moc"
