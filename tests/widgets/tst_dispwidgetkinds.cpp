// Each kind of scene widget: texts and their effects, labels, numbers, dates,
// images, rings, bars, gauges, charts and the analog clock, checked on their
// texts, records and rendered pixels; and the video decoder behind images.
#include "disp3dwidget.h"
#include "dispanalogclock.h"
#include "dispanalogclockwidget.h"
#include "disparcwidget.h"
#include "dispchart.h"
#include "dispchartwidget.h"
#include "dispcircularprogressbar.h"
#include "dispdatewidget.h"
#include "dispgaugewidget.h"
#include "dispimagewidget.h"
#include "displabelwidget.h"
#include "dispnumberwidget.h"
#include "dispprogressbar.h"
#include "dispprogressbarwidget.h"
#include "disptextwidget.h"
#include "dispvideodecoder.h"
#include "pixels.h"
#include "qcgaugewidget.h"
#include "readoutfixtures.h"
#include "testfiles.h"
#include "testmedia.h"

#include <QDateTime>
#include <QGraphicsScene>
#include <QLabel>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <limits>

using namespace ReadoutFixtures;
using Pixels::pixelFont;

namespace {

// Columns and rows of the item that hold ink (dark pixels) in a render of
// the item alone, in item coordinates.
QRect inkRect(DispTextWidget& text)
{
    const QRectF bounds = text.boundingRect();
    QImage image(bounds.size().toSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStyleOptionGraphicsItem option;
    text.paint(&painter, &option, nullptr);
    painter.end();
    return Pixels::boundsOf(image, [](QRgb pixel) { return qGray(pixel) < 128; });
}

using Entry = DispNumberWidget::TableEntry;

// Catalogue records (value and unit) and a table of display types.
const QVector<QPair<double, QString>> kCatalogue = {
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
    *value = kCatalogue[int(index)].first;
    *unit = kCatalogue[int(index)].second;
    return true;
}

// A point at an angle clockwise from 12 o'clock and a distance from centre.
QPoint polar(double centre, double degrees, double distance)
{
    const double radians = degrees * M_PI / 180.0;
    return QPoint(int(std::lround(centre + std::sin(radians) * distance)),
                  int(std::lround(centre - std::cos(radians) * distance)));
}

const QColor kTrack(160, 160, 164);

// The default ring's attribute block.
const char* const kRingBlock = "010100"                                 // round cap, solid, transparent
                               "01ffffa0a0a0a0a4a40000"                 // track: gray
                               "01ffffffffffffffff0000"                 // text: white
                               "00000003"                               // three stops
                               "3ff000000000000001ffff0000ffff00000000" // 1.0 green
                               "3fe000000000000001ffffffffffff00000000" // 0.5 yellow
                               "000000000000000001ffffffff000000000000" // 0.0 red
                               "4024000000000000"                       // line width 10
                               "4056800000000000"                       // start angle 90
                               "4076800000000000"                       // span 360
                               "0000000000000000"                       // minimum 0
                               "4059000000000000";                      // maximum 100

const QColor kFillStart(Qt::green);
const QColor kFillMiddle(64, 255, 0);

const QColor kNeedle(243, 83, 50);

} // namespace

// Plays a decoder as its widget does: one permit back per frame.
class Player : public QObject
{
    Q_OBJECT

public:
    explicit Player(DispVideoDecoder* decoder) : m_decoder(decoder)
    {
        connect(decoder, &DispVideoDecoder::frameUpdated, this, [this] {
            seconds << m_decoder->currentSeconds();
            frames << m_decoder->currentFrame();
            decoded << m_decoder->framesDecoded();
            m_decoder->requestFrame();
        });
    }
    // Waits until count frames have been shown in all.
    bool waitFor(int count, int timeoutMs = 10000)
    {
        return QTest::qWaitFor([&] { return frames.size() >= count; }, timeoutMs);
    }

