#include "dispwidget.h"

#include <QApplication>
#include <QGraphicsScene>
#include <QtTest>

namespace {

// A widget whose content has a chosen size, optionally posing as a bar.
class SizedWidget : public DispWidget
{
public:
    explicit SizedWidget(const QSize& size, const QString& name = QStringLiteral("data_test"))
    {
        setObjectName(name);
        contentWidget()->resize(size);
    }
    int progressBarLength() const override { return m_length; }
    int progressBarRotation() const override { return m_rotation; }
    int m_length = 0;
    int m_rotation = 0;
};

} // namespace

class TestDispWidget : public QObject
{
    Q_OBJECT

private slots:
    void keepsInsideScene_data();
    void keepsInsideScene();
};

void TestDispWidget::keepsInsideScene_data()
{
    QTest::addColumn<QSize>("itemSize");
    QTest::addColumn<int>("barRotation"); // -1: not a progress bar
    QTest::addColumn<QPointF>("proposed");
    QTest::addColumn<QPointF>("expected");
    // Scene 200 x 100.
    QTest::newRow("inside") << QSize(40, 20) << -1 << QPointF(10, 10) << QPointF(10, 10);
    QTest::newRow("on the far edges") << QSize(40, 20) << -1 << QPointF(160, 80) << QPointF(160, 80);
    QTest::newRow("past the right") << QSize(40, 20) << -1 << QPointF(190, 30) << QPointF(160, 30);
    QTest::newRow("past the top left") << QSize(40, 20) << -1 << QPointF(-5, -9) << QPointF(0, 0);
    QTest::newRow("past the bottom") << QSize(40, 20) << -1 << QPointF(3, 500) << QPointF(3, 80);
    QTest::newRow("wider than the scene") << QSize(260, 20) << -1 << QPointF(10, 10) << QPointF(-60, 10);
    QTest::newRow("taller than the scene") << QSize(40, 150) << -1 << QPointF(10, 10) << QPointF(10, -50);
    // A first-selected bar of length 60 (h = 30) with bounds 60 x 10.
    QTest::newRow("bar flat: x by width, y from h - bh/2")
        << QSize(60, 10) << 0 << QPointF(500, -20) << QPointF(140, 25);
    QTest::newRow("bar flat: y over height - L") << QSize(60, 10) << 0 << QPointF(5, 500) << QPointF(5, 65);
    QTest::newRow("bar upright: x from h - bw/2")
        << QSize(60, 10) << 90 << QPointF(-20, 500) << QPointF(0, 90);
    QTest::newRow("bar upright: x over width - L")
        << QSize(60, 10) << 90 << QPointF(500, 5) << QPointF(140, 5);
    QTest::newRow("bar upside down: as flat")
        << QSize(60, 10) << 180 << QPointF(500, -20) << QPointF(140, 25);
}

void TestDispWidget::keepsInsideScene()
{
    QFETCH(QSize, itemSize);
    QFETCH(int, barRotation);
    QFETCH(QPointF, proposed);
    QFETCH(QPointF, expected);
    QGraphicsScene scene(0, 0, 200, 100);
    auto* widget = new SizedWidget(itemSize, barRotation < 0 ? "data_test" : "progress_bar_3");
    widget->m_length = barRotation < 0 ? 0 : 60;
    widget->m_rotation = barRotation;
    scene.addItem(widget);
    widget->setSelected(true);
    widget->setPos(proposed);
    QCOMPARE(widget->pos(), expected);
    if (barRotation >= 0) { // a bar is held in only while it is the first selected
        auto* other = new SizedWidget(QSize(10, 10));
        scene.addItem(other);
        widget->setSelected(false);
        other->setSelected(true);
        widget->setPos(proposed);
        QCOMPARE(widget->pos(), proposed);
    }
}

QTEST_MAIN(TestDispWidget)

#include "tst_dispwidget.moc"
