#include "dispframerenderer.h"
#include "displabelwidget.h"
#include "dispstandardwidgetfactory.h"
#include "disptextwidget.h"

#include <QGraphicsEllipseItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QPainter>
#include <QtTest>

// Frames as the device receives them: the scene on white, turned and padded.
class TestDispFrameRenderer : public QObject
{
    Q_OBJECT

private slots:
    void turnedFrameMatchesTransformedImage_data();
    void turnedFrameMatchesTransformedImage();
    void paddedFrameKeepsTransparentBand_data();
    void paddedFrameKeepsTransparentBand();
    void poolReusesImagesOnceWarm();
    void heldFrameIsNeverDrawnOver();

private:
    static void fillScene(QGraphicsScene& scene);
};

void TestDispFrameRenderer::fillScene(QGraphicsScene& scene)
{
    auto* rect = scene.addRect(QRectF(10, 20, 50, 30), Qt::NoPen, QBrush(Qt::red));
    rect->setZValue(1);
    scene.addEllipse(QRectF(70, 15, 41, 23), QPen(Qt::blue, 3), QBrush(Qt::green));
    scene.addLine(QLineF(0, 0, 119, 79), QPen(Qt::black, 1.5));
    auto* label = new DispLabelWidget;
    label->setText(QStringLiteral("Label 42"));
    label->setColor(Qt::darkMagenta);
    scene.addItem(label);
    label->setPos(5, 55);
    auto* text = new DispTextWidget(nullptr, QStringLiteral("_frame"));
    text->setPlainText(QStringLiteral("Hello"));
    scene.addItem(text);
    text->setPos(60, 45);
    text->setSelected(true);
}

void TestDispFrameRenderer::turnedFrameMatchesTransformedImage_data()
{
    QTest::addColumn<int>("quarterTurns");
    QTest::newRow("90") << 1;
    QTest::newRow("180") << 2;
    QTest::newRow("270") << 3;
}

void TestDispFrameRenderer::turnedFrameMatchesTransformedImage()
{
    QFETCH(int, quarterTurns);
    QGraphicsScene scene(0, 0, 120, 80);
    fillScene(scene);

    DispFrameRenderer upright;
    const QImage flat = upright.render(scene, 0);
    QCOMPARE(flat.size(), QSize(120, 80));
    QTransform turn;
    turn.rotate(90 * quarterTurns);
    const QImage expected = flat.transformed(turn, Qt::FastTransformation);

    DispFrameRenderer renderer;
    const QImage turned = renderer.render(scene, quarterTurns);
    QCOMPARE(turned.size(), expected.size());
    QCOMPARE(turned.convertToFormat(QImage::Format_ARGB32), expected.convertToFormat(QImage::Format_ARGB32));
}

void TestDispFrameRenderer::paddedFrameKeepsTransparentBand_data()
{
    QTest::addColumn<int>("quarterTurns");
    QTest::newRow("upright") << 0;
    QTest::newRow("90") << 1;
}

void TestDispFrameRenderer::paddedFrameKeepsTransparentBand()
{
    QFETCH(int, quarterTurns);
    const QSize sceneSize = quarterTurns == 1 ? QSize(960, 360) : QSize(360, 960);
    QGraphicsScene scene(QRectF(QPointF(0, 0), QSizeF(sceneSize)));
    // Reaches past the scene's left edge: must not leak into the band.
    scene.addRect(QRectF(-50, -50, 2000, 2000), Qt::NoPen, QBrush(Qt::blue));

    DispFrameRenderer renderer;
    for (int frame = 0; frame < 3; ++frame) {
        const QImage image = renderer.render(scene, quarterTurns, QSize(420, 960), QPoint(60, 0));
        QCOMPARE(image.size(), QSize(420, 960));
        QCOMPARE(image.pixel(0, 0), qRgba(0, 0, 0, 0));
        QCOMPARE(image.pixel(59, 959), qRgba(0, 0, 0, 0));
        QCOMPARE(image.pixelColor(60, 0), QColor(Qt::blue));
        QCOMPARE(image.pixelColor(419, 959), QColor(Qt::blue));
    }
}

void TestDispFrameRenderer::poolReusesImagesOnceWarm()
{
    QGraphicsScene scene(0, 0, 480, 480);
    DispFrameRenderer renderer;
    QImage held;
    for (int frame = 0; frame < 50; ++frame) {
        held = renderer.render(scene, 1);
    }
    QVERIFY2(renderer.allocationCount() <= 2, qPrintable(QString::number(renderer.allocationCount())));
}

void TestDispFrameRenderer::heldFrameIsNeverDrawnOver()
{
    QGraphicsScene scene(0, 0, 40, 40);
    auto* rect = scene.addRect(QRectF(0, 0, 40, 40), Qt::NoPen, QBrush(Qt::red));
    DispFrameRenderer renderer;
    QList<QImage> queued;
    for (int frame = 0; frame < DispFrameRenderer::kPoolSize + 2; ++frame) {
        queued.append(renderer.render(scene, 0));
    }
    rect->setBrush(Qt::green);
    const QImage fresh = renderer.render(scene, 0);
    QCOMPARE(fresh.pixelColor(5, 5), QColor(Qt::green));
    for (const QImage& old : queued) {
        QCOMPARE(old.pixelColor(5, 5), QColor(Qt::red));
    }
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    DispStandardWidgetFactory::install();
    TestDispFrameRenderer test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_dispframerenderer.moc"
