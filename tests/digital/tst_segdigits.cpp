// What the three digits of a segment number show.
#include "segdigits.h"

#include <QtTest>

class tst_SegDigits : public QObject
{
    Q_OBJECT

private slots:
    void digits_data();
    void digits();
};

void tst_SegDigits::digits_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QVector<int>>("expected");

    constexpr int B = SegDigits::kBlank;
    QTest::newRow("0 shows a single 0") << 0 << QVector<int>{B, B, 0};
    QTest::newRow("10") << 10 << QVector<int>{B, 1, 0};
    QTest::newRow("42") << 42 << QVector<int>{B, 4, 2};
    QTest::newRow("105") << 105 << QVector<int>{1, 0, 5};
    QTest::newRow("999") << 999 << QVector<int>{9, 9, 9};
    QTest::newRow("1000 shows 999") << 1000 << QVector<int>{9, 9, 9};
    QTest::newRow("largest int shows 999") << std::numeric_limits<int>::max() << QVector<int>{9, 9, 9};
    QTest::newRow("-5 shows 0") << -5 << QVector<int>{B, B, 0};
    QTest::newRow("smallest int shows 0") << std::numeric_limits<int>::min() << QVector<int>{B, B, 0};
}

void tst_SegDigits::digits()
{
    QFETCH(int, value);
    QFETCH(QVector<int>, expected);
    const std::array<int, 3> shown = SegDigits::digits(value);
    QCOMPARE(QVector<int>(shown.begin(), shown.end()), expected);
}

QTEST_APPLESS_MAIN(tst_SegDigits)
#include "tst_segdigits.moc"
