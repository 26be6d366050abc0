// The simpler scene widgets: labels, numbers, dates, images, charts and the
// analog clock, checked on their texts and rendered pixels.
#include "baseinfo.h"
#include "dispanalogclock.h"
#include "dispanalogclockwidget.h"
#include "dispchart.h"
#include "dispchartwidget.h"
#include "dispdatewidget.h"
#include "dispimagewidget.h"
#include "displabelwidget.h"
#include "dispnumberwidget.h"
#include "dispvideodecoder.h"
#include "pixels.h"
#include "readoutfixtures.h"
#include "testmedia.h"

#include <QDateTime>
#include <QGraphicsScene>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>

using namespace ReadoutFixtures;
using Pixels::pixelFont;

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

// A point clockwise from 12 o'clock at a distance from the dial's centre.
QPoint clockPoint(double degrees, double distance)
{
    const double radians = degrees * M_PI / 180.0;
    return QPoint(int(std::lround(235 + std::sin(radians) * distance)),
                  int(std::lround(235 - std::cos(radians) * distance)));
}

} // namespace

class TestDispSimpleWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void drawsTextInItsColourOnItsBackground();
    void markupIsShownAsWritten();
    void valueTextFollowsTheTable_data();
    void valueTextFollowsTheTable();
    void weekFormatFollowsLanguage_data();
    void weekFormatFollowsLanguage();
    void frameIsCroppedOrPaddedToTheLabel_data();
    void frameIsCroppedOrPaddedToTheLabel();
    void curveAfterTwoSamples_data();
    void curveAfterTwoSamples();
    void captionFollowsReadingsOfItsType();
    void handsAtHalfPastThree_data();
    void handsAtHalfPastThree();

private:
    QTemporaryDir m_dir;
    QString m_picture;
};

void TestDispSimpleWidgets::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("PANELCAST_DATA_DIR", m_dir.path().toUtf8());
    // 20 x 10: left half red, right half blue.
    m_picture = TestMedia::make(m_dir.path(), QStringLiteral("halves.png"),
                                QStringLiteral("color=c=red:s=10x10[a];color=c=blue:s=10x10[b];[a][b]hstack"),
                                {QStringLiteral("-frames:v"), QStringLiteral("1")});
    QVERIFY(!m_picture.isEmpty());
}

void TestDispSimpleWidgets::drawsTextInItsColourOnItsBackground()
{
    QGraphicsScene scene(0, 0, 200, 100);
    auto* widget = new DispLabelWidget;
    scene.addItem(widget);
    widget->setPos(10, 10);
    widget->setFont(pixelFont(30));
    widget->setText(QStringLiteral("WWW"));
    // Colours reach the label's style sheet alpha first.
    widget->setColor(QColor(255, 0, 0, 128));
    QCOMPARE(widget->label()->styleSheet(), QStringLiteral("background-color:#00000000;color:#80ff0000;"));
    widget->setColor(Qt::red);
    widget->setBackgroundColor(Qt::blue);
    QCOMPARE(widget->color(), QColor(Qt::red));
    QCOMPARE(widget->label()->styleSheet(), QStringLiteral("background-color:#ff0000ff;color:#ffff0000;"));

    const QImage image = Pixels::renderScene(scene);
    const QRect area = widget->sceneBoundingRect().toRect();
    QCOMPARE(image.pixelColor(area.topLeft() + QPoint(1, 1)), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(area.right() + 2, area.center().y()), QColor(Qt::white));
    int red = 0;
    for (int x = area.left(); x < area.right(); ++x) {
        const QColor c = image.pixelColor(x, area.center().y());
        red += (c.red() > 200 && c.blue() < 60) ? 1 : 0;
    }
    QVERIFY2(red > 5, qPrintable(QString::number(red)));
}

void TestDispSimpleWidgets::markupIsShownAsWritten()
{
    // Captions come from theme files: markup in them must not make the label
    // load files (an image tag naming /dev/zero would read 2 GiB).
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("big.png"));
    QImage red(300, 200, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(picture));
    DispLabelWidget widget;
    widget.setFont(pixelFont(12));
    const QString markup = QStringLiteral("<img src=\"%1\">").arg(picture);
    widget.setText(markup);
    QCOMPARE(widget.text(), markup);
    QVERIFY2(widget.labelSize().height() < 100, qPrintable(QString::number(widget.labelSize().height())));
    widget.setText(QStringLiteral("<b>bold</b><br>two lines"));
    QVERIFY2(widget.labelSize().height() < 24, qPrintable(QString::number(widget.labelSize().height())));
}

