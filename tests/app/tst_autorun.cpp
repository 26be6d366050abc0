#include "autorun.h"
#include "testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestAutoRun : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void entryFollowsTheXdgConfigHome();
    void registerAndRemove();
    void execValueQuotingRoundTrips_data();
    void execValueQuotingRoundTrips();
    void handWrittenEntriesAreRead_data();
    void handWrittenEntriesAreRead();

private:
    void writeEntry(const QByteArray& content);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestAutoRun::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("XDG_CONFIG_HOME", (m_dir->path() + "/config").toLocal8Bit());
}

void TestAutoRun::writeEntry(const QByteArray& content)
{
    QVERIFY(TestFiles::writeFile(AutoRun::autostartFilePath(), content));
}

void TestAutoRun::entryFollowsTheXdgConfigHome()
{
    QCOMPARE(AutoRun::autostartFilePath(), m_dir->path() + "/config/autostart/panelcast.desktop");

    qunsetenv("XDG_CONFIG_HOME");
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", m_dir->path().toLocal8Bit());
    const QString path = AutoRun::autostartFilePath();
    qputenv("HOME", home);
    QCOMPARE(path, m_dir->path() + "/.config/autostart/panelcast.desktop");
}

void TestAutoRun::registerAndRemove()
{
    const QString exe = AutoRun::currentExecutable();
    QVERIFY(!AutoRun::isRegistered(exe));

    QVERIFY(AutoRun::setRegistered(true, exe));
    QVERIFY(AutoRun::isRegistered());

    QFile file(AutoRun::autostartFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(content.startsWith("[Desktop Entry]\n"));
    QVERIFY(content.contains("\nType=Application\n"));
    QVERIFY(content.contains("\nExec=" + exe.toUtf8() + "\n"));

    QVERIFY(AutoRun::setRegistered(false, exe));
    QVERIFY(!QFile::exists(AutoRun::autostartFilePath()));
    // Removing what is not there is no failure.
    QVERIFY(AutoRun::setRegistered(false, exe));

    // Registered for a program that has moved since reads as not registered.
    const QString oldPlace = m_dir->path() + "/old/panelcast";
    QVERIFY(AutoRun::setRegistered(true, oldPlace));
    QVERIFY(AutoRun::isRegistered(oldPlace));
    QVERIFY(!AutoRun::isRegistered(m_dir->path() + "/new/panelcast"));
    QVERIFY(!AutoRun::isRegistered(oldPlace + "-2"));
    QVERIFY(!AutoRun::isRegistered(m_dir->path() + "/old/panelcas"));
}

void TestAutoRun::execValueQuotingRoundTrips_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("exec");

    QTest::newRow("space") << "/home/a b/panelcast"
                           << "\"/home/a b/panelcast\"";
    QTest::newRow("dollar and quote") << "/tmp/$x\"y/panelcast"
                                      << "\"/tmp/\\\\$x\\\\\"y/panelcast\"";
    QTest::newRow("backslash") << "/tmp/a\\b/panelcast"
                               << "\"/tmp/a\\\\\\\\b/panelcast\"";
    QTest::newRow("percent") << "/tmp/100%/panelcast"
                             << "/tmp/100%%/panelcast";
    QTest::newRow("unicode") << QString::fromUtf8("/home/jörg/Programme/panelcast")
                             << QString::fromUtf8("/home/jörg/Programme/panelcast");
}

void TestAutoRun::execValueQuotingRoundTrips()
{
    QFETCH(QString, program);
    QFETCH(QString, exec);
    QCOMPARE(AutoRun::quoteExec(program), exec);
    QCOMPARE(AutoRun::unquoteExec(exec), program);

    // And through a real entry file.
    QVERIFY(AutoRun::setRegistered(true, program));
    QVERIFY(AutoRun::isRegistered(program));
}

void TestAutoRun::handWrittenEntriesAreRead_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("registered");

    QTest::newRow("bare path") << QByteArray("[Desktop Entry]\nType=Application\nExec=/usr/bin/panelcast\n")
                               << true;
    QTest::newRow("with argument") << QByteArray("[Desktop Entry]\nExec=/usr/bin/panelcast --tray\n") << true;
    QTest::newRow("quoted") << QByteArray("[Desktop Entry]\nExec=\"/usr/bin/panelcast\"\n") << true;
    QTest::newRow("spaces around") << QByteArray("[Desktop Entry]\n Exec = /usr/bin/panelcast \n") << true;
    QTest::newRow("other program") << QByteArray("[Desktop Entry]\nExec=/usr/bin/other\n") << false;
    QTest::newRow("exec in action group")
        << QByteArray("[Desktop Action x]\nExec=/usr/bin/panelcast\n") << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe[Desktop Entry\nExec", 19) << false;
    QTest::newRow("unterminated quote")
        << QByteArray("[Desktop Entry]\nExec=\"/usr/bin/panelcast\n") << false;
    QTest::newRow("over 200 KiB") << QByteArray("[Desktop Entry]\nExec=/usr/bin/panelcast\n") +
                                         QByteArray(200 * 1024, '#')
                                  << false;
}

void TestAutoRun::handWrittenEntriesAreRead()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, registered);
    writeEntry(content);
    QCOMPARE(AutoRun::isRegistered("/usr/bin/panelcast"), registered);
}

QTEST_GUILESS_MAIN(TestAutoRun)
#include "tst_autorun.moc"
