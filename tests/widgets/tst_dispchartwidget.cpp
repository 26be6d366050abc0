#include "dispchart.h"
#include "dispchartwidget.h"
#include "readoutfixtures.h"

#include <QtTest>

using namespace ReadoutFixtures;

class TestDispChartWidget : public QObject
{
    Q_OBJECT

private slots:
    void curveAfterTwoSamples_data();
    void curveAfterTwoSamples();
    void captionFollowsReadingsOfItsType();
};

void TestDispChartWidget::curveAfterTwoSamples_data()
{
    QTest::addColumn<bool>("straight");
    QTest::newRow("curve") << false;
    QTest::newRow("line") << true;
}

void TestDispChartWidget::curveAfterTwoSamples()
{
    QFETCH(bool, straight);
    DispChartWidget widget(nullptr, nullptr);
    DispChart* chart = widget.chart();
    chart->setStraight(straight);
    chart->setGradientColors(Qt::black, Qt::black);
    QCOMPARE(chart->size(), QSize(200, 100));
    chart->setCurrentValue(10000); // the top of the CPU clock range
    chart->takeSample();
    // One sample draws nothing, not even the caption.
    QImage white(chart->size(), QImage::Format_ARGB32_Premultiplied);
    white.fill(Qt::white);
    QCOMPARE(render(chart), white);
    chart->takeSample();
    chart->setXOffset(-200.0f / 19); // the end of the slide
    const QImage image = render(chart);
    // A full-range sample sits at 10 % of the 80-pixel plot from the top;
    // below it the fill, above it the background, and the left part (no
    // history yet) stays empty.
    const int x = 195;
    QCOMPARE(image.pixelColor(x, 3), QColor(Qt::white));
    bool line = false;
    for (int y = 5; y <= 9; ++y) {
        const QColor c = image.pixelColor(x, y);
        line = line || (c.red() > 100 && c.green() < 100 && c.blue() < 100);
    }
    QVERIFY(line);
    QCOMPARE(image.pixelColor(x, 12), QColor(Qt::black));
    QCOMPARE(image.pixelColor(x, 79), QColor(Qt::black));
    QCOMPARE(image.pixelColor(100, 40), QColor(Qt::white));
    // The caption strip holds blue text.
    bool caption = false;
    for (int cx = 60; cx < 140 && !caption; ++cx) {
        for (int cy = 82; cy < 98 && !caption; ++cy) {
            caption = image.pixelColor(cx, cy).blue() > 200 && image.pixelColor(cx, cy).red() < 100;
        }
    }
    QVERIFY(caption);
}

void TestDispChartWidget::captionFollowsReadingsOfItsType()
{
    DispChartWidget widget(nullptr, nullptr);
    QCOMPARE(widget.chart()->caption(), QStringLiteral("000--"));
    widget.updateData(3, 47.256, QStringLiteral("%"));
    QCOMPARE(widget.chart()->caption(), QStringLiteral("000--"));
    widget.updateData(1, 47.256, QStringLiteral("%"));
    QCOMPARE(widget.chart()->caption(), QStringLiteral("47.26 %"));
    widget.setSubscription(2);
    QCOMPARE(widget.chart()->maximum(), 120.0f);
    QCOMPARE(widget.chart()->caption(), QStringLiteral("000--"));
}

QTEST_MAIN(TestDispChartWidget)

#include "tst_dispchartwidget.moc"
