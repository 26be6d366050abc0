#include "dispanalogclock.h"
#include "dispanalogclockwidget.h"
#include "readoutfixtures.h"

#include <QtTest>

#include <cmath>

using namespace ReadoutFixtures;

namespace {

// A point clockwise from 12 o'clock at a distance from the dial's centre.
QPoint clockPoint(double degrees, double distance)
{
    const double radians = degrees * M_PI / 180.0;
    return QPoint(int(std::lround(235 + std::sin(radians) * distance)),
                  int(std::lround(235 - std::cos(radians) * distance)));
}

} // namespace

class TestDispAnalogClockWidget : public QObject
{
    Q_OBJECT

private slots:
    void handsAtHalfPastThree_data();
    void handsAtHalfPastThree();
};

void TestDispAnalogClockWidget::handsAtHalfPastThree_data()
{
    QTest::addColumn<double>("angle");
    QTest::addColumn<double>("distance");
    QTest::addColumn<bool>("covered");
    // At 03:30:15: hour hand at 105 degrees, minute at 180, second at 90.
    QTest::newRow("hour hand") << 105.0 << 80.0 << true;
    QTest::newRow("minute hand") << 180.0 << 150.0 << true;
    QTest::newRow("second hand") << 90.0 << 165.0 << true;
    QTest::newRow("nothing at 12") << 0.0 << 120.0 << false;
    QTest::newRow("nothing at 9") << 270.0 << 120.0 << false;
}

void TestDispAnalogClockWidget::handsAtHalfPastThree()
{
    QFETCH(double, angle);
    QFETCH(double, distance);
    QFETCH(bool, covered);
    DispAnalogClockWidget widget;
    DispAnalogClock* clock = widget.clock();
    QCOMPARE(clock->size(), QSize(471, 471));
    clock->setTimeSource([] { return QTime(3, 30, 15); });
    const QImage withHands = render(clock);
    clock->setShowHourHand(false);
    clock->setShowMinuteHand(false);
    clock->setShowSecondHand(false);
    const QImage dialOnly = render(clock);
    const QPoint point = clockPoint(angle, distance);
    QCOMPARE(withHands.pixelColor(point) != dialOnly.pixelColor(point), covered);
}

QTEST_MAIN(TestDispAnalogClockWidget)

#include "tst_dispanalogclockwidget.moc"
