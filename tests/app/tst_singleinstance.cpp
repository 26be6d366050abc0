#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const char* const kStarted = "main: enter event loop";

// One run of the real executable, its stderr collected as it arrives.
class Instance
{
public:
    explicit Instance(const QProcessEnvironment& env)
    {
        m_process.setProcessEnvironment(env);
        QObject::connect(&m_process, &QProcess::readyReadStandardError,
                         [this] { m_stderr += m_process.readAllStandardError(); });
    }
    ~Instance()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    void start() { m_process.start(QStringLiteral(PANELCAST_APP_PATH), QStringList()); }
    QByteArray errorOutput()
    {
        m_stderr += m_process.readAllStandardError();
        return m_stderr;
    }
    QProcess& process() { return m_process; }

private:
    QProcess m_process;
    QByteArray m_stderr;
};

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void oneInstancePerUserWarnsInTheStoredLanguage();

private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
};

void TestSingleInstance::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QFile::exists(QStringLiteral(PANELCAST_APP_PATH)));
    m_env = QProcessEnvironment::systemEnvironment();
    m_env.insert("QT_QPA_PLATFORM", "offscreen");
    m_env.insert("PANELCAST_NO_MODAL", "1");
    m_env.insert("PANELCAST_DATA_DIR", m_dir.path() + "/data");
    m_env.insert("XDG_CONFIG_HOME", m_dir.path() + "/config");
    // A private runtime folder keeps these runs apart from a real Panelcast
    // and from parallel test runs.
    m_env.insert("XDG_RUNTIME_DIR", m_dir.path());
    // Users share one temporary folder.
    m_env.insert("TMPDIR", m_dir.path());
}

void TestSingleInstance::oneInstancePerUserWarnsInTheStoredLanguage()
{
    {
        Instance crashed(m_env);
        crashed.start();
        QTRY_VERIFY_WITH_TIMEOUT(crashed.errorOutput().contains(kStarted), 20000);
        crashed.process().kill(); // SIGKILL: no clean-up at all
        QVERIFY(crashed.process().waitForFinished(10000));
    }
    // The killed instance does not block the next.
    Instance first(m_env);
    first.start();
    QTRY_VERIFY_WITH_TIMEOUT(first.errorOutput().contains(kStarted), 20000);

    Instance second(m_env);
    second.start();
    QVERIFY(second.process().waitForFinished(20000));
    QCOMPARE(second.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.process().exitCode(), 255); // -1 as a process exit status
    QVERIFY2(second.errorOutput().contains("app is already running."), second.errorOutput().constData());
    QVERIFY(!second.errorOutput().contains(kStarted));

    // The warning follows the stored language.
    QSettings(m_dir.path() + "/data/baseInfo.cfg", QSettings::IniFormat).setValue("language/type", 5);
    Instance german(m_env);
    german.start();
    QVERIFY(german.process().waitForFinished(20000));
    QCOMPARE(german.process().exitCode(), 255);
    QVERIFY2(german.errorOutput().contains("Die Anwendung l"), german.errorOutput().constData());
    QVERIFY(!german.errorOutput().contains("app is already running."));

    // Another user: another runtime folder, the same temporary folder.
    QProcessEnvironment otherEnv = m_env;
    QVERIFY(QDir().mkpath(m_dir.path() + "/other"));
    otherEnv.insert("XDG_RUNTIME_DIR", m_dir.path() + "/other");
    Instance other(otherEnv);
    other.start();
    QTRY_VERIFY_WITH_TIMEOUT(other.errorOutput().contains(kStarted), 20000);
    // The first one is untouched by the attempts.
    QCOMPARE(first.process().state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