    QList<double> seconds;
    QList<QImage> frames;
    QList<int> decoded;

private:
    DispVideoDecoder* m_decoder;
};

class TestDispWidgetKinds : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void effectsRunAtTheirPace_data();
    void effectsRunAtTheirPace();
    void labelDrawsItsColoursAndShowsMarkupAsWritten();
    void valueTextFollowsTheTable_data();
    void valueTextFollowsTheTable();
    void weekFormatFollowsLanguage();
    void frameIsCroppedOrPaddedToTheLabel_data();
    void frameIsCroppedOrPaddedToTheLabel();
    void curveAfterTwoSamples_data();
    void curveAfterTwoSamples();
    void handsAtHalfPastThree();
    void temperatureReadingSweepsClockwiseFromTwelve();
    void ringBlockRoundTripsAndMalformedOnesChangeNothing();
    void barPixels_data();
    void barPixels();
    void memoryLoadReadingUsesPercentRange();
    void needleFollowsReadingsOfItsType();
    void subscriptionCountsStayBalanced();
    void readoutsOutlivingTheirManagerIgnoreQueuedUpdates();
    void intervalsFollowTheStream_data();
    void intervalsFollowTheStream();
    void animationsLoopFromTheFirstFrame_data();
    void animationsLoopFromTheFirstFrame();
    void frameLimitRestartsAtTheLoopStart();
    void hostileMediaEndsWithALogLine_data();
    void hostileMediaEndsWithALogLine();
    void narrowPicturesConvertInsideTheirBuffer_data();
    void narrowPicturesConvertInsideTheirBuffer();

private:
    QTemporaryDir m_dir;
    QString m_picture, m_gif, m_webp, m_video25, m_video60;
};

void TestDispWidgetKinds::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("PANELCAST_DATA_DIR", m_dir.path().toUtf8());
    // 20 x 10: left half red, right half blue.
    m_picture = TestMedia::make(m_dir.path(), QStringLiteral("halves.png"),
                                QStringLiteral("color=c=red:s=10x10[a];color=c=blue:s=10x10[b];[a][b]hstack"),
                                {QStringLiteral("-frames:v"), QStringLiteral("1")});
    // Three frames of three colours at 10 fps.
    const QString pattern = QStringLiteral("color=c=black:s=32x32:r=10:d=0.3,"
                                           "geq=r='255*eq(N\\,0)':g='255*eq(N\\,1)':b='255*eq(N\\,2)'");
    m_gif = TestMedia::make(m_dir.path(), QStringLiteral("three.gif"), pattern);
    m_webp = TestMedia::make(m_dir.path(), QStringLiteral("three.webp"), pattern,
                             {QStringLiteral("-c:v"), QStringLiteral("libwebp_anim"), QStringLiteral("-loop"),
                              QStringLiteral("0"), QStringLiteral("-lossless"), QStringLiteral("1")});
    m_video25 = TestMedia::video(m_dir.path(), QStringLiteral("v25.mp4"), 64, 48, 25, 4);
    m_video60 = TestMedia::video(m_dir.path(), QStringLiteral("v60.mkv"), 64, 48, 60, 1);
    for (const QString& path : {m_picture, m_gif, m_webp, m_video25, m_video60}) {
        QVERIFY2(!path.isEmpty(), "ffmpeg could not make the test media");
    }
}

void TestDispWidgetKinds::effectsRunAtTheirPace_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("interval"); // 0: the timer stops
    QTest::newRow("Default") << 0 << 100;
    QTest::newRow("Left") << 1 << 15;
    QTest::newRow("Right") << 2 << 15;
    QTest::newRow("Up") << 3 << 50;
    QTest::newRow("Down") << 4 << 50;
    QTest::newRow("Flicker") << 5 << 50;
    QTest::newRow("unknown: still, draws nothing") << 6 << 0;
}

