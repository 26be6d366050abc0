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
    void rangeFollowsMinimumAndMaximum_data();
    void rangeFollowsMinimumAndMaximum();
    void scaleLabelKeeps25PixelsInside_data();
    void scaleLabelKeeps25PixelsInside();
};

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
