#include "disp3d.h"
#include "disp3dsurfaces.h"
#include "disp3dwidget.h"

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
}

QTEST_MAIN(TestDisp3DWidget)

#include "tst_disp3dwidget.moc"
