#include "sensorexport.h"
#include "sensorfixtures.h"

#include <QTemporaryDir>
#include <QtTest>

class TestSensorExport : public QObject
{
    Q_OBJECT

private slots:
    void blocksFollowTheExportLayout();
    void valuesUseSixSignificantDigits_data();
    void valuesUseSixSignificantDigits();
    void fileIsUtf8AndUnwritableFailsQuietly();
};

void TestSensorExport::blocksFollowTheExportLayout()
{
    SensorReading disk;
    disk.deviceName = QStringLiteral("System");
    disk.label = QStringLiteral("Disk Total");
    disk.readingType = 130;
    disk.value = 1863;
    disk.unit = QStringLiteral("GB");
    SensorReading die;
    die.sensorIndex = 1;
    die.sensorName = QStringLiteral("CPU [#0]: AMD Ryzen 7 5800X");
    die.deviceName = QStringLiteral("AMD Ryzen 7 5800X");
    die.sensorClass = 11;
    die.label = QStringLiteral("CPU Die");
    die.subClass = 10;
    die.readingType = 1;
    die.value = 49.875;
    die.unit = QStringLiteral("°C");
    QCOMPARE(SensorExport::text({disk, die}), QStringLiteral("name:    \n"
                                                             "type:    130\n"
                                                             "sensor:  000  System\n"
                                                             "reading: 000  Disk Total\n"
                                                             "value:   1863GB\n"
                                                             "\n"
                                                             "name:    CPU [#0]: AMD Ryzen 7 5800X\n"
                                                             "type:    001\n"
                                                             "sensor:  011  AMD Ryzen 7 5800X\n"
                                                             "reading: 010  CPU Die\n"
                                                             "value:   49.875°C\n"
                                                             "\n"));
    QCOMPARE(SensorExport::text({}), QString());
}

void TestSensorExport::valuesUseSixSignificantDigits_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("line");
    QTest::newRow("millions in exponent form") << 1234567.0 << "value:   1.23457e+06MB";
    QTest::newRow("six digits stay fixed") << 123456.0 << "value:   123456MB";
    QTest::newRow("fraction rounded") << 3.14159265 << "value:   3.14159MB";
    QTest::newRow("tiny") << 0.0000123 << "value:   1.23e-05MB";
    QTest::newRow("negative") << -2.5 << "value:   -2.5MB";
    QTest::newRow("zero") << 0.0 << "value:   0MB";
}

void TestSensorExport::valuesUseSixSignificantDigits()
{
    QFETCH(double, value);
    QFETCH(QString, line);
    SensorReading r;
    r.value = value;
    r.unit = QStringLiteral("MB");
    QVERIFY(SensorExport::text({r}).split(QLatin1Char('\n')).contains(line));
}

void TestSensorExport::fileIsUtf8AndUnwritableFailsQuietly()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    QVERIFY(SensorExport::writeFile(path, QStringLiteral("value:   50°C\n\n")));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("value:   50\xc2\xb0"
                                        "C\n\n"));
    QVERIFY(!SensorExport::writeFile(dir.filePath(QStringLiteral("no/such/folder/out.txt")), "x"));
}

QTEST_APPLESS_MAIN(TestSensorExport)
#include "tst_sensorexport.moc"
