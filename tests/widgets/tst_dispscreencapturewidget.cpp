// The capture widget and its on-screen marker under Xvfb: a window painted
// with four known colours at a known place is captured and must show up in
// the widget's pixels and, streamed, on panelcast-emu; the marker's wheel,
// drag and setFrameRect rules.
#include "dispframewidget.h"
#include "dispscene.h"
#include "dispscreencapturewidget.h"
#include "dispstandardwidgetfactory.h"
#include "emuprocess.h"
#include "screengrabber.h"
#include "transport.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
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
    void capturedRectangleLandsInTheLabel_data();
    void capturedRectangleLandsInTheLabel();
    void rectangleSettersAndTimer();
    void capturedRegionStreamsToTheDevice();
    void wheelScalesTheMarker_data();
    void wheelScalesTheMarker();
    void dragAndScalingRules();

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

void TestDispScreenCaptureWidget::capturedRectangleLandsInTheLabel_data()
{
    QTest::addColumn<QRect>("capture");
    QTest::addColumn<QSize>("label");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<int>("quadrant");
    const QRect all = kPatternArea;
    QTest::newRow("halved: top-left") << all << QSize(80, 60) << QPoint(10, 10) << 0;
    QTest::newRow("halved: bottom-right") << all << QSize(80, 60) << QPoint(70, 50) << 3;
    QTest::newRow("stretched: top-right") << all << QSize(480, 480) << QPoint(470, 10) << 1;
    QTest::newRow("right half only: left edge is green")
        << QRect(all.center().x() + 1, all.top(), 80, 120) << QSize(40, 40) << QPoint(1, 5) << 1;
    QTest::newRow("bottom-left quadrant only")
        << QRect(all.left(), all.top() + 60, 80, 60) << QSize(30, 30) << QPoint(29, 29) << 2;
}

void TestDispScreenCaptureWidget::capturedRectangleLandsInTheLabel()
{
    QFETCH(QRect, capture);
    QFETCH(QSize, label);
    QFETCH(QPoint, probe);
    QFETCH(int, quadrant);
    DispScreenCaptureWidget widget;
    widget.setGrabber(&m_grabber);
    widget.setCapturing(false);
    widget.setCaptureRect(capture);
    widget.setItemGeometry(QRectF(QPointF(5, 7), label));
    QCOMPARE(widget.pos(), QPointF(5, 7));
    widget.grabOnce();
    const QImage shown = widget.pictureLabel()->pixmap(Qt::ReturnByValue).toImage();
    QCOMPARE(shown.size(), label);
    QCOMPARE(shown.pixelColor(probe), kQuadrants[quadrant]);

    // The capture follows what the screen shows.
    m_pattern.shift = 2;
    m_pattern.repaint();
    QTRY_COMPARE(
        (widget.grabOnce(), widget.pictureLabel()->pixmap(Qt::ReturnByValue).toImage().pixelColor(probe)),
        kQuadrants[(quadrant + 2) % 4]);
    m_pattern.shift = 0;
    m_pattern.repaint();
}

void TestDispScreenCaptureWidget::rectangleSettersAndTimer()
{
    DispScreenCaptureWidget widget(nullptr, QStringLiteral("_display"));
    QCOMPARE(widget.objectName(), QStringLiteral("screen_capture_display"));
    widget.setGrabber(&m_grabber);
    widget.setItemGeometry(QRectF(0, 0, 50, 50));
    // The initial rectangle (-1 x -1) grabs nothing; neither does a size of 0, stored as -1.
    widget.grabOnce();
    widget.setCaptureRect(QRectF(10, 20, 30, 40));
    widget.setCaptureWidth(0);
    QCOMPARE(widget.captureRect(), QRectF(10, 20, -1, 40));
    widget.grabOnce();
    QVERIFY(widget.pictureLabel()->pixmap(Qt::ReturnByValue).isNull());
    // The timer grabs by itself once there is a rectangle.
    widget.setCaptureWidth(30);
    QTRY_VERIFY(!widget.pictureLabel()->pixmap(Qt::ReturnByValue).isNull());
}

