#include "systemportenumerator.h"
#include "testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(QList<SerialPortEntry>)

namespace {

int g_warnings = 0;

void countWarnings(QtMsgType type, const QMessageLogContext&, const QString&)
{
    g_warnings += type == QtWarningMsg ? 1 : 0;
}

// "path=vid:pid" of each port, only of those below dir when it is given.
QStringList names(const QList<SerialPortEntry>& ports, const QString& dir = QString())
{
    QStringList result;
    for (const SerialPortEntry& port : ports) {
        if (dir.isEmpty() || port.name.startsWith(dir + QLatin1Char('/'))) {
            result << QStringLiteral("%1=%2:%3")
                          .arg(port.name)
                          .arg(port.vendorId, 4, 16, QLatin1Char('0'))
                          .arg(port.productId, 4, 16, QLatin1Char('0'));
        }
    }
    return result;
}

} // namespace

class TestSystemPortEnumerator : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void parsesVirtualPortList_data();
    void parsesVirtualPortList();
    void virtualPortsFollowTheirPath();
};

void TestSystemPortEnumerator::cleanup()
{
    qunsetenv(SystemPortEnumerator::kVirtualPortsVariable);
}

void TestSystemPortEnumerator::parsesVirtualPortList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("rejected");

    QTest::newRow("empty") << QString() << QStringList() << QStringList();
    QTest::newRow("one display") << "/tmp/pc-emu0=1f3a:0007" << QStringList{"/tmp/pc-emu0=1f3a:0007"}
                                 << QStringList();
    QTest::newRow("several, in order")
        << "/tmp/b=33C3:8001;/tmp/a=1a86:FE00" << QStringList{"/tmp/b=33c3:8001", "/tmp/a=1a86:fe00"}
        << QStringList();
    QTest::newRow("0x prefix, short ids, spaces")
        << " /tmp/x = 0x0D28 : 0xccdd ; /tmp/y=1:2 " << QStringList{"/tmp/x=0d28:ccdd", "/tmp/y=0001:0002"}
        << QStringList();
    QTest::newRow("empty entries skipped")
        << ";;/tmp/a=1f3a:0007;" << QStringList{"/tmp/a=1f3a:0007"} << QStringList();
    QTest::newRow("path holding '='")
        << "/tmp/a=b=1f3a:0007" << QStringList{"/tmp/a=b=1f3a:0007"} << QStringList();
    QTest::newRow("path cleaned") << "/tmp//emu/./dev=1f3a:0007" << QStringList{"/tmp/emu/dev=1f3a:0007"}
                                  << QStringList();
    QTest::newRow("malformed entries skipped, good ones kept")
        << "/tmp/a=1f3a:0007;nonsense;/tmp/b=1f3a;relative/dev=1f3a:0007;/tmp/c=1f3a:7:1;"
           "/tmp/d=12345:0007;/tmp/e=zz:0007;=1f3a:0007;/tmp/f=-1:0007;/tmp/g=1f3a:"
        << QStringList{"/tmp/a=1f3a:0007"}
        << QStringList{"nonsense",        "/tmp/b=1f3a",       "relative/dev=1f3a:0007",
                       "/tmp/c=1f3a:7:1", "/tmp/d=12345:0007", "/tmp/e=zz:0007",
                       "=1f3a:0007",      "/tmp/f=-1:0007",    "/tmp/g=1f3a:"};
}

void TestSystemPortEnumerator::parsesVirtualPortList()
{
    QFETCH(QString, text);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, rejected);
    QStringList actualRejected;
    const QList<SerialPortEntry> parsed = SystemPortEnumerator::parseVirtualPorts(text, &actualRejected);
    QCOMPARE(names(parsed), entries);
    QCOMPARE(actualRejected, rejected);
}

void TestSystemPortEnumerator::virtualPortsFollowTheirPath()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString present = dir.filePath("present");
    const QString link = dir.filePath("link");
    const QString dangling = dir.filePath("dangling");
    const QString missing = dir.filePath("missing");
    QVERIFY(TestFiles::writeFile(present, QByteArray()));
    QVERIFY(QFile::link(present, link));
    QVERIFY(QFile::link(dir.filePath("nowhere"), dangling));

    qputenv(SystemPortEnumerator::kVirtualPortsVariable,
            QStringLiteral("%1=1f3a:0007;%2=1a86:fe00;%3=33c3:0e02;%4=33c3:8001;garbage;/tmp/x=1f3a")
                .arg(missing, present, dangling, link)
                .toLocal8Bit());

    SystemPortEnumerator enumerator;
    g_warnings = 0;
    const QtMessageHandler previous = qInstallMessageHandler(countWarnings);
    QCOMPARE(names(enumerator.availablePorts(), dir.path()),
             QStringList({present + "=1a86:fe00", link + "=33c3:8001"}));

    // The variable is read at every call, and a removed path takes its port
    // with it.
    QVERIFY(QFile::remove(link));
    QCOMPARE(names(enumerator.availablePorts(), dir.path()), QStringList({present + "=1a86:fe00"}));
    QVERIFY(QFile::link(present, missing));
    QCOMPARE(names(enumerator.availablePorts(), dir.path()),
             QStringList({missing + "=1f3a:0007", present + "=1a86:fe00"}));
    qInstallMessageHandler(previous);
    QCOMPARE(g_warnings, 2); // each malformed entry once, not at every call
    qunsetenv(SystemPortEnumerator::kVirtualPortsVariable);
    QVERIFY(names(enumerator.availablePorts(), dir.path()).isEmpty());
}

QTEST_GUILESS_MAIN(TestSystemPortEnumerator)
#include "tst_systemportenumerator.moc"
