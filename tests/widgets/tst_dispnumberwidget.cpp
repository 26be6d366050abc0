#include "dispnumberwidget.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace {

using Entry = DispNumberWidget::TableEntry;

struct Record
{
    double value;
    QString unit;
};

// Catalogue records 0..3 and a table of five display types.
const QVector<Record> kCatalogue = {
    {57.9, QStringLiteral("°C")},
    {3.987, QStringLiteral("V")},
    {-2.7, QStringLiteral("W")},
    {5.6, QStringLiteral("GB")},
    {10.7, QStringLiteral("GB")},
    // Readings a sensor source should not give, but may.
    {std::nan(""), QStringLiteral("V")},
    {std::numeric_limits<double>::infinity(), QStringLiteral("°C")},
    {1e30, QStringLiteral("RPM")},
    {-0.5, QStringLiteral("W")},
    {-1e30, QStringLiteral("GB")},
};

QVector<Entry> table()
{
    return {
        {0, 0, QString()},                            // a temperature
        {1, 1, QString()},                            // a voltage
        {2, 2, QString()},                            // a negative reading
        {3, 3, QString()},                            // used memory
        {4, 4, QString()},                            // free memory
        {5, 0xFF01, QString()},                       // total: the sum of 4 and 3
        {6, 0xFFFF, QStringLiteral("Intel Core i7")}, // a name
        {7, 0xFF00, QString()},                       // nothing bound
        {8, 42, QString()},                           // a record that is gone
        {9, 5, QString()},                            // not a number, in volts
        {10, 6, QString()},                           // infinite
        {11, 7, QString()},                           // beyond any integer type
        {12, 8, QString()},                           // truncates to zero from below
        {13, 9, QString()},                           // a huge negative reading
        {14, 0xFF01, QString()},                      // the sum of -1e30 and -0.5
    };
}
bool readRecord(quint32 index, double* value, QString* unit)
{
    if (index >= quint32(kCatalogue.size())) {
        return false;
    }
    *value = kCatalogue[int(index)].value;
    *unit = kCatalogue[int(index)].unit;
    return true;
}

} // namespace

class TestDispNumberWidget : public QObject
{
    Q_OBJECT

private slots:
    void valueTextFollowsTheTable_data();
    void valueTextFollowsTheTable();
};

void TestDispNumberWidget::valueTextFollowsTheTable_data()
{
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QString>("expected");
    QTest::newRow("truncated with unit") << 0u << QStringLiteral("57°C");
    QTest::newRow("volts keep two decimals") << 1u << QStringLiteral("3.99V");
    QTest::newRow("negative truncates toward zero") << 2u << QStringLiteral("-2W");
    QTest::newRow("sum of the two before") << 5u << QStringLiteral("16GB");
    QTest::newRow("fixed text") << 6u << QStringLiteral("Intel Core i7");
    QTest::newRow("no reading bound") << 7u << QStringLiteral("0");
    QTest::newRow("record gone") << 8u << QStringLiteral("0");
    QTest::newRow("not a number") << 9u << QStringLiteral("0");
    QTest::newRow("infinite") << 10u << QStringLiteral("0");
    QTest::newRow("huge") << 11u << QStringLiteral("1000000000000000019884624838656RPM");
    QTest::newRow("zero from below") << 12u << QStringLiteral("0W");
    QTest::newRow("huge sum") << 14u << QStringLiteral("-1000000000000000019884624838656GB");
    QTest::newRow("no entry") << 99u << QString();
    QTest::newRow("unbound") << 0xFFFFu << QString();
}

void TestDispNumberWidget::valueTextFollowsTheTable()
{
    QFETCH(quint32, type);
    QFETCH(QString, expected);
    const QString text = DispNumberWidget::valueText(table(), readRecord, type);
    QCOMPARE(text, expected);
    QCOMPARE(text.isNull(), expected.isNull());
}

QTEST_MAIN(TestDispNumberWidget)

#include "tst_dispnumberwidget.moc"