void TestDispScreenCaptureWidget::capturedRegionStreamsToTheDevice()
{
    QTemporaryDir dir;
    EmuProcess emu;
    const QString link = dir.filePath(QStringLiteral("ttyCAPTURE"));
    QVERIFY2(emu.start({"--link", link, "--size", "480x480", "--out", dir.filePath(QStringLiteral("out")),
                        "--png-every", "1"}),
             qPrintable(emu.errorText()));
    DispStandardWidgetFactory::install();
    ScreenGrabber::setForSession(&m_grabber);
    DispScene scene;
    QSignalSpy found(scene.transport(), &Transport::searchDeviceFinish);
    scene.transport()->openDevice(link, 0x1F3A, 0x0007);
    QVERIFY(found.wait(8000));
    scene.setSceneSize(480, 480);
    DispScreenCaptureWidget* capture =
        scene.addScreenCaptureWidget(QStringLiteral("_display"), QPointF(0, 0));
    capture->setItemGeometry(scene.sceneRect());
    capture->setCaptureRect(kPatternArea);

    // Each quadrant of the window fills a quarter of the panel, and follows the window's changes.
    const auto shows = [&dir](int shift) {
        const QImage frame(dir.filePath(QStringLiteral("out/latest.png")));
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

void TestDispScreenCaptureWidget::wheelScalesTheMarker_data()
{
    QTest::addColumn<QSizeF>("size");
    QTest::addColumn<int>("delta");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QSizeF>("expected");
    QTest::newRow("away from the user grows by a tenth") << QSizeF(480, 480) << 120 << 1 << QSizeF(528, 528);
    QTest::newRow("toward the user shrinks by a tenth") << QSizeF(100, 100) << -120 << 1 << QSizeF(90, 90);
    QTest::newRow("sizes are truncated") << QSizeF(99, 55) << 120 << 1 << QSizeF(108, 60);
    QTest::newRow("growing stops at the screen") << QSizeF(480, 480) << 120 << 30 << QSizeF(1920, 1080);
}

void TestDispScreenCaptureWidget::wheelScalesTheMarker()
{
    QFETCH(QSizeF, size);
    QFETCH(int, delta);
    QFETCH(int, steps);
    QFETCH(QSizeF, expected);
    const QSize screen = QGuiApplication::primaryScreen()->size();
    QCOMPARE(screen, QSize(1920, 1080));
    QSizeF now = size;
    for (int i = 0; i < steps; ++i)
        now = DispFrameWidget::scaledSize(now, delta, screen);
    QCOMPARE(now, expected);
}

void TestDispScreenCaptureWidget::dragAndScalingRules()
{
    DispFrameWidget marker;
    marker.setFrameRect(QRectF(300, 200, 100, 100));
    marker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&marker));
    QCOMPARE(marker.captureRect(), QRectF(300, 200, 100, 100));
    QSignalSpy changed(&marker, &DispFrameWidget::updateCaptureRect);

    // Drag by the frame: 40 right, 30 down.
    const QPoint grip(1, 50);
    QTest::mousePress(&marker, Qt::LeftButton, Qt::NoModifier, grip);
    QMouseEvent move(QEvent::MouseMove, grip + QPoint(40, 30), marker.mapToGlobal(grip) + QPoint(40, 30),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&marker, &move);
    QCOMPARE(changed.last().first().toRectF(), QRectF(340, 230, 100, 100));
    QTest::mouseRelease(&marker, Qt::LeftButton, Qt::NoModifier, grip + QPoint(40, 30));

    // The wheel resizes and blocks the panel's updates until the button is released.
    QWheelEvent wheel(QPointF(1, 50), marker.mapToGlobal(QPoint(1, 50)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&marker, &wheel);
    QVERIFY(marker.isScaling());
    QCOMPARE(changed.last().first().toRectF(), QRectF(340, 230, 110, 110));
    marker.setFrameRect(QRectF(0, 0, 50, 50));
    QCOMPARE(marker.captureRect(), QRectF(340, 230, 110, 110));
    QTest::mouseRelease(&marker, Qt::LeftButton, Qt::NoModifier, grip);
    QVERIFY(!marker.isScaling());
    marker.setFrameRect(QRectF(10, 20, 50, 60));
    QCOMPARE(marker.captureRect(), QRectF(10, 20, 50, 60));

    QSignalSpy closed(&marker, &DispFrameWidget::closeFrame);
    QTest::mouseDClick(&marker, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    QCOMPARE(closed.count(), 1);
    QVERIFY(marker.isHidden());
}

QTEST_MAIN(TestDispScreenCaptureWidget)
#include "tst_dispscreencapturewidget.moc"
