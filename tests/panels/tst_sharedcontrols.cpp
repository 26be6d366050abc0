// The colour and font buttons, the range slider and the crop frame label.
#include "dispcolorselectbutton.h"
#include "dispfontselectbutton.h"
#include "rangeslider.h"
#include "scalelabel.h"

#include <QSignalSpy>
#include <QtTest>

class TestSharedControls : public QObject
{
    Q_OBJECT

private slots:
    void colorButtonTakesOnlyAnAnsweredColor();
    void fontButtonShowsPixelsAsPoints();
    void rangeFollowsMinimumAndMaximum_data();
    void rangeFollowsMinimumAndMaximum();
    void handlesFollowTheMouseWithoutCrossing();
    void scaleLabelKeeps25PixelsInside_data();
    void scaleLabelKeeps25PixelsInside();
};

void TestSharedControls::colorButtonTakesOnlyAnAnsweredColor()
{
    QColor answer;
    bool askedForAlpha = false;
    DispColorSelectButton::setColorDialog([&](const QColor&, bool alpha) {
        askedForAlpha = alpha;
        return answer;
    });
    DispColorSelectButton button(QStringLiteral(":/images/textpointer.png"), Qt::red);
    QSignalSpy changed(&button, &DispColorSelectButton::colorChanged);

    button.click(); // cancelled
    QCOMPARE(button.color(), QColor(Qt::red));
    QCOMPARE(changed.count(), 0);
    answer = QColor(0, 0, 255, 128);
    button.setAlphaAllowed(true);
    button.click();
    QVERIFY(askedForAlpha);
    QCOMPARE(button.color(), answer);
    QCOMPARE(changed.count(), 1);
    button.setColor(Qt::green);
    QCOMPARE(changed.count(), 1);

    // The swatch fills rows 60 to 79 under the picture; without one, all of it.
    const QImage icon = button.iconPixmap().toImage();
    QCOMPARE(icon.size(), QSize(50, 80));
    QCOMPARE(icon.pixelColor(25, 60), QColor(Qt::green));
    QCOMPARE(icon.pixelColor(25, 79), QColor(Qt::green));
    QCOMPARE(icon.pixelColor(25, 55).alpha(), 0);
    const QImage plain = DispColorSelectButton(QString(), Qt::blue).iconPixmap().toImage();
    QCOMPARE(plain.pixelColor(25, 10), QColor(Qt::blue));
    DispColorSelectButton::setColorDialog(nullptr);
}

void TestSharedControls::fontButtonShowsPixelsAsPoints()
{
    int shownPoints = 0;
    DispFontSelectButton::setFontDialog([&](QFont& font) {
        shownPoints = font.pointSize();
        font.setPointSize(30);
        return true;
    });
    DispFontSelectButton button;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(20);
    button.setFont(font);
    QSignalSpy changed(&button, &DispFontSelectButton::fontChanged);
    button.click();
    QCOMPARE(shownPoints, 20);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(button.font().pointSize(), 30);

    // A point size is stored as pixels, as the display widgets draw it.
    QFont points(QStringLiteral("DejaVu Sans"), 22);
    button.setFont(points);
    QCOMPARE(button.font().pixelSize(), int(22 * button.devicePixelRatioF()));
    DispFontSelectButton::setFontDialog([](QFont&) { return false; });
    button.click();
    QCOMPARE(changed.count(), 1);
    DispFontSelectButton::setFontDialog(nullptr);
}

void TestSharedControls::rangeFollowsMinimumAndMaximum_data()
{
    QTest::addColumn<bool>("minimumFirst");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::newRow("minimum inside") << true << 40 << 40 << 100;
    QTest::newRow("minimum above the maximum swaps") << true << 150 << 100 << 150;
    QTest::newRow("maximum inside") << false << 60 << 0 << 60;
    QTest::newRow("maximum below the minimum swaps") << false << -20 << -20 << 0;
}

void TestSharedControls::rangeFollowsMinimumAndMaximum()
{
    QFETCH(bool, minimumFirst);
    QFETCH(int, value);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    RangeSlider slider(Qt::Horizontal);
    QSignalSpy range(&slider, &RangeSlider::rangeChanged);
    if (minimumFirst)
        slider.setMinimum(value);
    else
        slider.setMaximum(value);
    QCOMPARE(range.last(), (QList<QVariant>{minimum, maximum}));
    QCOMPARE(slider.lowerValue(), minimum);
    QCOMPARE(slider.upperValue(), maximum);
    slider.setLowerValue(minimum - 5);
    QCOMPARE(slider.lowerValue(), minimum);
}

void TestSharedControls::handlesFollowTheMouseWithoutCrossing()
{
    RangeSlider slider(Qt::Horizontal);
    slider.resize(236, 20); // 200 pixels of travel for two handles
    slider.setUpperValue(60);
    QCOMPARE(slider.lowerHandleStart(), 3);
    QCOMPARE(slider.upperHandleStart(), 60 * 200 / 100 + 3 + 15);

    const QPoint lower(slider.lowerHandleStart() + 7, 10);
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, lower);
    QMouseEvent move(QEvent::MouseMove, QPointF(lower + QPoint(50, 0)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&slider, &move);
    QCOMPARE(slider.lowerValue(), 25);
    QMouseEvent past(QEvent::MouseMove, QPointF(230, 10), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&slider, &past);
    QCOMPARE(slider.lowerValue(), 60);
    QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(230, 10));

    // A press on the track beyond the upper handle moves it one tenth up.
    QTest::mouseClick(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(228, 10));
    QCOMPARE(slider.upperValue(), 70);
}

void TestSharedControls::scaleLabelKeeps25PixelsInside_data()
{
    QTest::addColumn<QPoint>("drag");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("inside") << QPoint(30, 40) << QPoint(130, 140);
    QTest::newRow("just 25 left on the right") << QPoint(275, 0) << QPoint(375, 100);
    QTest::newRow("less than 25 left on the right") << QPoint(276, 0) << QPoint(100, 100);
    QTest::newRow("less than 25 left at the top") << QPoint(0, -176) << QPoint(100, 100);
}

void TestSharedControls::scaleLabelKeeps25PixelsInside()
{
    QFETCH(QPoint, drag);
    QFETCH(QPoint, topLeft);
    QWidget area;
    area.resize(400, 300);
    scaleLabel label(&area);
    label.setGeometry(100, 100, 50, 50);
    label.setItemSize(50, 50);
    label.setAreaSize(400, 300);
    QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 10) + drag, label.mapToGlobal(QPoint(10, 10)) + drag,
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&label, &move);
    QCOMPARE(label.pos(), topLeft);
}

QTEST_MAIN(TestSharedControls)
#include "tst_sharedcontrols.moc"