void TestDispWidgetKinds::effectsRunAtTheirPace()
{
    QFETCH(int, mode);
    QFETCH(int, interval);
    DispTextWidget text;
    text.setFont(pixelFont(20));
    text.setPlainText(QStringLiteral("HH"));
    text.setEffect(1);
    text.effectTick();
    text.effectTick();
    text.setEffect(mode);
    QCOMPARE(text.effectTimer()->isActive(), interval > 0);
    QCOMPARE(text.scrollOffset(), 0); // every change starts over
    if (interval > 0) {
        QCOMPARE(text.effectTimer()->interval(), interval);
    } else {
        QVERIFY(inkRect(text).isEmpty());
    }
    if (mode == 5) { // flicker: eleven ticks shown, eleven blank
        QString phases;
        for (int tick = 0; tick < 33; ++tick) {
            phases += text.blankPhase() ? QLatin1Char('-') : QLatin1Char('T');
            QCOMPARE(inkRect(text).isEmpty(), text.blankPhase());
            text.effectTick();
        }
        QCOMPARE(phases, QString(11, 'T') + QString(11, '-') + QString(11, 'T'));
        QVERIFY(text.blankPhase());
        text.setEffect(5); // a change starts shown
        QVERIFY(!text.blankPhase());
    }
    if (mode < 1 || mode > 4) {
        return;
    }
    // Scrolls move one pixel a tick. Sideways the text wraps after twice its
    // width, up and down after the item's height and one line more.
    const int limit = mode <= 2 ? 2 * QFontMetrics(text.font()).horizontalAdvance(QStringLiteral("HH"))
                                : int(text.boundingRect().height()) + 20;
    // The edge that enters first: Left enters on the right, Right on the
    // left, Up from the bottom, Down from the top.
    const auto leadingEdge = [mode](const QRect& ink) {
        const int edges[] = {ink.left(), ink.right() + 1, ink.top(), ink.bottom() + 1};
        return edges[mode - 1];
    };
    QVector<int> edges;
    for (int tick = 1; tick <= limit; ++tick) {
        text.effectTick();
        QCOMPARE(text.scrollOffset(), tick);
        if (tick == 8 || tick == 16) {
            edges << leadingEdge(inkRect(text));
        }
    }
    text.effectTick();
    QCOMPARE(text.scrollOffset(), 0);
    QCOMPARE(edges[1] - edges[0], mode % 2 == 1 ? -8 : 8);
    if (mode <= 2) { // Left's left edge at right - d, Right's right edge at d
        const qreal expected = mode == 1 ? text.boundingRect().right() - 8 : 8;
        QVERIFY2(qAbs(edges[0] - expected) <= 3, qPrintable(QString::number(edges[0])));
    }
}

void TestDispWidgetKinds::labelDrawsItsColoursAndShowsMarkupAsWritten()
{
    QGraphicsScene scene(0, 0, 200, 100);
    auto* widget = new DispLabelWidget;
    scene.addItem(widget);
    widget->setPos(10, 10);
    widget->setFont(pixelFont(30));
    widget->setText(QStringLiteral("WWW"));
    // Colours reach the label's style sheet alpha first, then its pixels.
    widget->setColor(QColor(255, 0, 0, 128));
    QCOMPARE(widget->label()->styleSheet(), QStringLiteral("background-color:#00000000;color:#80ff0000;"));
    widget->setColor(Qt::red);
    widget->setBackgroundColor(Qt::blue);

    const QImage image = Pixels::renderScene(scene);
    const QRect area = widget->sceneBoundingRect().toRect();
    QCOMPARE(image.pixelColor(area.topLeft() + QPoint(1, 1)), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(area.right() + 2, area.center().y()), QColor(Qt::white));
    const int red =
        Pixels::countNear(image, QRect(area.left(), area.center().y(), area.width(), 1), Qt::red, 55);
    QVERIFY2(red > 5, qPrintable(QString::number(red)));

    // Captions come from theme files: markup in them must not make the label
    // load files (an image tag naming /dev/zero would read 2 GiB).
    const QString picture = TestFiles::writeJpeg(m_dir.filePath(QStringLiteral("big.jpg")), QSize(300, 200));
    QVERIFY(!picture.isEmpty());
    widget->setFont(pixelFont(12));
    const QString markup = QStringLiteral("<img src=\"%1\">").arg(picture);
    widget->setText(markup);
    QVERIFY2(widget->labelSize().height() < 100, qPrintable(QString::number(widget->labelSize().height())));
    widget->setText(QStringLiteral("<b>bold</b><br>two lines"));
    QVERIFY2(widget->labelSize().height() < 24, qPrintable(QString::number(widget->labelSize().height())));
}

