#include "disp3d.h"
#include "disp3dsurfaces.h"
#include "disp3dwidget.h"
#include "dispanalogclock.h"
#include "dispanalogclockwidget.h"
#include "disparcwidget.h"
#include "dispchart.h"
#include "dispchartwidget.h"
#include "dispcircularprogressbar.h"
#include "dispgaugewidget.h"
#include "dispprogressbar.h"
#include "dispprogressbarwidget.h"

#include <QGraphicsScene>

#include <QPainter>
#include <QtTest>

class TestDisp3DWidget : public QObject
{
    Q_OBJECT

private slots:
    void glyphsAreSolidWithOpenHoles_data();
    void glyphsAreSolidWithOpenHoles();
    void readingShowsAsCentredText();
};

void TestDisp3DWidget::glyphsAreSolidWithOpenHoles_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("solid");
    QTest::newRow("a digit with a hole") << "0" << true;
    QTest::newRow("a percent sign") << "%" << true;
    QTest::newRow("a space adds only its advance") << " " << false;
}

void TestDisp3DWidget::glyphsAreSolidWithOpenHoles()
{
    QFETCH(QString, text);
    QFETCH(bool, solid);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(100);
    const Disp3DSurfaces::Result result = Disp3DSurfaces::build(text, font, 2.0f);
    QCOMPARE(result.textWidth, int(QFontMetricsF(font).horizontalAdvance(text)));
    QCOMPARE(result.vertices.isEmpty(), !solid);
    if (!solid) {
        return;
    }
    // The front faces (z = 0) cover exactly the glyph's filled area: the
    // triangle areas add up to the outline's area minus its holes.
    double frontArea = 0;
    const QVector<float>& v = result.vertices;
    for (int i = 0; i + 17 < v.size(); i += 18) {
        if (v[i + 2] != 0.0f || v[i + 8] != 0.0f || v[i + 14] != 0.0f) {
            continue;
        }
        frontArea += std::abs((v[i + 6] - v[i]) * (v[i + 13] - v[i + 1]) -
                              (v[i + 12] - v[i]) * (v[i + 7] - v[i + 1])) /
                     2;
    }
    QPainterPath path;
    path.addText(0, 0, font, text);
    QImage mask(200, 200, QImage::Format_ARGB32);
    mask.fill(Qt::transparent);
    {
        QPainter painter(&mask);
        painter.translate(20, 150);
        painter.fillPath(path, Qt::black);
    }
    int covered = 0;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            covered += qAlpha(mask.pixel(x, y)) > 127 ? 1 : 0;
        }
    }
    QVERIFY2(std::abs(frontArea - covered) < 0.05 * covered, qPrintable(QString::number(frontArea)));
}

void TestDisp3DWidget::readingShowsAsCentredText()
{
    Disp3DWidget widget(nullptr, nullptr);
    Disp3D* view = widget.view();
    QVERIFY(view->renderedImage().isNull() || view->vertexCount() == 0);
    if (!view->hasContext()) {
        QSKIP("no OpenGL context on this platform");
    }
    widget.updateData(2, 36.5, QStringLiteral("%")); // not its type
    QVERIFY(view->text().isEmpty());
    widget.updateData(1, 36.5, QStringLiteral("%"));
    QCOMPARE(view->text(), QStringLiteral("36.50 %"));
    view->setAngles(0, 0, 0);
    const QImage image = view->renderedImage();
    QCOMPARE(image.size(), QSize(300, 300));
    int left = image.width();
    int right = -1;
    int top = image.height();
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    QVERIFY2(right > left + 40, "the text is visible and wide");
    QVERIFY(std::abs((left + right) / 2 - 150) < 10);
    // Upright: the baseline sits at the view's centre, the digits above it.
    QVERIFY(bottom > 140 && top < 140);

    // Set PANELCAST_SCREENSHOT_DIR to keep a frame holding every readout kind.
    const QString shots = qEnvironmentVariable("PANELCAST_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        QGraphicsScene scene(0, 0, 480, 960);
        scene.setBackgroundBrush(QColor(20, 24, 32));
        auto* arc = new DispArcWidget(nullptr, nullptr);
        arc->ring()->resize(200, 200);
        arc->ring()->setLineWidth(20);
        arc->ring()->setRange(0, 200);
        arc->ring()->setValue(57, QStringLiteral("°C"));
        auto* bar = new DispProgressBarWidget(nullptr, nullptr);
        bar->bar()->setLength(200);
        bar->bar()->setValue(63);
        auto* gauge = new DispGaugeWidget(nullptr, nullptr);
        gauge->contentWidget()->resize(220, 220);
        gauge->updateData(1, 4200, QStringLiteral("MHz"));
        auto* chart = new DispChartWidget(nullptr, nullptr);
        chart->contentWidget()->resize(440, 160);
        for (int i = 0; i < 20; ++i) {
            chart->chart()->setCurrentValue(float(2500 + (i * 1733) % 4000));
            chart->chart()->takeSample();
        }
        chart->updateData(1, 4321.5, QStringLiteral("MHz"));
        auto* clock = new DispAnalogClockWidget;
        clock->setScale(0.5);
        clock->clock()->setTimeSource([] { return QTime(10, 8, 36); });
        const QList<QPair<DispWidget*, QPointF>> items = {{arc, {20, 20}},     {bar, {250, 20}},
                                                          {gauge, {240, 220}}, {chart, {20, 460}},
                                                          {&widget, {0, 640}}, {clock, {20, 220}}};
        for (const auto& item : items) {
            scene.addItem(item.first);
            item.first->setPos(item.second);
        }
        QImage frame(480, 960, QImage::Format_ARGB32_Premultiplied);
        frame.fill(Qt::white);
        for (int i = 0; i < 2; ++i) { // the first render settles the sizes
            QPainter painter(&frame);
            scene.render(&painter);
        }
        QVERIFY(frame.save(shots + QStringLiteral("/readouts.png")));
        scene.removeItem(&widget);
    }
}

QTEST_MAIN(TestDisp3DWidget)

#include "tst_disp3dwidget.moc"
