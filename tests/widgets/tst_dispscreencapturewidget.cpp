// The widgets that need the display (Xvfb in `make test`): the capture
// widget, where a window painted with four known colours at a known place is
// captured and, streamed, must show up on panelcast-emu, and how the marker's
// wheel scales it; and the 3D text, which needs an OpenGL context.
#include "disp3d.h"
#include "disp3dsurfaces.h"
#include "disp3dwidget.h"
#include "dispframewidget.h"
#include "dispscene.h"
#include "dispscreencapturewidget.h"
#include "dispstandardwidgetfactory.h"
#include "pixels.h"
#include "screengrabber.h"
#include "testemulator.h"
#include "transport.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QtTest>

namespace {

const QRect kPatternArea(200, 150, 160, 120);
const QColor kQuadrants[4] = {QColor(220, 30, 30), QColor(30, 200, 40), QColor(40, 60, 220),
                              QColor(240, 220, 20)};

// A borderless window with four coloured quadrants.
class PatternWindow : public QWidget
{
public:
    PatternWindow() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint) {}
    int shift = 0; // rotates the colours, to see the capture follow
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const int w = width() / 2, h = height() / 2;
        for (int i = 0; i < 4; ++i)
            painter.fillRect(QRect((i % 2) * w, (i / 2) * h, w, h), kQuadrants[(i + shift) % 4]);
    }
};

} // namespace

class TestDispScreenCaptureWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void capturedRegionStreamsToTheDevice();
    void wheelScalesTheMarker();
    void glyphsAreSolidWithOpenHoles_data();
    void glyphsAreSolidWithOpenHoles();
    void readingShowsAsCentredText();

private:
    PatternWindow m_pattern;
    X11ScreenGrabber m_grabber;
};

void TestDispScreenCaptureWidget::initTestCase()
{
    m_pattern.setGeometry(kPatternArea);
    m_pattern.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_pattern));
}

void TestDispScreenCaptureWidget::capturedRegionStreamsToTheDevice()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X11 screen (run under Xvfb)");
    TestEmulator emu;
    QVERIFY2(emu.start({"--size", "480x480", "--png-every", "1"}), qPrintable(emu.errorText()));
    DispStandardWidgetFactory::install();
    ScreenGrabber::setForSession(&m_grabber);
    DispScene scene;
    QSignalSpy found(scene.transport(), &Transport::searchDeviceFinish);
    scene.transport()->openDevice(emu.link(), 0x1F3A, 0x0007);
    QVERIFY(found.wait(8000));
    scene.setSceneSize(480, 480);
    DispScreenCaptureWidget* capture =
        scene.addScreenCaptureWidget(QStringLiteral("_display"), QPointF(0, 0));
    capture->setItemGeometry(scene.sceneRect());
    capture->setCaptureRect(kPatternArea);

    // Each quadrant of the window fills a quarter of the panel, and follows the window's changes.
    const auto shows = [&emu](int shift) {
        const QImage frame = emu.latestFrame();
        for (int i = 0; i < 4 && !frame.isNull(); ++i) {
            if (!Pixels::near(frame.pixelColor(120 + (i % 2) * 240, 120 + (i / 2) * 240),
                              kQuadrants[(i + shift) % 4], 30))
                return false;
        }
        return !frame.isNull();
    };
    QTRY_VERIFY_WITH_TIMEOUT(shows(0), 8000);
    m_pattern.shift = 1;
    m_pattern.repaint();
    QTRY_VERIFY_WITH_TIMEOUT(shows(1), 8000);
    m_pattern.shift = 0;
    m_pattern.repaint();
    scene.clearThread();
    ScreenGrabber::setForSession(nullptr);
}

void TestDispScreenCaptureWidget::wheelScalesTheMarker()
{
    const QSize screen = QGuiApplication::primaryScreen()->size();
    QCOMPARE(screen, QSize(1920, 1080));
    // Away from the user grows by a tenth, toward the user shrinks by a
    // tenth; sizes are truncated; growing stops at the screen.
    const struct
    {
        QSizeF size;
        int delta;
        int steps;
        QSizeF expected;
    } rows[] = {{{480, 480}, 120, 1, {528, 528}},
                {{100, 100}, -120, 1, {90, 90}},
                {{99, 55}, 120, 1, {108, 60}},
                {{480, 480}, 120, 30, {1920, 1080}}};
    for (const auto& row : rows) {
        QSizeF now = row.size;
        for (int i = 0; i < row.steps; ++i)
            now = DispFrameWidget::scaledSize(now, row.delta, screen);
        QCOMPARE(now, row.expected);
    }
}

void TestDispScreenCaptureWidget::glyphsAreSolidWithOpenHoles_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("solid");
    QTest::newRow("a digit with a hole") << "0" << true;
    QTest::newRow("a percent sign") << "%" << true;
    QTest::newRow("a space adds only its advance") << " " << false;
}

void TestDispScreenCaptureWidget::glyphsAreSolidWithOpenHoles()
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
    mask.fill(Qt::white);
    {
        QPainter painter(&mask);
        painter.translate(20, 150);
        painter.fillPath(path, Qt::black);
    }
    const int covered = Pixels::countNear(mask, mask.rect(), Qt::black, 127);
    QVERIFY2(std::abs(frontArea - covered) < 0.05 * covered, qPrintable(QString::number(frontArea)));
}

void TestDispScreenCaptureWidget::readingShowsAsCentredText()
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
    const QRect ink = Pixels::boundsOf(image, [](QRgb pixel) { return qAlpha(pixel) > 0; });
    QVERIFY2(ink.width() > 40, "the text is visible and wide");
    QVERIFY(std::abs(ink.center().x() - 150) < 10);
    // Upright: the baseline sits at the view's centre, the digits above it.
    QVERIFY(ink.bottom() > 140 && ink.top() < 140);
}

QTEST_MAIN(TestDispScreenCaptureWidget)
#include "tst_dispscreencapturewidget.moc"
