#include "dispwidget.h"
#include "dispwidgetnames.h"

#include <QApplication>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QPainter>
#include <QSignalSpy>
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

QImage renderScene(QGraphicsScene& scene)
{
    QImage image(scene.sceneRect().size().toSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter);
    return image;
}

} // namespace

class TestDispWidget : public QObject
{
    Q_OBJECT

private slots:
    void namesFollowCounterOrSuffix();
    void keepsInsideScene_data();
    void keepsInsideScene();
    void progressBarClampsOnlyWhileFirstSelected_data();
    void progressBarClampsOnlyWhileFirstSelected();
    void selectionFrameUsesContrastColour_data();
    void selectionFrameUsesContrastColour();
    void resizesToContentAtNextPaint();
    void emitsPositionSignals();
};

void TestDispWidget::namesFollowCounterOrSuffix()
{
    // Each kind counts on its own from 0; this process made no widget yet.
    QCOMPARE(DispWidgetNames::next(DispWidgetNames::Gauge), QStringLiteral("gauge_0"));
    QCOMPARE(DispWidgetNames::next(DispWidgetNames::Gauge), QStringLiteral("gauge_1"));
    QCOMPARE(DispWidgetNames::next(DispWidgetNames::ThreeD), QStringLiteral("gauge_0"));
    QCOMPARE(DispWidgetNames::next(DispWidgetNames::Number), QStringLiteral("data_0"));
    QCOMPARE(DispWidgetNames::next(DispWidgetNames::Number, QStringLiteral("_7")), QStringLiteral("data_7"));
    QCOMPARE(DispWidgetNames::next(DispWidgetNames::Number), QStringLiteral("data_1"));
    QCOMPARE(DispWidgetNames::next(DispWidgetNames::Date, QStringLiteral("_home_datetime")),
             QStringLiteral("date_home_datetime"));
    // Patterns holding the number ignore a suffix.
    QCOMPARE(DispWidgetNames::next(DispWidgetNames::Arc, QStringLiteral("_x")), QStringLiteral("arc_0"));
    QCOMPARE(DispWidgetNames::next(DispWidgetNames::ProgressBar), QStringLiteral("progress_bar_0"));
    QCOMPARE(DispWidgetNames::next(DispWidgetNames::AnalogClock), QStringLiteral("clock_0"));
    QCOMPARE(DispWidgetNames::next(DispWidgetNames::Chart), QStringLiteral("chart_0"));
    QCOMPARE(DispWidgetNames::next(DispWidgetNames::ScreenCapture, QStringLiteral("_display")),
             QStringLiteral("screen_capture_display"));
    QCOMPARE(DispWidgetNames::next(DispWidgetNames::Image, QStringLiteral("_background")),
             QStringLiteral("image_background"));
    QCOMPARE(DispWidgetNames::next(DispWidgetNames::Text), QStringLiteral("text_0"));
    QCOMPARE(DispWidgetNames::next(DispWidgetNames::KindCount), QString());
}

void TestDispWidget::keepsInsideScene_data()
{
    QTest::addColumn<QSize>("itemSize");
    QTest::addColumn<QPointF>("proposed");
    QTest::addColumn<QPointF>("expected");
    QTest::newRow("inside") << QSize(40, 20) << QPointF(10, 10) << QPointF(10, 10);
    QTest::newRow("on the far edges") << QSize(40, 20) << QPointF(160, 80) << QPointF(160, 80);
    QTest::newRow("past the right") << QSize(40, 20) << QPointF(190, 30) << QPointF(160, 30);
    QTest::newRow("past the top left") << QSize(40, 20) << QPointF(-5, -9) << QPointF(0, 0);
    QTest::newRow("past the bottom") << QSize(40, 20) << QPointF(3, 500) << QPointF(3, 80);
    QTest::newRow("wider than the scene") << QSize(260, 20) << QPointF(10, 10) << QPointF(-60, 10);
    QTest::newRow("taller than the scene") << QSize(40, 150) << QPointF(10, 10) << QPointF(10, -50);
}

void TestDispWidget::keepsInsideScene()
{
    QFETCH(QSize, itemSize);
    QFETCH(QPointF, proposed);
    QFETCH(QPointF, expected);
    QGraphicsScene scene(0, 0, 200, 100);
    auto* widget = new SizedWidget(itemSize);
    scene.addItem(widget);
    widget->setPos(proposed);
    QCOMPARE(widget->pos(), expected);
}

