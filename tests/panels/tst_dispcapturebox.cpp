// The capture panel on a scene: record 145's bytes and which of background
// and capture is active after a load.
#include "dispcapturebox.h"
#include "dispframewidget.h"
#include "dispscene.h"
#include "dispscreencapturewidget.h"
#include "dispstandardwidgetfactory.h"
#include "editorpanels.h"
#include "scenebuilder.h"
#include "screengrabber.h"
#include "themetags.h"

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

namespace {

// A screen of one colour, so that no test depends on the real screen.
class FlatGrabber : public ScreenGrabber
{
public:
    bool marker = true;
    QImage grab(const QRect& area) override
    {
        QImage image(area.size(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        return image;
    }
    bool placesMarker() const override { return marker; }
};

} // namespace

using namespace SceneBuilder;

class TestDispCaptureBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { DispStandardWidgetFactory::install(); }
    void recordHasItsLayout_data();
    void recordHasItsLayout();
    void backgroundVisibilityDecidesOnLoad_data();
    void backgroundVisibilityDecidesOnLoad();
};

void TestDispCaptureBox::recordHasItsLayout_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<QString>("hex");
    // length, tag 145, show frame, x, y, w, h, capture visible
    QTest::newRow("new panel: 480 x 480 at the origin, background active")
        << false << "1a000000 00000091 00 00000000 00000000 000001e0 000001e0 00";
    QTest::newRow("active with frame at (10, 20) 300 x 200")
        << true << "1a000000 00000091 01 0000000a 00000014 0000012c 000000c8 01";
}

void TestDispCaptureBox::recordHasItsLayout()
{
    QFETCH(bool, active);
    QFETCH(QString, hex);
    PanelScene scene;
    FlatGrabber grabber;
    dispcapturebox panel(nullptr, &grabber);
    panel.attachScene(&scene);
    QVERIFY(panel.captureWidget() != nullptr);
    QCOMPARE(panel.captureWidget()->objectName(), dispcapturebox::kWidgetName);
    QCOMPARE(panel.captureWidget()->zValue(), -1.0);
    QVERIFY(!panel.captureWidget()->isVisible());
    if (active) {
        panel.setActive(true);
        const int values[4] = {10, 20, 300, 200};
        for (int i = 0; i < 4; ++i)
            panel.spinBox(i)->setValue(values[i]);
        panel.showFrameBox()->setChecked(true);
        QCOMPARE(panel.captureWidget()->captureRect(), QRectF(10, 20, 300, 200));
    }
    const QByteArray bytes = written(panel);
    QCOMPARE(bytes.toHex(' '), QByteArray::fromHex(hex.toLatin1()).toHex(' '));

    // Read back into a fresh panel on another scene: the same bytes come out.
    PanelScene other;
    dispcapturebox again(nullptr, &grabber);
    again.attachScene(&other);
    read(again, bytes);
    again.setActive(active);
    QCOMPARE(written(again).toHex(' '), bytes.toHex(' '));
    panel.frameWidget()->hide();
}

void TestDispCaptureBox::backgroundVisibilityDecidesOnLoad_data()
{
    QTest::addColumn<bool>("backgroundVisible");
    QTest::addColumn<bool>("storedCaptureVisible");
    QTest::newRow("background shown, capture stored visible") << true << true;
    QTest::newRow("background shown, capture stored hidden") << true << false;
    QTest::newRow("background hidden, capture stored hidden") << false << false;
    QTest::newRow("background hidden, capture stored visible") << false << true;
}

void TestDispCaptureBox::backgroundVisibilityDecidesOnLoad()
{
    QFETCH(bool, backgroundVisible);
    QFETCH(bool, storedCaptureVisible);
    PanelScene scene;
    FlatGrabber grabber;
    ScreenGrabber::setForSession(&grabber);
    EditorPanels panels{PanelEnvironment()};
    auto* capture = static_cast<dispcapturebox*>(panels.panel(CaptureTag));
    panels.attach(&scene, 480, 480);
    // The background panel's widget, as its record left it.
    DispWidget* background = scene.findWidgetByName(QStringLiteral("image_background"));
    QVERIFY(background != nullptr);
    background->setVisible(backgroundVisible);

    read(*capture, record(CaptureTag, [&](QDataStream& s) {
        s << false << qint32(40) << qint32(50) << qint32(320) << qint32(240) << storedCaptureVisible;
    }));
    DispScreenCaptureWidget* widget = capture->captureWidget();
    QCOMPARE(widget->isVisible(), !backgroundVisible);
    QCOMPARE(capture->spinRect(), QRect(40, 50, 320, 240));
    if (!backgroundVisible)
        QCOMPARE(widget->captureRect(), QRectF(40, 50, 320, 240));

    // What the home page does after the load.
    panels.setBackgroundActive(backgroundVisible);
    QCOMPARE(capture->isActive(), !backgroundVisible);
    QCOMPARE(widget->isCapturing(), !backgroundVisible);
    QCOMPARE(widget->isVisible(), !backgroundVisible);
    panels.fitCaptureToScene();
    QCOMPARE(widget->pictureLabel()->size(), QSize(480, 480));

    // The capture panel's header button swaps the two.
    capture->findChild<QToolButton*>(QStringLiteral("captureHeader"))->click();
    QCOMPARE(capture->isActive(), backgroundVisible);
    QCOMPARE(background->isVisible(), !backgroundVisible);
    panels.stopMedia();
    ScreenGrabber::setForSession(nullptr);
}

QTEST_MAIN(TestDispCaptureBox)
#include "tst_dispcapturebox.moc"
