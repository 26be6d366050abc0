#include "dispframerenderer.h"
#include "displabelwidget.h"
#include "dispstandardwidgetfactory.h"
#include "disptextwidget.h"

#include <QGraphicsEllipseItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QtTest>

// Frames as the device receives them: the scene on white, turned and padded
// with a transparent band the encoder needs.
class TestDispFrameRenderer : public QObject
{
    Q_OBJECT

private slots:
    void turnedFrameMatchesTransformedImage_data();
    void turnedFrameMatchesTransformedImage();
    void poolReusesImagesButNeverDrawsOverAHeldOne();

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
    QTest::addColumn<int>("band"); // transparent columns on the left
    QTest::newRow("90") << 1 << 0;
    QTest::newRow("180") << 2 << 0;
    QTest::newRow("270") << 3 << 0;
    QTest::newRow("upright, padded") << 0 << 60;
    QTest::newRow("90, padded") << 1 << 60;
}

void TestDispFrameRenderer::turnedFrameMatchesTransformedImage()
{
    QFETCH(int, quarterTurns);
    QFETCH(int, band);
    QGraphicsScene scene(0, 0, 120, 80);
    fillScene(scene);
    DispFrameRenderer upright;
    const QImage flat = upright.render(scene, 0);
    QCOMPARE(flat.size(), QSize(120, 80));
    QTransform turn;
    turn.rotate(90 * quarterTurns);
    const QImage expected =
        flat.transformed(turn, Qt::FastTransformation).convertToFormat(QImage::Format_ARGB32);
    // Reaches past the scene's left edge: must not leak into the band.
    scene.addRect(QRectF(-50, -50, 45, 300), Qt::NoPen, QBrush(Qt::blue));
    QImage clear(band, expected.height(), QImage::Format_ARGB32);
    clear.fill(Qt::transparent);

    DispFrameRenderer renderer;
    for (int frame = 0; frame < 3; ++frame) { // the pool's images come round again
        const QImage image =
            renderer.render(scene, quarterTurns, expected.size() + QSize(band, 0), QPoint(band, 0))
                .convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), expected.size() + QSize(band, 0));
        QCOMPARE(image.copy(band, 0, expected.width(), expected.height()), expected);
        QCOMPARE(image.copy(0, 0, band, image.height()), band > 0 ? clear : QImage());
    }
}

void TestDispFrameRenderer::poolReusesImagesButNeverDrawsOverAHeldOne()
{
    QGraphicsScene scene(0, 0, 40, 40);
    auto* rect = scene.addRect(QRectF(0, 0, 40, 40), Qt::NoPen, QBrush(Qt::red));
    DispFrameRenderer renderer;
    QImage held;
    for (int frame = 0; frame < 50; ++frame) {
        held = renderer.render(scene, frame % 2);
        QVERIFY(!held.isDetached()); // the pooled image itself, not a copy
    }
    // The pool's images, plus the upright buffer of turned frames.
    QVERIFY2(renderer.allocationCount() <= 3, qPrintable(QString::number(renderer.allocationCount())));
    QCOMPARE(renderer.releaseSpareImages(), 2); // a still scene keeps only the frame held
    QCOMPARE(renderer.imageCount(), 1);

    // Frames still queued for the device keep their pixels while new ones are drawn.
    QList<QImage> queued{held};
    for (int frame = 0; frame < DispFrameRenderer::kPoolSize + 2; ++frame) {
        queued.append(renderer.render(scene, 0));
    }
    rect->setBrush(Qt::green);
    QCOMPARE(renderer.render(scene, 0).pixelColor(5, 5), QColor(Qt::green));
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