void TestDispWidgetKinds::valueTextFollowsTheTable_data()
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

void TestDispWidgetKinds::valueTextFollowsTheTable()
{
    QFETCH(quint32, type);
    QFETCH(QString, expected);
    const QString text = DispNumberWidget::valueText(table(), readRecord, type);
    QCOMPARE(text, expected);
    QCOMPARE(text.isNull(), expected.isNull());
}

void TestDispWidgetKinds::weekFormatFollowsLanguage()
{
    // 2 December 2026 is a Wednesday; languages without their own names use English.
    const QDateTime moment(QDate(2026, 12, 2), QTime(23, 59, 30));
    QCOMPARE(DispDateWidget::dateText(moment, QStringLiteral("week"), 0), QStringLiteral("Wed"));
    QCOMPARE(DispDateWidget::dateText(moment, QStringLiteral("week"), 1), QStringLiteral("星期三"));
    QCOMPARE(DispDateWidget::dateText(moment, QStringLiteral("week"), 5), QStringLiteral("Wed"));
}

void TestDispWidgetKinds::frameIsCroppedOrPaddedToTheLabel_data()
{
    QTest::addColumn<QSize>("label");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("padded: frame pixel") << QSize(40, 30) << QPoint(15, 5) << QColor(Qt::blue);
    QTest::newRow("padded: right of the frame") << QSize(40, 30) << QPoint(30, 5) << QColor(Qt::white);
    QTest::newRow("padded: below the frame") << QSize(40, 30) << QPoint(5, 20) << QColor(Qt::white);
    QTest::newRow("cropped: top-left kept") << QSize(8, 4) << QPoint(7, 3) << QColor(Qt::red);
}

void TestDispWidgetKinds::frameIsCroppedOrPaddedToTheLabel()
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

void TestDispWidgetKinds::curveAfterTwoSamples_data()
{
    QTest::addColumn<bool>("straight");
    QTest::newRow("curve") << false;
    QTest::newRow("line") << true;
}

void TestDispWidgetKinds::curveAfterTwoSamples()
{
    QFETCH(bool, straight);
    DispChartWidget widget(nullptr, nullptr);
    DispChart* chart = widget.chart();
    chart->setStraight(straight);
    chart->setGradientColors(Qt::black, Qt::black);
    chart->setCurrentValue(10000); // the top of the CPU clock range
    chart->takeSample();
    // One sample draws nothing, not even the caption.
    QCOMPARE(Pixels::countNear(render(chart), chart->rect(), Qt::white, 0), 200 * 100);
    chart->takeSample();
    chart->setXOffset(-200.0f / 19); // the end of the slide
    const QImage image = render(chart);
    // A full-range sample sits at 10 % of the 80-pixel plot from the top;
    // below it the fill, above it the background, and the left part (no
    // history yet) stays empty.
    const int x = 195;
    QCOMPARE(image.pixelColor(x, 3), QColor(Qt::white));
    QVERIFY(Pixels::countNear(image, QRect(x, 5, 1, 5), Qt::red, 150) > 0); // the line
    QCOMPARE(image.pixelColor(x, 12), QColor(Qt::black));
    QCOMPARE(image.pixelColor(x, 79), QColor(Qt::black));
    QCOMPARE(image.pixelColor(100, 40), QColor(Qt::white));
    // The caption strip holds blue text.
    QVERIFY(Pixels::countNear(image, QRect(60, 82, 80, 16), Qt::blue, 100) > 0);

    // The caption follows readings of the chart's type only.
    QCOMPARE(chart->caption(), QStringLiteral("000--"));
    widget.updateData(3, 47.256, QStringLiteral("%"));
    QCOMPARE(chart->caption(), QStringLiteral("000--"));
    widget.updateData(1, 47.256, QStringLiteral("%"));
    QCOMPARE(chart->caption(), QStringLiteral("47.26 %"));
    widget.setSubscription(2);
    QCOMPARE(chart->maximum(), 120.0f);
    QCOMPARE(chart->caption(), QStringLiteral("000--"));
}

