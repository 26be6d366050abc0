#include "replaysensorlibrary.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

class TestReplaySensorLibrary : public QObject
{
    Q_OBJECT

private slots:
    void recordBytesFollowTheLibraryLayout();
    void badSnapshotsAreRefused_data();
    void badSnapshotsAreRefused();
    void textsStayInsideTheirFields();

private:
    QTemporaryDir m_dir;
    // The snapshot file, written into the test's folder.
    QString writeFile(const QString& name, const QByteArray& content)
    {
        return TestFiles::writeFile(m_dir.filePath(name), content) ? m_dir.filePath(name) : QString();
    }
};

void TestReplaySensorLibrary::recordBytesFollowTheLibraryLayout()
{
    ReplaySensorLibrary library(
        writeFile("one.json", R"({"sensors":[{"name":"N","readings":[{"type":5,"class":11,"subclass":10,)"
                              R"("device":"Dev","label":"CPU Package Power","unit":"W","value":-2.5}]}]})"));
    QVERIFY(library.load());
    QCOMPARE(library.start(SensorLibrary::kStartFlags), 0);
    library.updateReadings();
    SensorLibraryRecord record;
    record.clear();
    QCOMPARE(library.readReading(5, 0, 0, &record) & 0xFF, 1);

    QByteArray bytes(reinterpret_cast<const char*>(&record), int(sizeof(record)));
    QCOMPARE(bytes.size(), 464);
    QCOMPARE(bytes.at(0), char(1));
    // -2.5 as a little-endian IEEE double.
    QCOMPARE(bytes.mid(8, 8).toHex(), QByteArray("00000000000004c0"));
    QCOMPARE(bytes.mid(16, 2), QByteArray("W\0", 2));
    QCOMPARE(bytes.mid(48, 4).toHex(), QByteArray("0b000000"));
    QCOMPARE(bytes.mid(60, 4), QByteArray("Dev\0", 4));
    QCOMPARE(bytes.mid(316, 4).toHex(), QByteArray("0a000000"));
    QCOMPARE(bytes.mid(328, 18), QByteArray("CPU Package Power\0", 18));
    QCOMPARE(bytes.mid(456, 4).toHex(), QByteArray("05000000"));
    QCOMPARE(bytes.mid(460, 4).toHex(), QByteArray("00000000"));
}

void TestReplaySensorLibrary::badSnapshotsAreRefused_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("startResult");
    QTest::newRow("not JSON") << QByteArray("{\"sensors\": [") << int(ReplaySensorLibrary::NotJson);
    QTest::newRow("an array at the top") << QByteArray("[]") << int(ReplaySensorLibrary::NotJson);
    QTest::newRow("binary junk") << QByteArray("\x00\xff\xfe\x01", 4) << int(ReplaySensorLibrary::NotJson);
    QTest::newRow("sensor without a name")
        << QByteArray(R"({"sensors":[{"readings":[]}]})") << int(ReplaySensorLibrary::BadStructure);
    QTest::newRow("reading type out of range")
        << QByteArray(R"({"sensors":[{"name":"a","readings":[{"type":9,"class":0,"subclass":0}]}]})")
        << int(ReplaySensorLibrary::BadStructure);
    QTest::newRow("class is text")
        << QByteArray(R"({"sensors":[{"name":"a","readings":[{"type":1,"class":"x","subclass":0}]}]})")
        << int(ReplaySensorLibrary::BadStructure);
    QTest::newRow("fractional subclass")
        << QByteArray(R"({"sensors":[{"name":"a","readings":[{"type":1,"class":1,"subclass":0.5}]}]})")
        << int(ReplaySensorLibrary::BadStructure);
    QTest::newRow("no sensors at all is fine") << QByteArray("{}") << int(ReplaySensorLibrary::Started);
}

void TestReplaySensorLibrary::badSnapshotsAreRefused()
{
    QFETCH(QByteArray, content);
    QFETCH(int, startResult);
    ReplaySensorLibrary library(writeFile(QStringLiteral("bad.json"), content));
    QVERIFY(library.load());
    QCOMPARE(library.start(SensorLibrary::kStartFlags), startResult);
    QCOMPARE(library.sensorCount(), 0);
}

void TestReplaySensorLibrary::textsStayInsideTheirFields()
{
    // 127 bytes of "é" (2 bytes each) cannot end on a half character.
    const QString label(100, QChar(0x00E9));
    const QByteArray json =
        R"({"sensors":[{"name":"n","readings":[{"type":1,"class":11,"subclass":10,"label":")" +
        label.toUtf8() + R"("}]}]})";
    ReplaySensorLibrary library(writeFile(QStringLiteral("long.json"), json));
    QVERIFY(library.load());
    QCOMPARE(library.start(SensorLibrary::kStartFlags), 0);
    SensorLibraryRecord record;
    record.clear();
    QVERIFY(library.readReading(1, 0, 0, &record) & 0xFF);
    QCOMPARE(record.labelText(), QString(63, QChar(0x00E9)));
    QCOMPARE(record.label[127], '\0');

    // A library that fills a field to the brim without a terminator must not
    // make the reader run into the next field.
    std::memset(record.unit, 'x', sizeof(record.unit));
    std::memset(record.label, 'y', sizeof(record.label));
    record.readingType = 0x41414141;
    QCOMPARE(record.unitText(), QString(32, QLatin1Char('x')));
    QCOMPARE(record.labelText(), QString(128, QLatin1Char('y')));
}

QTEST_APPLESS_MAIN(TestReplaySensorLibrary)
#include "tst_replaysensorlibrary.moc"
