#include "disparcwidget.h"
#include "dispcircularprogressbar.h"
#include "readoutfixtures.h"

#include <QtTest>

#include <cmath>

using namespace ReadoutFixtures;

namespace {

// The ring's centre line at an angle clockwise from 12 o'clock (80 x 80 ring,
// line width 10: radius 35 around (40, 40)).
QPoint ringPoint(double degrees)
{
    const double radians = degrees * M_PI / 180.0;
    return QPoint(int(std::lround(40 + 35 * std::sin(radians))),
                  int(std::lround(40 - 35 * std::cos(radians))));
}

const QColor kTrack(160, 160, 164);

// The default ring's attribute block.
const char* const kDefaultBlock = "010100"                                 // round cap, solid, transparent
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

} // namespace

class TestDispArcWidget : public QObject
{
    Q_OBJECT

private slots:
    void temperatureReadingSweepsClockwiseFromTwelve();
    void attributeBlockRoundTrip();
    void malformedBlocksChangeNothing_data();
    void malformedBlocksChangeNothing();
};

void TestDispArcWidget::temperatureReadingSweepsClockwiseFromTwelve()
{
    QTemporaryDir dir;
    const auto manager = replayManager(writeTemperatureReplay(dir, QStringLiteral("55.7")));
    for (int pass = 0; pass < 4; ++pass) {
        manager->runLoopPass();
    }
    DispArcWidget arc(nullptr, manager.get());
    arc.refreshValue();
    DispCircularProgressBar* ring = arc.ring();
    QCOMPARE(ring->maximum(), 200.0f);
    QCOMPARE(ring->value(), 55.0f);
    QCOMPARE(ring->sweep(), -99.0f);

    const QImage image = render(ring);
    // The start dot at 12 o'clock in the first stop's colour, the arc to
    // about 3 o'clock, then the track.
    QVERIFY(near(image.pixelColor(ringPoint(0)), Qt::green));
    QVERIFY(!near(image.pixelColor(ringPoint(60)), kTrack));
    QVERIFY(near(image.pixelColor(ringPoint(120)), kTrack));
    QVERIFY(near(image.pixelColor(ringPoint(240)), kTrack));
    // The text "55°C" is drawn in the middle in white.
    int white = 0;
    for (int x = 20; x < 60; ++x) {
        white += near(image.pixelColor(x, 40), Qt::white, 30) ? 1 : 0;
    }
    QVERIFY(white > 0);

    // A fixed text (the CPU name, display type 6) empties the ring.
    arc.setSensorType(6);
    arc.refreshValue();
    QCOMPARE(ring->sweep(), 0.0f);
    QCOMPARE(ring->maximum(), 100.0f);
}

void TestDispArcWidget::attributeBlockRoundTrip()
{
    DispCircularProgressBar ring;
    QCOMPARE(ring.attributeBlock(QStringLiteral("res/")).toHex(), QByteArray(kDefaultBlock));

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
    QCOMPARE(ring.gradientColors(), (QList<QColor>{Qt::blue, Qt::cyan}));
    QCOMPARE(ring.lineWidthInt(), 7);
    QCOMPARE(ring.minimum(), 10.0f);
}

void TestDispArcWidget::malformedBlocksChangeNothing_data()
{
    QTest::addColumn<QByteArray>("block");
    const QByteArray good = QByteArray::fromHex(kDefaultBlock);
    QByteArray hugeCount = good;
    hugeCount.replace(25, 4, QByteArray::fromHex("7fffffff"));
    QByteArray negativeCount = good;
    negativeCount.replace(25, 4, QByteArray::fromHex("ffffffff"));
    QByteArray notANumber = good;
    notANumber.replace(good.size() - 40, 8, QByteArray::fromHex("7ff8000000000000"));
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("cut in the stops") << good.left(40);
    QTest::newRow("cut in the floats") << good.left(good.size() - 1);
    QTest::newRow("stop count beyond the bytes") << hugeCount;
    QTest::newRow("negative stop count") << negativeCount;
    QTest::newRow("line width not a number") << notANumber;
}

void TestDispArcWidget::malformedBlocksChangeNothing()
{
    QFETCH(QByteArray, block);
    DispCircularProgressBar ring;
    ring.setLineWidth(3);
    const QByteArray before = ring.attributeBlock(QString());
    QVERIFY(!ring.setAttributeBlock(block, QString()));
    QCOMPARE(ring.attributeBlock(QString()), before);
}

QTEST_MAIN(TestDispArcWidget)

#include "tst_disparcwidget.moc"
