#include "devicescanner.h"

#include <QtTest>

#include <memory>

namespace {

// A port list the test sets before each scan.
class FakeEnumerator : public PortEnumerator
{
public:
    QList<SerialPortEntry> ports;
    int calls = 0;

    QList<SerialPortEntry> availablePorts() override
    {
        ++calls;
        return ports;
    }
};

// "name=vid:pid name=vid:pid ..." with hexadecimal ids.
QList<SerialPortEntry> portList(const QString& text)
{
    QList<SerialPortEntry> ports;
    const QStringList items = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& item : items) {
        const QStringList nameAndIds = item.split(QLatin1Char('='));
        const QStringList ids = nameAndIds.value(1).split(QLatin1Char(':'));
        ports.append({nameAndIds.value(0), ids.value(0).toInt(nullptr, 16), ids.value(1).toInt(nullptr, 16)});
    }
    return ports;
}

} // namespace

class TestDeviceScanner : public QObject
{
    Q_OBJECT

private slots:
    void scansReportArrivalsAndRemovals_data();
    void scansReportArrivalsAndRemovals();
    void timerScansEveryPeriod();
};

void TestDeviceScanner::scansReportArrivalsAndRemovals_data()
{
    QTest::addColumn<QStringList>("scans");
    QTest::addColumn<QStringList>("events");

    QTest::newRow("first scan inserts every known port in listed order")
        << QStringList{"ttyS0=0:0 ttyACM3=1f3a:7 ttyACM1=1a86:fe00 ttyUSB0=1a86:7523 ttyACM0=33c3:8001"}
        << QStringList{"+ttyACM3 1f3a 7", "+ttyACM1 1a86 fe00", "+ttyACM0 33c3 8001"};
    QTest::newRow("unchanged or reordered list reports nothing")
        << QStringList{"a=1f3a:7 b=1a86:fe00", "a=1f3a:7 b=1a86:fe00", "b=1a86:fe00 a=1f3a:7"}
        << QStringList{"+a 1f3a 7", "+b 1a86 fe00"};
    QTest::newRow("added in new order, then removed in previous order")
        << QStringList{"a=1f3a:7 b=d28:ccdd c=33c3:e02 d=1a86:fe00", "e=33c3:8001 b=d28:ccdd f=1f3a:7"}
        << QStringList{"+a 1f3a 7", "+b d28 ccdd", "+c 33c3 e02", "+d 1a86 fe00", "+e 33c3 8001",
                       "+f 1f3a 7", "-a 1f3a 7",   "-c 33c3 e02", "-d 1a86 fe00"};
    QTest::newRow("same name with other ids is the same port")
        << QStringList{"ttyACM0=1f3a:7", "ttyACM0=33c3:8001"} << QStringList{"+ttyACM0 1f3a 7"};
    QTest::newRow("names compare exactly")
        << QStringList{"ttyACM0=1f3a:7", "TTYACM0=1f3a:7"}
        << QStringList{"+ttyACM0 1f3a 7", "+TTYACM0 1f3a 7", "-ttyACM0 1f3a 7"};
    QTest::newRow("a port whose ids become unknown is removed")
        << QStringList{"ttyACM0=1f3a:7", "ttyACM0=0:0"} << QStringList{"+ttyACM0 1f3a 7", "-ttyACM0 1f3a 7"};
    QTest::newRow("replugged port arrives again")
        << QStringList{"ttyACM0=1f3a:7", "", "ttyACM0=1f3a:7"}
        << QStringList{"+ttyACM0 1f3a 7", "-ttyACM0 1f3a 7", "+ttyACM0 1f3a 7"};
}

void TestDeviceScanner::scansReportArrivalsAndRemovals()
{
    QFETCH(QStringList, scans);
    QFETCH(QStringList, events);
    auto owned = std::make_unique<FakeEnumerator>();
    FakeEnumerator* enumerator = owned.get();
    DeviceScanner scanner(std::move(owned));
    // Both signals in the order they came: "+port vid pid" for an
    // insertion, "-port vid pid" for a removal, ids in hex.
    QStringList log;
    const auto record = [&log](char kind) {
        return [&log, kind](const QString& port, int vid, int pid) {
            log << QStringLiteral("%1%2 %3 %4")
                       .arg(QLatin1Char(kind))
                       .arg(port)
                       .arg(vid, 0, 16)
                       .arg(pid, 0, 16);
        };
    };
    connect(&scanner, &DeviceScanner::deviceInserted, this, record('+'));
    connect(&scanner, &DeviceScanner::deviceRemoved, this, record('-'));
    // A receiver may scan again from its slot; that adds no events.
    bool rescanned = false;
    connect(&scanner, &DeviceScanner::deviceInserted, &scanner, [&] {
        if (!std::exchange(rescanned, true)) {
            scanner.scan();
        }
    });

    for (const QString& scan : qAsConst(scans)) {
        enumerator->ports = portList(scan);
        scanner.scan();
    }
    QCOMPARE(log, events);

    // What the scanner keeps is the known part of the last list.
    QList<SerialPortEntry> expected;
    for (const SerialPortEntry& port : portList(scans.last())) {
        if (DeviceScanner::isKnownPair(port.vendorId, port.productId)) {
            expected << port;
        }
    }
    QVERIFY(scanner.knownPorts() == expected);
}

void TestDeviceScanner::timerScansEveryPeriod()
{
    auto owned = std::make_unique<FakeEnumerator>();
    FakeEnumerator* enumerator = owned.get();
    enumerator->ports = portList("ttyACM0=1f3a:7");
    DeviceScanner scanner(std::move(owned));
    QSignalSpy inserted(&scanner, &DeviceScanner::deviceInserted);
    QSignalSpy removed(&scanner, &DeviceScanner::deviceRemoved);

    scanner.start();
    QCOMPARE(enumerator->calls, 0); // the first scan comes with the first tick
    QVERIFY(inserted.wait(DeviceScanner::kIntervalMs * 4));
    QCOMPARE(inserted.at(0).at(0).toString(), QStringLiteral("ttyACM0"));

    enumerator->ports.clear();
    QVERIFY(removed.wait(DeviceScanner::kIntervalMs * 4));
    QCOMPARE(inserted.count(), 1);
}

QTEST_GUILESS_MAIN(TestDeviceScanner)
#include "tst_devicescanner.moc"
