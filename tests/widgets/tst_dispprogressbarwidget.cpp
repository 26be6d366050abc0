#include "dispprogressbar.h"
#include "dispprogressbarwidget.h"
#include "readoutfixtures.h"

#include <QtTest>

using namespace ReadoutFixtures;

namespace {

const QColor kBackground(160, 160, 164);
const QColor kFillStart(Qt::green);
const QColor kFillMiddle(64, 255, 0);

// The default bar's attribute block.
const char* const kDefaultBlock = "00000101"               // flag A, transparent, flag B, fill
                                  "0000000000000000"       // rotation 0
                                  "4000000000000000"       // border width 2
                                  "4059000000000000"       // length 100
                                  "403e000000000000"       // thickness 30
                                  "0000000000000000"       // fill inset 0
                                  "01ffffa0a0a0a0a4a40000" // background: gray
                                  "01ffffffff000000000000" // border: red
                                  "00000002"               // two stops
                                  "000000000000000001ffff0000ffff00000000"  // 0.0 green
                                  "3ff000000000000001ffffffffffff00000000"; // 1.0 yellow

} // namespace

class TestDispProgressBarWidget : public QObject
{
    Q_OBJECT

private slots:
    void barPixels_data();
    void barPixels();
    void memoryLoadReadingUsesPercentRange();
    void attributeBlockRoundTrip();
};

void TestDispProgressBarWidget::barPixels_data()
{
    QTest::addColumn<int>("rotation");
    QTest::addColumn<float>("value");
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QColor>("expected");
    // 100 x 30 frame across the middle of a 100 x 100 widget, filled to x = 50.
    QTest::newRow("0: fill starts at the left") << 0 << 50.0f << false << QPoint(10, 50) << kFillStart;
    QTest::newRow("0: background beyond the value") << 0 << 50.0f << false << QPoint(75, 50) << kBackground;
    QTest::newRow("0: red outline") << 0 << 50.0f << false << QPoint(50, 35) << QColor(Qt::red);
    QTest::newRow("0: nothing outside the frame")
        << 0 << 50.0f << false << QPoint(50, 20) << QColor(0, 0, 0, 0);
    QTest::newRow("90: fill starts at the bottom") << 90 << 50.0f << false << QPoint(50, 90) << kFillStart;
    QTest::newRow("90: background at the top") << 90 << 50.0f << false << QPoint(50, 25) << kBackground;
    QTest::newRow("past the maximum runs to the end")
        << 0 << 150.0f << false << QPoint(90, 50) << QColor(230, 255, 0);
    QTest::newRow("below the minimum runs leftwards")
        << 0 << -20.0f << false << QPoint(10, 50) << kBackground;
    QTest::newRow("transparent: only the fill") << 0 << 50.0f << true << QPoint(75, 50) << QColor(0, 0, 0, 0);
    QTest::newRow("transparent keeps the fill") << 0 << 50.0f << true << QPoint(25, 50) << kFillMiddle;
}

void TestDispProgressBarWidget::barPixels()
{
    QFETCH(int, rotation);
    QFETCH(float, value);
    QFETCH(bool, transparent);
    QFETCH(QPoint, point);
    QFETCH(QColor, expected);
    DispProgressBar bar;
    bar.setRotation(rotation);
    bar.setTransparent(transparent);
    bar.setValue(value);
    QCOMPARE(bar.size(), QSize(100, 100));
    const QColor actual = render(&bar).pixelColor(point);
    QVERIFY2(near(actual, expected, 70), qPrintable(actual.name(QColor::HexArgb)));
}

void TestDispProgressBarWidget::memoryLoadReadingUsesPercentRange()
{
    // The range table by reading type and label, as the bar applies it.
    DispProgressBarWidget widget(nullptr, nullptr);
    const struct
    {
        qint32 type;
        const char* label;
        float maximum;
    } rows[] = {{8, "Physical Memory Load", 100}, {8, "Framerate Displayed (avg)", 200},
                {8, "Current DL rate", 100000},   {1, "CPU Die", 200},
                {6, "Core 0 Clock", 10000},       {130, "Disk Total", 10000},
                {7, "Total CPU Usage", 100}};
    for (const auto& row : rows) {
        widget.setRangeFor(row.type, QString::fromLatin1(row.label));
        QCOMPARE(widget.bar()->maximum(), row.maximum);
        QCOMPARE(widget.bar()->minimum(), 0.0f);
    }
}

void TestDispProgressBarWidget::attributeBlockRoundTrip()
{
    DispProgressBar bar;
    QCOMPARE(bar.attributeBlock(QStringLiteral("res/")).toHex(), QByteArray(kDefaultBlock));
    DispProgressBar edited;
    edited.setRotation(90);
    edited.setLength(300);
    edited.setGradientColors({Qt::blue, Qt::white, Qt::black});
    edited.setFillBackground(false);
    QVERIFY(bar.setAttributeBlock(edited.attributeBlock(QString()), QString()));
    QCOMPARE(bar.attributeBlock(QString()), edited.attributeBlock(QString()));
    QCOMPARE(bar.gradientStops().at(1).first, 0.5);
}

QTEST_MAIN(TestDispProgressBarWidget)

#include "tst_dispprogressbarwidget.moc"