void TestDispWidget::progressBarClampsOnlyWhileFirstSelected_data()
{
    QTest::addColumn<int>("rotation");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QPointF>("proposed");
    QTest::addColumn<QPointF>("expected");
    // Scene 200 x 100, bounds 60 x 10, bar length 60 (h = 30).
    QTest::newRow("not selected: free") << 0 << false << QPointF(500, 500) << QPointF(500, 500);
    QTest::newRow("flat: x by width, y from h - bh/2") << 0 << true << QPointF(500, -20) << QPointF(140, 25);
    QTest::newRow("flat: y over height - L") << 0 << true << QPointF(5, 500) << QPointF(5, 65);
    QTest::newRow("upright: x from h - bw/2") << 90 << true << QPointF(-20, 500) << QPointF(0, 90);
    QTest::newRow("upright: x over width - L") << 90 << true << QPointF(500, 5) << QPointF(140, 5);
    QTest::newRow("upside down: as flat") << 180 << true << QPointF(500, -20) << QPointF(140, 25);
}

void TestDispWidget::progressBarClampsOnlyWhileFirstSelected()
{
    QFETCH(int, rotation);
    QFETCH(bool, selected);
    QFETCH(QPointF, proposed);
    QFETCH(QPointF, expected);
    QGraphicsScene scene(0, 0, 200, 100);
    auto* bar = new SizedWidget(QSize(60, 10), QStringLiteral("progress_bar_3"));
    bar->m_length = 60;
    bar->m_rotation = rotation;
    scene.addItem(bar);
    if (selected) {
        bar->setSelected(true);
    } else {
        auto* other = new SizedWidget(QSize(10, 10));
        scene.addItem(other);
        other->setSelected(true);
    }
    bar->setPos(proposed);
    QCOMPARE(bar->pos(), expected);
}

void TestDispWidget::selectionFrameUsesContrastColour_data()
{
    QTest::addColumn<QColor>("windowText");
    QTest::addColumn<QColor>("contrast");
    QTest::newRow("black text") << QColor(Qt::black) << QColor(Qt::white);
    QTest::newRow("mixed") << QColor(200, 50, 128) << QColor(0, 255, 0);
}

void TestDispWidget::selectionFrameUsesContrastColour()
{
    QFETCH(QColor, windowText);
    QFETCH(QColor, contrast);
    // Items are painted with the style option's palette: the application's
    // when the scene was made.
    const QPalette original = QApplication::palette();
    QPalette palette = original;
    palette.setColor(QPalette::WindowText, windowText);
    QApplication::setPalette(palette);
    auto restore = qScopeGuard([&original] { QApplication::setPalette(original); });
    QGraphicsScene scene(0, 0, 100, 100);
    auto* widget = new SizedWidget(QSize(50, 30));
    scene.addItem(widget);
    widget->setPos(20, 20);
    widget->contentProxy()->setVisible(false); // only the frame is drawn

    QImage image = renderScene(scene);
    QCOMPARE(image.pixelColor(20, 20), QColor(Qt::white)); // not selected: nothing drawn

    widget->setSelected(true);
    image = renderScene(scene);
    int contrastPixels = 0;
    int textPixels = 0;
    for (int x = 20; x < 70; ++x) {
        const QColor colour = image.pixelColor(x, 20);
        contrastPixels += colour == contrast ? 1 : 0;
        textPixels += colour == windowText ? 1 : 0;
    }
    // A dashed line in the text colour over a solid one in its contrast.
    QVERIFY2(contrastPixels > 5, qPrintable(QString::number(contrastPixels)));
    QVERIFY2(textPixels > 5, qPrintable(QString::number(textPixels)));
    QCOMPARE(contrastPixels + textPixels, 50);
    QCOMPARE(image.pixelColor(40, 35), QColor(Qt::white)); // no brush
}

void TestDispWidget::resizesToContentAtNextPaint()
{
    QGraphicsScene scene(0, 0, 200, 100);
    auto* widget = new SizedWidget(QSize(40, 20));
    scene.addItem(widget);
    renderScene(scene);
    QCOMPARE(widget->size(), QSizeF(40, 20));

    widget->contentWidget()->resize(120, 20);
    QCOMPARE(widget->boundingRect(), QRectF(0, 0, 120, 20));
    renderScene(scene);
    QCOMPARE(widget->size(), QSizeF(120, 20));
    // Clamping now uses the wider size.
    widget->setPos(150, 0);
    QCOMPARE(widget->pos(), QPointF(80, 0));
}

void TestDispWidget::emitsPositionSignals()
{
    SizedWidget widget(QSize(10, 10));
    QSignalSpy xSpy(&widget, &DispWidget::xChanged2);
    QSignalSpy ySpy(&widget, &DispWidget::yChanged2);
    widget.setPos(12.9, 4.2);
    QCOMPARE(xSpy.count(), 1);
    QCOMPARE(xSpy.first().first().toInt(), 12);
    QCOMPARE(ySpy.count(), 1);
    QCOMPARE(ySpy.first().first().toInt(), 4);
    widget.setPos(12.9, 7);
    QCOMPARE(xSpy.count(), 1);
    QCOMPARE(ySpy.count(), 2);
}

QTEST_MAIN(TestDispWidget)

#include "tst_dispwidget.moc"