void TestDispWidgetKinds::handsAtHalfPastThree()
{
    DispAnalogClockWidget widget;
    DispAnalogClock* clock = widget.clock();
    clock->setTimeSource([] { return QTime(3, 30, 15); });
    const QImage withHands = render(clock);
    clock->setShowHourHand(false);
    clock->setShowMinuteHand(false);
    clock->setShowSecondHand(false);
    const QImage dialOnly = render(clock);
    // At 03:30:15 the hour hand is at 105 degrees, the minute hand at 180 and
    // the second hand at 90; nothing at 12 or at 9.
    const struct
    {
        double angle;
        double distance;
        bool covered;
    } probes[] = {{105, 80, true}, {180, 150, true}, {90, 165, true}, {0, 120, false}, {270, 120, false}};
    for (const auto& probe : probes) {
        const QPoint point = polar(235, probe.angle, probe.distance);
        QVERIFY2((withHands.pixelColor(point) != dialOnly.pixelColor(point)) == probe.covered,
                 qPrintable(QString::number(probe.angle)));
    }
}

void TestDispWidgetKinds::temperatureReadingSweepsClockwiseFromTwelve()
{
    QTemporaryDir dir;
    const auto manager = replayManagerAt(writeTemperatureReplay(dir, QStringLiteral("55.7")));
    SensorFixtures::runUntilTableBuilt(*manager);
    DispArcWidget arc(nullptr, manager.get());
    arc.refreshValue();
    DispCircularProgressBar* ring = arc.ring();
    QCOMPARE(ring->value(), 55.0f);
    QCOMPARE(ring->sweep(), -99.0f);

    const QImage image = render(ring);
    // The start dot at 12 o'clock on the centre line (80 x 80, line width 10)
    // in the first stop's colour; how far the arc reaches is checked on the
    // device by tst_readoutitempanel.
    QVERIFY(near(image.pixelColor(polar(40, 0, 35)), Qt::green));
    // The text "55°C" is drawn in the middle in white.
    QVERIFY(Pixels::countNear(image, QRect(20, 40, 40, 1), Qt::white, 30) > 0);

    // A fixed text (the CPU name, display type 6) empties the ring.
    arc.setSensorType(6);
    arc.refreshValue();
    QCOMPARE(ring->sweep(), 0.0f);
    QCOMPARE(ring->maximum(), 100.0f);
}

void TestDispWidgetKinds::ringBlockRoundTripsAndMalformedOnesChangeNothing()
{
    DispCircularProgressBar ring;
    const QByteArray good = QByteArray::fromHex(kRingBlock);
    QCOMPARE(ring.attributeBlock(QStringLiteral("res/")).toHex(), good.toHex());

    DispCircularProgressBar edited;
    edited.setRoundCap(false);
    edited.setTransparent(true);
    edited.setTrackColor(QColor(1, 2, 3, 4));
    edited.setGradientColors({Qt::blue, Qt::cyan});
    edited.setLineWidth(7.5f);
    edited.setRange(10, 500);
    const QByteArray block = edited.attributeBlock(QStringLiteral("res/"));
    QVERIFY(ring.setAttributeBlock(block, QStringLiteral("res/")));
    QCOMPARE(ring.attributeBlock(QString()), block);

    // Empty, cut in the stops or the floats, a stop count beyond the bytes or
    // negative, a line width that is not a number.
    QList<QByteArray> malformed{QByteArray(), good.left(40), good.left(good.size() - 1), good, good, good};
    malformed[3].replace(25, 4, QByteArray::fromHex("7fffffff"));
    malformed[4].replace(25, 4, QByteArray::fromHex("ffffffff"));
    malformed[5].replace(good.size() - 40, 8, QByteArray::fromHex("7ff8000000000000"));
    for (const QByteArray& bad : malformed) {
        QVERIFY(!ring.setAttributeBlock(bad, QString()));
        QCOMPARE(ring.attributeBlock(QString()), block);
    }
}

