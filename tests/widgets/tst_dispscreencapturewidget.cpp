// The capture widget under Xvfb: a window painted with four known colours at
// a known place is captured and, streamed, must show up on panelcast-emu;
// and how the marker's wheel scales it.
#include "dispframewidget.h"
#include "dispscene.h"
#include "dispscreencapturewidget.h"
#include "dispstandardwidgetfactory.h"
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

private:
    PatternWindow m_pattern;
    X11ScreenGrabber m_grabber;
};

void TestDispScreenCaptureWidget::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X11 screen (run under Xvfb)");
    m_pattern.setGeometry(kPatternArea);
    m_pattern.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_pattern));
}

void TestDispScreenCaptureWidget::capturedRegionStreamsToTheDevice()
{
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
            const QColor seen = frame.pixelColor(120 + (i % 2) * 240, 120 + (i / 2) * 240);
            const QColor& want = kQuadrants[(i + shift) % 4];
            if (qAbs(seen.red() - want.red()) + qAbs(seen.green() - want.green()) +
                    qAbs(seen.blue() - want.blue()) >
                60)
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

QTEST_MAIN(TestDispScreenCaptureWidget)
#include "tst_dispscreencapturewidget.moc"
