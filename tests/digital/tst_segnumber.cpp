// One seven-segment digit: which segments light for each number, and in
// which colours they are painted.
#include "pixels.h"
#include "segnumber.h"

#include <QGraphicsScene>
#include <QtTest>

namespace {

const QColor kUnlit(15, 15, 15);

// A point well inside each segment, in item coordinates.
const QPointF kInside[SegNumber::kSegments] = {{65, 5},  {7, 45},   {123, 45}, {65, 90},
                                               {7, 135}, {65, 173}, {123, 135}};

QColor pixelOf(const QImage& image, QPointF itemPoint)
{
    const QPoint p = (itemPoint * SegNumber::kScale).toPoint();
    return image.pixelColor(p);
}

} // namespace

class tst_SegNumber : public QObject
{
    Q_OBJECT

private slots:
    void segmentsOfEachDigit_data();
    void segmentsOfEachDigit();
};

void tst_SegNumber::segmentsOfEachDigit_data()
{
    QTest::addColumn<int>("digit");
    QTest::addColumn<QString>(
        "lit"); // per segment: top, upper left, upper right, middle, lower left, bottom, lower right

    QTest::newRow("0") << 0 << "1110111";
    QTest::newRow("1") << 1 << "0010001";
    QTest::newRow("2") << 2 << "1011110";
    QTest::newRow("3") << 3 << "1011011";
    QTest::newRow("4") << 4 << "0111001";
    QTest::newRow("5") << 5 << "1101011";
    QTest::newRow("6") << 6 << "1101111";
    QTest::newRow("7") << 7 << "1010001";
    QTest::newRow("8") << 8 << "1111111";
    QTest::newRow("9") << 9 << "1111011";
    QTest::newRow("blank") << 10 << "0000000";
    QTest::newRow("out of range is blank") << 11 << "0000000";
    QTest::newRow("negative is blank") << -1 << "0000000";
}

void tst_SegNumber::segmentsOfEachDigit()
{
    QFETCH(int, digit);
    QFETCH(QString, lit);

    QGraphicsScene scene(0, 0, 180, 180);
    auto* number = new SegNumber;
    scene.addItem(number);
    number->setNumber(digit);
    const QImage image = Pixels::renderScene(scene, Qt::black);
    for (int s = 0; s < SegNumber::kSegments; ++s) {
        const bool on = lit[s] == QLatin1Char('1');
        QCOMPARE(SegNumber::isLit(digit, s), on);
        QCOMPARE(pixelOf(image, kInside[s]), on ? QColor(Qt::red) : kUnlit);
    }
    // Between the segments the background shows.
    QCOMPARE(pixelOf(image, QPointF(65, 45)), QColor(Qt::black));
}

QTEST_MAIN(tst_SegNumber)
#include "tst_segnumber.moc"