void TestDispWidgetKinds::barPixels_data()
{
    QTest::addColumn<int>("rotation");
    QTest::addColumn<float>("value");
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QColor>("expected");
    // 100 x 30 frame across the middle of a 100 x 100 widget, filled to x = 50.
    QTest::newRow("0: fill starts at the left") << 0 << 50.0f << false << QPoint(10, 50) << kFillStart;
    QTest::newRow("0: background beyond the value") << 0 << 50.0f << false << QPoint(75, 50) << kTrack;
    QTest::newRow("0: red outline") << 0 << 50.0f << false << QPoint(50, 35) << QColor(Qt::red);
    QTest::newRow("0: nothing outside the frame")
        << 0 << 50.0f << false << QPoint(50, 20) << QColor(0, 0, 0, 0);
    QTest::newRow("90: fill starts at the bottom") << 90 << 50.0f << false << QPoint(50, 90) << kFillStart;
    QTest::newRow("90: background at the top") << 90 << 50.0f << false << QPoint(50, 25) << kTrack;
    QTest::newRow("past the maximum runs to the end")
        << 0 << 150.0f << false << QPoint(90, 50) << QColor(230, 255, 0);
    QTest::newRow("below the minimum runs leftwards") << 0 << -20.0f << false << QPoint(10, 50) << kTrack;
    QTest::newRow("transparent: only the fill") << 0 << 50.0f << true << QPoint(75, 50) << QColor(0, 0, 0, 0);
    QTest::newRow("transparent keeps the fill") << 0 << 50.0f << true << QPoint(25, 50) << kFillMiddle;
}

void TestDispWidgetKinds::barPixels()
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
    const QColor actual = render(&bar).pixelColor(point);
    QVERIFY2(near(actual, expected, 70), qPrintable(actual.name(QColor::HexArgb)));
}

void TestDispWidgetKinds::memoryLoadReadingUsesPercentRange()
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
    }
}

void TestDispWidgetKinds::needleFollowsReadingsOfItsType()
{
    DispGaugeWidget gauge(nullptr, nullptr);
    gauge.dial()->resize(400, 400);
    const struct
    {
        int type;
        double value;
        double angle; // 0 = 9 o'clock, 90 = 12 o'clock
        const char* text;
        const char* unit;
    } steps[] = {{0, 0, -45, "0", "MHz"},          // a new gauge rests at 7:30
                 {1, 5000, 90, "5000", "GHz"},     // half of the clock range
                 {2, 7000, 90, "5000", "GHz"},     // another type changes nothing
                 {1, 12345, 225, "10000", "GHz"}}; // above the range clamps at 4:30
    for (const auto& step : steps) {
        if (step.type != 0) {
            gauge.updateData(step.type, step.value, QLatin1String(step.type == 1 ? "GHz" : "%"));
        }
        QCOMPARE(gauge.valueLabel()->text(), QString::fromLatin1(step.text));
        QCOMPARE(gauge.unitLabel()->text(), QString::fromLatin1(step.unit));
        // Along the needle, halfway out, its colour; a quarter turn away, not.
        const QImage image = render(gauge.dial());
        QVERIFY(near(image.pixelColor(polar(200, step.angle - 90, 40)), kNeedle, 50));
        QVERIFY(!near(image.pixelColor(polar(200, step.angle, 40)), kNeedle, 50));
    }
}

