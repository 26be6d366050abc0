// The background, icon and capture panels on a scene: their records' bytes,
// the media they copy into a theme and what shows after a load.
#include "dispbackgroundbox.h"
#include "dispcapturebox.h"
#include "dispcolorselectbutton.h"
#include "dispframewidget.h"
#include "dispiconbox.h"
#include "dispimagewidget.h"
#include "dispscene.h"
#include "dispscreencapturewidget.h"
#include "dispstandardwidgetfactory.h"
#include "dispvideodecoder.h"
#include "editorpanels.h"
#include "scenebuilder.h"
#include "screengrabber.h"
#include "testmedia.h"
#include "themetags.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDataStream>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace SceneBuilder;

namespace {

// A screen of one colour, so that no test depends on the real screen.
class FlatGrabber : public ScreenGrabber
{
public:
    QImage grab(const QRect& area) override
    {
        QImage image(area.size(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        return image;
    }
    bool placesMarker() const override { return true; }
};

// A background record: video, colour (10, 20, 30), turned once, shown, "bg.mp4".
const QByteArray kVideoBackground = QByteArray::fromHex("00000002 01ffff0a0a14141e1e0000 00000001 01"
                                                        "0000000c00620067002e006d00700034");

} // namespace

class TestMediaPanels : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void backgroundRecordCopiesMediaOnceAndReadsBackPlayingTheCopy();
    void iconRecordRoundTripCopiesMediaOnce();
    void captureRecordHasItsLayout_data();
    void captureRecordHasItsLayout();
    void backgroundVisibilityDecidesOnLoad_data();
    void backgroundVisibilityDecidesOnLoad();

private:
    QTemporaryDir m_dir;
    QString m_video;
    QString m_gif;
};

void TestMediaPanels::initTestCase()
{
    DispStandardWidgetFactory::install();
    m_video = TestMedia::video(m_dir.path(), QStringLiteral("bg.mp4"), 64, 48, 25, 1);
    QVERIFY(!m_video.isEmpty());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("theme_a/res")));
    m_gif = TestMedia::make(m_dir.path(), QStringLiteral("anim.gif"),
                            QStringLiteral("testsrc2=s=40x30:r=10:d=0.3"));
    QVERIFY(!m_gif.isEmpty());
}

void TestMediaPanels::backgroundRecordCopiesMediaOnceAndReadsBackPlayingTheCopy()
{
    PanelScene scene(320, 960);
    dispbackgroundbox panel;
    panel.setDeviceSize(320, 960);
    panel.attachScene(&scene);
    QCOMPARE(panel.backgroundWidget()->zValue(), -1.0);
    QVERIFY(!(panel.backgroundWidget()->flags() & QGraphicsItem::ItemIsMovable));
    // A half turn keeps the tall scene, a quarter either way lays it sideways.
    for (int rotation : {2, 3, 1}) {
        panel.setRotation(rotation);
        QCOMPARE(scene.sceneRect().size().toSize(), rotation == 2 ? QSize(320, 960) : QSize(960, 320));
        QCOMPARE(panel.backgroundWidget()->imageSize(), scene.sceneRect().size().toSize());
    }
    emit panel.colorButton()->colorChanged(QColor(10, 20, 30));
    panel.setClippedMedia(dispbackgroundbox::VideoType, m_video);
    panel.setRotation(1);

    const QString res = m_dir.filePath(QStringLiteral("theme_a/res"));
    QCOMPARE(written(panel, res), framed(BackgroundTag, kVideoBackground));
    const QString copy = res + QStringLiteral("/bg.mp4");
    QCOMPARE(QFileInfo(copy).size(), QFileInfo(m_video).size());
    // Saved again once it points at the copy: never copied onto itself.
    panel.pointMediaAt(m_dir.filePath(QStringLiteral("a")));
    QCOMPARE(panel.videoPath(), copy);
    QCOMPARE(written(panel, res), framed(BackgroundTag, kVideoBackground));
    QCOMPARE(QFileInfo(copy).size(), QFileInfo(m_video).size());
    panel.stopMedia();

    // Read on another scene: the copy in res plays, turned.
    PanelScene other(320, 960);
    dispbackgroundbox loaded;
    loaded.setDeviceSize(320, 960);
    loaded.attachScene(&other);
    read(loaded, framed(BackgroundTag, kVideoBackground), m_dir.filePath(QStringLiteral("theme_a")));
    QCOMPARE(loaded.type(), int(dispbackgroundbox::VideoType));
    QCOMPARE(loaded.rotation(), 1);
    QCOMPARE(loaded.typeBox()->currentIndex(), 2);
    QCOMPARE(loaded.videoPath(), copy);
    QCOMPARE(other.sceneRect(), QRectF(0, 0, 960, 320));
    DispImageWidget* widget = loaded.backgroundWidget();
    QCOMPARE(widget->imageSize(), QSize(960, 320));
    QTRY_VERIFY(!widget->pictureLabel()->pixmap(Qt::ReturnByValue).isNull() && !widget->hold());
    QCOMPARE(widget->decoder()->path(), copy);

    // Loaded again as a theme load does, now a picture missing from res: the
    // fresh background keeps its colour.
    other.clearWidgets();
    loaded.clearTheme();
    const QByteArray missing = QByteArray::fromHex("00000001 01ffff0000ffff00000000 00000000 01"
                                                   "0000000c00620067002e0070006e0067");
    read(loaded, framed(BackgroundTag, missing), m_dir.filePath(QStringLiteral("theme_a")));
    QVERIFY(loaded.backgroundWidget() != widget);
    QVERIFY(loaded.backgroundWidget()->hold());
    QVERIFY(loaded.backgroundWidget()->mediaPath().isEmpty());
    loaded.stopMedia();
}

