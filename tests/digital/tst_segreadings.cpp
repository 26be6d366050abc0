// Which sensor records feed the temperature and usage of a segment panel.
#include "segreadings.h"

#include <QtTest>

namespace {

SensorReading record(const char* sensor, int cls, const char* label, int sub, int type, double value)
{
    SensorReading r;
    r.sensorName = QString::fromLatin1(sensor);
    r.sensorClass = cls;
    r.label = QString::fromLatin1(label);
    r.subClass = sub;
    r.readingType = type;
    r.value = value;
    return r;
}

// A catalogue with decoys ahead of the records each rule should find.
QVector<SensorReading> catalogue()
{
    return {
        record("CPU [#0]: Intel Core i7", 11, "Core Max", 10, 1, 11),          // 0 CPU temp, no DTS
        record("CPU [#0]: Intel Core i7: DTS", 11, "Core Max", 10, 1, 61.9),   // 1 CPU temp, DTS
        record("CPU [#0]: Intel Core i7", 11, "Core 0 Usage", 10, 7, 12),      // 2 CPU usage, not total
        record("CPU [#0]: Intel Core i7", 11, "Total CPU Usage", 10, 7, 23.7), // 3 CPU usage, total
        record("GPU [#0]: NVIDIA", 13, "GPU Temperature", 10, 1, 48.2),        // 4 GPU temp, sub 10
        record("GPU [#0]: AMD Radeon", 13, "GPU Temperature", 101, 1, 55.5),   // 5 GPU temp, sub 101
        record("GPU [#0]: NVIDIA", 13, "GPU Core Load", 101, 7, 5),            // 6 GPU usage, not D3D
        record("GPU [#0]: NVIDIA", 13, "GPU D3D Usage", 101, 7, 77.9),         // 7 GPU usage, D3D
        record("CPU [#0]: Intel Core i7: DTS", 11, "GPU Temp", 10, 1, 99),     // 8 igpu decoy: DTS
        record("CPU [#0]: Intel Core i7: Enhanced", 11, "GPU Temperature", 10, 1, 44), // 9 igpu temp
        record("CPU [#0]: Intel Core i7: Enhanced", 11, "GPU D3D Usage", 101, 7, 31),  // 10 igpu usage
    };
}

} // namespace

class tst_SegReadings : public QObject
{
    Q_OBJECT

private slots:
    void selection_data();
    void selection();
    void missingRecordKeepsPreviousValue_data();
    void missingRecordKeepsPreviousValue();
};

void tst_SegReadings::selection_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<bool>("intel");
    QTest::addColumn<bool>("igpu");
    QTest::addColumn<int>("temperatureIndex");
    QTest::addColumn<int>("usageIndex");

    QTest::newRow("Intel CPU: DTS sensor, Total CPU Usage label") << 0 << true << false << 1 << 3;
    QTest::newRow("AMD CPU: first records of the class") << 0 << false << false << 0 << 2;
    QTest::newRow("Intel GPU: class 13 sub-class 10, D3D label") << 1 << true << false << 4 << 7;
    QTest::newRow("AMD GPU: sub-class 101, any usage label") << 1 << false << false << 5 << 6;
    QTest::newRow("Intel integrated GPU: class 11, not DTS") << 1 << true << true << 0 << 10;
    // The integrated-GPU flag only counts with an Intel CPU.
    QTest::newRow("AMD with the flag set") << 1 << false << true << 5 << 6;
}

void tst_SegReadings::selection()
{
    QFETCH(int, source);
    QFETCH(bool, intel);
    QFETCH(bool, igpu);
    QFETCH(int, temperatureIndex);
    QFETCH(int, usageIndex);

    const SegReadings::Machine machine{intel, igpu};
    QCOMPARE(SegReadings::temperatureRecord(catalogue(), source, machine), temperatureIndex);
    QCOMPARE(SegReadings::usageRecord(catalogue(), source, machine), usageIndex);
}

void tst_SegReadings::missingRecordKeepsPreviousValue_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("expected");

    QTest::newRow("no record") << 50.0 << -1 << 17;
    QTest::newRow("index past the end") << 50.0 << 5 << 17;
    QTest::newRow("truncates") << 61.9 << 0 << 61;
    QTest::newRow("truncates toward zero") << -2.7 << 0 << -2;
    QTest::newRow("not a number") << std::nan("") << 0 << 17;
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 0 << 17;
    QTest::newRow("huge is bounded") << 1e300 << 0 << 1000000000;
}

void tst_SegReadings::missingRecordKeepsPreviousValue()
{
    QFETCH(double, value);
    QFETCH(int, index);
    QFETCH(int, expected);
    const QVector<SensorReading> one = {record("x", 11, "y", 10, 1, value)};
    QCOMPARE(SegReadings::wholeValue(one, index, 17), expected);
}

QTEST_APPLESS_MAIN(tst_SegReadings)
#include "tst_segreadings.moc"