void TestDispWidgetKinds::subscriptionCountsStayBalanced()
{
    QTemporaryDir dir;
    const auto manager = replayManagerAt(writeTemperatureReplay(dir, QStringLiteral("40")));
    const auto counts = [&manager] {
        QVector<int> list;
        for (int type = 1; type <= 6; ++type) {
            list.append(manager->refCount(type));
        }
        return list;
    };
    // A gauge, a chart and a 3D text moved through the same readings.
    auto gauge = std::make_unique<DispGaugeWidget>(nullptr, manager.get());
    auto chart = std::make_unique<DispChartWidget>(nullptr, manager.get());
    auto view = std::make_unique<Disp3DWidget>(nullptr, manager.get());
    const auto subscribe = [&](int type) {
        gauge->setSubscription(type);
        chart->setSubscription(type);
        QCOMPARE(chart->chart()->count(), 0); // the history starts again
        view->setSubscription(type);
    };
    QCOMPARE(counts(), (QVector<int>{3, 0, 0, 0, 0, 0}));
    subscribe(2);
    subscribe(5);
    QCOMPARE(counts(), (QVector<int>{0, 0, 0, 0, 3, 0}));
    subscribe(0); // none: nothing held, nothing to release later
    subscribe(3);
    QCOMPARE(counts(), (QVector<int>{0, 0, 3, 0, 0, 0}));
    gauge.reset();
    chart.reset();
    view.reset();
    QCOMPARE(counts(), (QVector<int>{0, 0, 0, 0, 0, 0}));
}

void TestDispWidgetKinds::readoutsOutlivingTheirManagerIgnoreQueuedUpdates()
{
    // Items taken out of a scene wait for their deferred delete; the manager
    // may go first, with an update from its thread already queued to them.
    QTemporaryDir dir;
    auto manager = replayManagerAt(writeTemperatureReplay(dir, QStringLiteral("40")));
    SensorFixtures::runUntilTableBuilt(*manager);
    DispNumberWidget number(nullptr, manager.get());
    number.setSensorType(1);
    DispArcWidget arc(nullptr, manager.get());
    DispProgressBarWidget bar(nullptr, manager.get());
    std::unique_ptr<QThread> publisher(QThread::create([&manager] { emit manager->updateDisplayData(); }));
    publisher->start();
    QVERIFY(publisher->wait(5000));
    const QString shown = number.text();
    // Freed memory is overwritten here (MALLOC_PERTURB_): reading the gone
    // manager would lock a garbage mutex.
    manager.reset();
    QCoreApplication::sendPostedEvents();
    QCOMPARE(number.text(), shown);
    QVERIFY(number.sensorManager() == nullptr);
}

void TestDispWidgetKinds::intervalsFollowTheStream_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<float>("speed");
    QTest::addColumn<double>("intervalMs");
    QTest::newRow("25 fps video") << m_video25 << 0.0f << 40.0;
    QTest::newRow("60 fps video held to 40 fps") << m_video60 << 0.0f << 25.0;
    QTest::newRow("10 fps GIF") << m_gif << 0.0f << 100.0;
    QTest::newRow("speed 0.5") << m_video60 << 0.5f << 2000.0;
    QTest::newRow("speed 100 is 60") << m_video25 << 100.0f << 1000.0 / 60.0;
}

void TestDispWidgetKinds::intervalsFollowTheStream()
{
    QFETCH(QString, path);
    QFETCH(float, speed);
    QFETCH(double, intervalMs);
    DispVideoDecoder decoder;
    decoder.setPath(path, false);
    QVERIFY(decoder.isReady());
    decoder.setSpeed(speed);
    QCOMPARE(decoder.frameIntervalMs(), intervalMs);
}

void TestDispWidgetKinds::animationsLoopFromTheFirstFrame_data()
{
    QTest::addColumn<bool>("webp");
    QTest::newRow("GIF") << false;
    QTest::newRow("animated WebP") << true;
}

void TestDispWidgetKinds::animationsLoopFromTheFirstFrame()
{
    QFETCH(bool, webp);
    DispVideoDecoder decoder;
    Player player(&decoder);
    decoder.setPath(webp ? m_webp : m_gif, true);
    QCOMPARE(decoder.mediaInfo().frameCount, 3);
    decoder.start();
    decoder.requestFrame();
    QVERIFY(player.waitFor(7));
    QCOMPARE(player.decoded.mid(0, 7), QList<int>({1, 2, 3, 1, 2, 3, 1}));
    QVERIFY(player.frames[0] != player.frames[1]);
    QCOMPARE(player.frames[3], player.frames[0]);
    QCOMPARE(player.frames[6], player.frames[0]);
}

