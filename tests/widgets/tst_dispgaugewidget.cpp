#include "disp3dwidget.h"
#include "dispchart.h"
#include "dispchartwidget.h"
#include "dispgaugewidget.h"
#include "qcgaugewidget.h"
#include "readoutfixtures.h"

#include <QtTest>

#include <cmath>

using namespace ReadoutFixtures;

namespace {

const QColor kNeedle(243, 83, 50);

// A point on the dial at an item angle (0 = 9 o'clock, 90 = 12 o'clock),
// distance from the centre of a 400 x 400 dial.
QPoint dialPoint(double degrees, double distance)
{
    const double radians = degrees * M_PI / 180.0;
    return QPoint(int(std::lround(200 - std::cos(radians) * distance)),
                  int(std::lround(200 - std::sin(radians) * distance)));
}

} // namespace

class TestDispGaugeWidget : public QObject
{
    Q_OBJECT

private slots:
    void needleFollowsReadings_data();
    void needleFollowsReadings();
    void subscriptionCountsStayBalanced_data();
    void subscriptionCountsStayBalanced();
};

void TestDispGaugeWidget::needleFollowsReadings_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("needleAngle");
    QTest::addColumn<QString>("valueText");
    QTest::addColumn<QString>("unitText");
    QTest::newRow("new gauge rests at 7:30") << 0 << 0.0 << -45.0 << "0"
                                             << "MHz";
    QTest::newRow("half of the clock range") << 1 << 5000.0 << 90.0 << "5000"
                                             << "GHz";
    QTest::newRow("above the range clamps at 4:30") << 1 << 12345.0 << 225.0 << "10000"
                                                    << "GHz";
    QTest::newRow("another type changes nothing") << 2 << 5000.0 << -45.0 << "0"
                                                  << "MHz";
}

void TestDispGaugeWidget::needleFollowsReadings()
{
    QFETCH(int, type);
    QFETCH(double, value);
    QFETCH(double, needleAngle);
    QFETCH(QString, valueText);
    QFETCH(QString, unitText);
    DispGaugeWidget gauge(nullptr, nullptr);
    QCOMPARE(gauge.subscription(), 1);
    QCOMPARE(gauge.needle()->maxValue(), 10000.0f);
    if (type != 0) {
        gauge.updateData(type, value, QStringLiteral("GHz"));
    }
    QCOMPARE(gauge.valueLabel()->text(), valueText);
    QCOMPARE(gauge.unitLabel()->text(), unitText);

    gauge.dial()->resize(400, 400);
    const QImage image = render(gauge.dial());
    // Along the needle, halfway out, its colour; a quarter turn away, not.
    QVERIFY(near(image.pixelColor(dialPoint(needleAngle, 40)), kNeedle, 50));
    QVERIFY(!near(image.pixelColor(dialPoint(needleAngle + 90, 40)), kNeedle, 50));
}

void TestDispGaugeWidget::subscriptionCountsStayBalanced_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("gauge") << "gauge";
    QTest::newRow("chart") << "chart";
    QTest::newRow("3D") << "3D";
}

void TestDispGaugeWidget::subscriptionCountsStayBalanced()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const auto manager = replayManager(writeTemperatureReplay(dir, QStringLiteral("40")));
    const auto counts = [&manager] {
        QVector<int> list;
        for (int type = 1; type <= 6; ++type) {
            list.append(manager->refCount(type));
        }
        return list;
    };
    std::unique_ptr<DispWidget> widget;
    std::function<void(int)> subscribe;
    if (kind == QLatin1String("gauge")) {
        auto* gauge = new DispGaugeWidget(nullptr, manager.get());
        subscribe = [gauge](int type) { gauge->setSubscription(type); };
        widget.reset(gauge);
    } else if (kind == QLatin1String("chart")) {
        auto* chart = new DispChartWidget(nullptr, manager.get());
        subscribe = [chart](int type) {
            chart->setSubscription(type);
            QCOMPARE(chart->chart()->count(), 0); // the history starts again
        };
        widget.reset(chart);
    } else {
        auto* view = new Disp3DWidget(nullptr, manager.get());
        subscribe = [view](int type) { view->setSubscription(type); };
        widget.reset(view);
    }
    QCOMPARE(counts(), (QVector<int>{1, 0, 0, 0, 0, 0}));
    subscribe(2);
    subscribe(5);
    QCOMPARE(counts(), (QVector<int>{0, 0, 0, 0, 1, 0}));
    subscribe(0); // none: nothing held, nothing to release later
    subscribe(3);
    QCOMPARE(counts(), (QVector<int>{0, 0, 1, 0, 0, 0}));
    widget.reset();
    QCOMPARE(counts(), (QVector<int>{0, 0, 0, 0, 0, 0}));
}

QTEST_MAIN(TestDispGaugeWidget)

#include "tst_dispgaugewidget.moc"
