// The colour ring: the colour picked at the marker's centre on release, from
// the window behind it and, under X11, from the screen.
#include "colorselection.h"

#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

namespace {

// A window with four coloured quadrants behind the ring.
class Backdrop : public QWidget
{
public:
    Backdrop()
    {
        setFixedSize(ColorSelection::kSide, ColorSelection::kSide);
        QPixmap picture(size());
        QPainter painter(&picture);
        const int half = ColorSelection::kSide / 2;
        painter.fillRect(QRect(0, 0, half, half), QColor(200, 0, 0));         // top left
        painter.fillRect(QRect(half, 0, half, half), QColor(0, 200, 0));      // top right
        painter.fillRect(QRect(0, half, half, half), QColor(0, 0, 200));      // bottom left
        painter.fillRect(QRect(half, half, half, half), QColor(200, 200, 0)); // bottom right
        painter.end();
        auto* label = new QLabel(this);
        label->setPixmap(picture);
        label->setGeometry(rect());
        ring = new ColorSelection(this);
    }
    ColorSelection* ring = nullptr;
};

} // namespace

class tst_ColorSelection : public QObject
{
    Q_OBJECT

private slots:
    void releasePicksColourAtMarker_data();
    void releasePicksColourAtMarker();
};

void tst_ColorSelection::releasePicksColourAtMarker_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("upper right") << QPoint(240, 60) << QColor(0, 200, 0);
    QTest::newRow("upper left") << QPoint(50, 60) << QColor(200, 0, 0);
    QTest::newRow("lower left") << QPoint(50, 240) << QColor(0, 0, 200);
    QTest::newRow("lower right") << QPoint(240, 240) << QColor(200, 200, 0);
}

void tst_ColorSelection::releasePicksColourAtMarker()
{
    QFETCH(QPoint, press);
    QFETCH(QColor, expected);

    Backdrop window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy picked(window.ring, &ColorSelection::currentColorChanged);
    QTest::mousePress(window.ring, Qt::LeftButton, Qt::NoModifier, press);
    QTest::mouseRelease(window.ring, Qt::LeftButton, Qt::NoModifier, press);
    QVERIFY(!window.ring->isPressed());
    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.at(0).at(0).value<QColor>(), expected);
    QCOMPARE(window.ring->currentColor(), expected);
}

QTEST_MAIN(tst_ColorSelection)
#include "tst_colorselection.moc"