void TestDispWidgetKinds::frameLimitRestartsAtTheLoopStart()
{
    DispVideoDecoder decoder;
    Player player(&decoder);
    decoder.setPath(m_video25, false);
    QCOMPARE(decoder.getFrameCount(2, 5), 75);
    QCOMPARE(decoder.getFrameCount(2, 3), 25);
    decoder.setLoopStart(2);
    decoder.seekToSecond(2);
    decoder.setSpeed(60);
    decoder.start();
    decoder.requestFrame();
    QVERIFY(player.waitFor(28));
    QCOMPARE(player.seconds.first(), 2.0);
    // Frame 26 exceeds the limit of 25: it is shown, then playback is back at 2 s.
    QCOMPARE(player.seconds[25], 3.0);
    QCOMPARE(player.seconds[26], 2.0);
    QCOMPARE(player.frames[26], player.frames[0]);
}

void TestDispWidgetKinds::hostileMediaEndsWithALogLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("logLine");
    QByteArray pngHeader = QByteArray::fromHex("89504e470d0a1a0a0000000d49484452") +
                           QByteArray::fromHex("000186a0000186a008060000001f15c4890000000049454e44ae426082");
    QTest::newRow("zero-sized") << QByteArray() << "Can't open file: ";
    QTest::newRow("garbage") << QByteArray(4096, '\x5a') << "Can't open file: ";
    QTest::newRow("huge dimensions") << pngHeader << "failed to get sws context";
    QTest::newRow("truncated video") << QByteArray("cut") << "";
}

void TestDispWidgetKinds::hostileMediaEndsWithALogLine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, logLine);
    const QString path = m_dir.filePath(QStringLiteral("hostile_%1.bin").arg(QTest::currentDataTag()));
    if (bytes == "cut") {
        bytes = TestFiles::readAll(m_video60);
        bytes.truncate(bytes.size() / 2);
    }
    QVERIFY(TestFiles::writeFile(path, bytes));

    if (!logLine.isEmpty()) {
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QRegularExpression::escape(logLine)));
    }
    DispVideoDecoder decoder;
    Player player(&decoder);
    decoder.start();
    decoder.setPath(path, true);
    decoder.requestFrame();
    player.waitFor(5, 500);
    if (!logLine.isEmpty()) {
        QVERIFY(!decoder.isReady() && player.frames.isEmpty());
    }
    decoder.stop();
    QVERIFY(decoder.isFinished());
}

// The converter writes whole blocks past short rows; the heap checks of the
// test run see any write past the frame's buffer.
void TestDispWidgetKinds::narrowPicturesConvertInsideTheirBuffer_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("8x8") << QSize(8, 8);
    QTest::newRow("462x4") << QSize(462, 4);
    QTest::newRow("1x1") << QSize(1, 1);
}

void TestDispWidgetKinds::narrowPicturesConvertInsideTheirBuffer()
{
    QFETCH(QSize, size);
    const QString path = TestFiles::writeJpeg(m_dir.filePath(QStringLiteral("narrow.jpg")), size);
    QVERIFY(!path.isEmpty());
    DispVideoDecoder decoder;
    Player player(&decoder);
    decoder.setPath(path, true);
    QVERIFY(decoder.isReady());
    decoder.start();
    decoder.requestFrame();
    QVERIFY(player.waitFor(1));
    decoder.stop();
    QVERIFY(decoder.isFinished());
    const QImage frame = player.frames.last();
    QCOMPARE(frame.size(), size);
    QCOMPARE(Pixels::countNear(frame, frame.rect(), Qt::darkCyan), size.width() * size.height());
}

QTEST_MAIN(TestDispWidgetKinds)
#include "tst_dispwidgetkinds.moc"
