#include "dispbackgroundbox.h"
#include "dispcolorselectbutton.h"
#include "dispimagewidget.h"
#include "dispscene.h"
#include "dispstandardwidgetfactory.h"
#include "dispvideodecoder.h"
#include "scenebuilder.h"
#include "testmedia.h"
#include "themetags.h"

#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

using namespace SceneBuilder;

class TestDispBackgroundBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void recordHasItsBytesAndCopiesMediaOnce();
    void recordReadPlaysTheCopyInResOrKeepsTheColour();
    void rotationLaysTheSceneSideways_data();
    void rotationLaysTheSceneSideways();

private:
    QTemporaryDir m_dir;
    QString m_video;
};

void TestDispBackgroundBox::initTestCase()
{
    DispStandardWidgetFactory::install();
    m_video = TestMedia::video(m_dir.path(), QStringLiteral("bg.mp4"), 64, 48, 25, 1);
    QVERIFY(!m_video.isEmpty());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("theme_a/res")));
}

void TestDispBackgroundBox::recordHasItsBytesAndCopiesMediaOnce()
{
    PanelScene scene(320, 960);
    dispbackgroundbox panel;
    panel.setDeviceSize(320, 960);
    panel.attachScene(&scene);
    QVERIFY(panel.backgroundWidget() != nullptr);
    QCOMPARE(panel.backgroundWidget()->zValue(), -1.0);
    QVERIFY(!(panel.backgroundWidget()->flags() & QGraphicsItem::ItemIsMovable));
    emit panel.colorButton()->colorChanged(QColor(10, 20, 30));
    panel.setClippedMedia(dispbackgroundbox::VideoType, m_video);
    panel.setRotation(1);
    QCOMPARE(scene.sceneRect(), QRectF(0, 0, 960, 320));

    const QString res = m_dir.filePath(QStringLiteral("theme_a/res"));
    const QByteArray golden = QByteArray::fromHex("00000002"                         // video
                                                  "01ffff0a0a14141e1e0000"           // colour
                                                  "00000001"                         // rotation
                                                  "01"                               // shown
                                                  "0000000c00620067002e006d00700034" // "bg.mp4"
    );
    QCOMPARE(written(panel, res), framed(BackgroundTag, golden));
    const QString copy = res + QStringLiteral("/bg.mp4");
    QCOMPARE(QFileInfo(copy).size(), QFileInfo(m_video).size());
    // Saved again once it points at the copy: never copied onto itself.
    panel.pointMediaAt(m_dir.filePath(QStringLiteral("a")));
    QCOMPARE(panel.videoPath(), copy);
    QCOMPARE(written(panel, res), framed(BackgroundTag, golden));
    QCOMPARE(QFileInfo(copy).size(), QFileInfo(m_video).size());
    panel.stopMedia();
}

void TestDispBackgroundBox::recordReadPlaysTheCopyInResOrKeepsTheColour()
{
    QFile::copy(m_video, m_dir.filePath(QStringLiteral("theme_a/res/bg.mp4")));
    const QByteArray record = QByteArray::fromHex("00000002"
                                                  "01ffff0a0a14141e1e0000"
                                                  "00000001"
                                                  "01"
                                                  "0000000c00620067002e006d00700034");
    PanelScene scene(320, 960);
    dispbackgroundbox panel;
    panel.setDeviceSize(320, 960);
    panel.attachScene(&scene);
    read(panel, framed(BackgroundTag, record), m_dir.filePath(QStringLiteral("theme_a")));
    QCOMPARE(panel.type(), int(dispbackgroundbox::VideoType));
    QCOMPARE(panel.rotation(), 1);
    QCOMPARE(panel.typeBox()->currentIndex(), 2);
    QCOMPARE(panel.videoPath(), m_dir.filePath(QStringLiteral("theme_a/res/bg.mp4")));
    QCOMPARE(scene.sceneRect(), QRectF(0, 0, 960, 320));
    DispImageWidget* widget = panel.backgroundWidget();
    QCOMPARE(widget->imageSize(), QSize(960, 320));
    QTRY_VERIFY(!widget->pictureLabel()->pixmap(Qt::ReturnByValue).isNull() && !widget->hold());
    QCOMPARE(widget->decoder()->path(), panel.videoPath());

    // Loaded again as a theme load does, now a picture missing from res: the
    // fresh background keeps its colour.
    scene.clearWidgets();
    panel.clearTheme();
    const QByteArray missing = QByteArray::fromHex("00000001"
                                                   "01ffff0000ffff00000000"
                                                   "00000000"
                                                   "01"
                                                   "0000000c00620067002e0070006e0067");
    read(panel, framed(BackgroundTag, missing), m_dir.filePath(QStringLiteral("theme_a")));
    QVERIFY(panel.backgroundWidget() != widget);
    QVERIFY(panel.backgroundWidget()->hold());
    QVERIFY(panel.backgroundWidget()->mediaPath().isEmpty());
    panel.stopMedia();
}

void TestDispBackgroundBox::rotationLaysTheSceneSideways_data()
{
    QTest::addColumn<QSize>("device");
    QTest::addColumn<int>("rotation");
    QTest::addColumn<QSize>("scene");
    QTest::newRow("square never resized") << QSize(480, 480) << 1 << QSize(480, 480);
    QTest::newRow("320x960 quarter turn") << QSize(320, 960) << 1 << QSize(960, 320);
    QTest::newRow("320x960 half turn") << QSize(320, 960) << 2 << QSize(320, 960);
    QTest::newRow("320x960 three quarters") << QSize(320, 960) << 3 << QSize(960, 320);
}

void TestDispBackgroundBox::rotationLaysTheSceneSideways()
{
    QFETCH(QSize, device);
    QFETCH(int, rotation);
    QFETCH(QSize, scene);
    PanelScene s(device.width(), device.height());
    dispbackgroundbox panel;
    panel.setDeviceSize(device.width(), device.height());
    panel.attachScene(&s);
    panel.setRotation(rotation);
    QCOMPARE(s.sceneRect().size().toSize(), scene);
    QCOMPARE(panel.backgroundWidget()->imageSize(), scene);
    panel.stopMedia();
}

QTEST_MAIN(TestDispBackgroundBox)
#include "tst_dispbackgroundbox.moc"