void TestMediaPanels::iconRecordRoundTripCopiesMediaOnce()
{
    const QString theme = m_dir.filePath(QStringLiteral("theme_icons"));
    QVERIFY(QDir().mkpath(theme + QStringLiteral("/res")));
    QByteArray bytes;
    {
        PanelScene scene;
        dispiconbox panel;
        panel.attachScene(&scene);
        panel.addButton()->click();
        panel.setMediaFile(m_gif);
        panel.currentItem()->setPos(12, 34);
        panel.currentItem()->setOpacity(0.5);
        panel.currentItem()->toGraphicsObject()->setObjectName(QStringLiteral("image_ico_7"));
        QDataStream out(&bytes, QIODevice::WriteOnly);
        panel.writeThemeRecord(out, theme + QStringLiteral("/res"));
        const QByteArray golden =
            QByteArray::fromHex("01"                                                   // shown
                                "00000001"                                             // one icon
                                "000000160069006d006100670065005f00690063006f005f0037" // name
                                "40280000000000004041000000000000"                     // (12, 34)
                                "000000280000001e"                                     // 40 x 30
                                "3fe0000000000000"                                     // opacity 0.5
                                "000000100061006e0069006d002e006700690066");           // "anim.gif"
        QCOMPARE(bytes.toHex(), golden.toHex());
        panel.stopMedia();
    }
    QCOMPARE(QFileInfo(theme + QStringLiteral("/res/anim.gif")).size(), QFileInfo(m_gif).size());

    PanelScene scene;
    dispiconbox panel;
    panel.attachScene(&scene);
    read(panel, framed(IconTag, bytes), theme);
    QCOMPARE(panel.itemCount(), 1);
    auto* icon = qobject_cast<DispImageWidget*>(panel.currentItem()->toGraphicsObject());
    QCOMPARE(icon->pos(), QPointF(12, 34));
    QCOMPARE(icon->imageSize(), QSize(40, 30));
    QCOMPARE(icon->opacity(), 0.5);
    QCOMPARE(icon->mediaPath(), theme + QStringLiteral("/res/anim.gif"));
    // Saved again into the same theme: the file already there is kept, not copied onto itself.
    QByteArray again;
    QDataStream out(&again, QIODevice::WriteOnly);
    panel.writeThemeRecord(out, theme + QStringLiteral("/res"));
    QCOMPARE(QFileInfo(theme + QStringLiteral("/res/anim.gif")).size(), QFileInfo(m_gif).size());
    QTRY_VERIFY(!icon->pictureLabel()->pixmap(Qt::ReturnByValue).isNull());
    panel.stopMedia();
}

void TestMediaPanels::captureRecordHasItsLayout_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<QString>("hex");
    // length, tag 145, show frame, x, y, w, h, capture visible
    QTest::newRow("new panel: 480 x 480 at the origin, background active")
        << false << "1a000000 00000091 00 00000000 00000000 000001e0 000001e0 00";
    QTest::newRow("active with frame at (10, 20) 300 x 200")
        << true << "1a000000 00000091 01 0000000a 00000014 0000012c 000000c8 01";
}

void TestMediaPanels::captureRecordHasItsLayout()
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

void TestMediaPanels::backgroundVisibilityDecidesOnLoad_data()
{
    QTest::addColumn<bool>("backgroundVisible");
    QTest::addColumn<bool>("storedCaptureVisible");
    QTest::newRow("background shown, capture stored visible") << true << true;
    QTest::newRow("background shown, capture stored hidden") << true << false;
    QTest::newRow("background hidden, capture stored hidden") << false << false;
    QTest::newRow("background hidden, capture stored visible") << false << true;
}

void TestMediaPanels::backgroundVisibilityDecidesOnLoad()
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

QTEST_MAIN(TestMediaPanels)
#include "tst_mediapanels.moc"