void TestDispSimpleWidgets::valueTextFollowsTheTable_data()
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

void TestDispSimpleWidgets::valueTextFollowsTheTable()
{
    QFETCH(quint32, type);
    QFETCH(QString, expected);
    const QString text = DispNumberWidget::valueText(table(), readRecord, type);
    QCOMPARE(text, expected);
    QCOMPARE(text.isNull(), expected.isNull());
}

void TestDispSimpleWidgets::weekFormatFollowsLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("expected");
    // 2 December 2026 is a Wednesday.
    QTest::newRow("English") << 0 << QStringLiteral("Wed");
    QTest::newRow("Chinese") << 1 << QStringLiteral("星期三");
    QTest::newRow("unlisted language") << 5 << QStringLiteral("Wed");
}

void TestDispSimpleWidgets::weekFormatFollowsLanguage()
{
    QFETCH(int, language);
    QFETCH(QString, expected);
    const QDateTime moment(QDate(2026, 12, 2), QTime(23, 59, 30));
    QCOMPARE(DispDateWidget::dateText(moment, QStringLiteral("week"), language), expected);
    // A widget reads the language from the settings.
    BaseInfo::setLanguageType(language);
    DispDateWidget widget;
    widget.setFormat(QStringLiteral("week"));
    const QStringList english = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    QVERIFY2(language == 1 ? widget.text().startsWith(QStringLiteral("星期")) && widget.text().size() == 3
                           : english.contains(widget.text()),
             qPrintable(widget.text()));
}

void TestDispSimpleWidgets::frameIsCroppedOrPaddedToTheLabel_data()
{
    QTest::addColumn<QSize>("label");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("padded: frame pixel") << QSize(40, 30) << QPoint(15, 5) << QColor(Qt::blue);
    QTest::newRow("padded: right of the frame") << QSize(40, 30) << QPoint(30, 5) << QColor(Qt::white);
    QTest::newRow("padded: below the frame") << QSize(40, 30) << QPoint(5, 20) << QColor(Qt::white);
    QTest::newRow("cropped: top-left kept") << QSize(8, 4) << QPoint(7, 3) << QColor(Qt::red);
}

void TestDispSimpleWidgets::frameIsCroppedOrPaddedToTheLabel()
{
    QFETCH(QSize, label);
    QFETCH(QPoint, probe);
    QFETCH(QColor, expected);
    QGraphicsScene scene(0, 0, 60, 60);
    auto* widget = new DispImageWidget;
    scene.addItem(widget);
    widget->setImageGeometry(QRectF(QPointF(0, 0), label));
    widget->setMediaPath(m_picture, true);
    QTRY_VERIFY(!widget->pictureLabel()->pixmap(Qt::ReturnByValue).isNull());
    QCOMPARE(widget->pictureLabel()->pixmap(Qt::ReturnByValue).size(), label);

    // Colours after the picture's trip through YUV are within a step or two.
    const QImage frame = Pixels::renderScene(scene);
    QVERIFY2(Pixels::near(frame.pixelColor(probe), expected, 3), qPrintable(frame.pixelColor(probe).name()));
    // Nothing is drawn outside the label.
    QCOMPARE(frame.pixelColor(label.width() + 1, label.height() + 1), QColor(Qt::white));
    widget->stopDecoder();
    QVERIFY(widget->decoder()->isFinished());
}

void TestDispSimpleWidgets::curveAfterTwoSamples_data()
{
    QTest::addColumn<bool>("straight");
    QTest::newRow("curve") << false;
    QTest::newRow("line") << true;
}

void TestDispSimpleWidgets::curveAfterTwoSamples()
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

void TestDispSimpleWidgets::captionFollowsReadingsOfItsType()
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

void TestDispSimpleWidgets::handsAtHalfPastThree_data()
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

void TestDispSimpleWidgets::handsAtHalfPastThree()
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

QTEST_MAIN(TestDispSimpleWidgets)
#include "tst_dispsimplewidgets.moc"
