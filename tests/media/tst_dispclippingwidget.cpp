#include "dispclippingwidget.h"
#include "rangeslider.h"
#include "testmedia.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

class TestDispClippingWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void stillIsPlacedAndRenderedAtTheDevicesSize();
    void videoOffersItsTimeRange();
    void unsupportedFileLeavesTheToolUsable();

private:
    QTemporaryDir m_dir;
    QString m_picture;
    QString m_video;
};

void TestDispClippingWidget::initTestCase()
{
    m_picture =
        TestMedia::make(m_dir.path(), QStringLiteral("photo.png"), QStringLiteral("testsrc2=s=400x300"),
                        {QStringLiteral("-frames:v"), QStringLiteral("1")});
    m_video = TestMedia::video(m_dir.path(), QStringLiteral("clip.mp4"), 64, 48, 25, 6);
    QVERIFY(!m_picture.isEmpty() && !m_video.isEmpty());
}

void TestDispClippingWidget::stillIsPlacedAndRenderedAtTheDevicesSize()
{
    dispClippingWidget tool;
    const QString output = m_dir.filePath(QStringLiteral("themes/320240/bg_photo.png"));
    tool.open(1, m_picture, output, QSize(320, 240));
    QCOMPARE(tool.mediaKind(), dispClippingWidget::StillMedia);
    QVERIFY(!tool.rangeSlider()->isVisibleTo(&tool));
    QTRY_VERIFY(!tool.frameLabel()->pixmap(Qt::ReturnByValue).isNull());
    QCOMPARE(tool.frameSize(), QSize(400, 300));
    tool.setFramePosition(QPoint(-50, -20));
    // Set PANELCAST_SCREENSHOT_DIR to keep a picture of the tool.
    if (!qEnvironmentVariableIsEmpty("PANELCAST_SCREENSHOT_DIR")) {
        QVERIFY(tool.grab().save(qEnvironmentVariable("PANELCAST_SCREENSHOT_DIR") + "/clipping-tool.png"));
    }
    QCOMPARE(tool.renderArguments(),
             QStringList(
                 {"-i", m_picture, "-vf", "scale=400:300,crop=320:240:50:20,pad=320:240:0:0:black", output}));
    tool.rotate();
    QCOMPARE(tool.frameSize(), QSize(300, 400));
    tool.zoomOut();
    QCOMPARE(tool.frameSize(), QSize(270, 360));

    QSignalSpy done(&tool, &dispClippingWidget::updateBackgroundPath);
    tool.render();
    QVERIFY(done.wait(30000));
    QCOMPARE(done[0][0].toInt(), 1);
    QCOMPARE(done[0][1].toString(), output);
    QCOMPARE(QImage(output).size(), QSize(320, 240));
    QVERIFY(!tool.isVisible());
}

void TestDispClippingWidget::videoOffersItsTimeRange()
{
    dispClippingWidget tool;
    tool.open(2, m_video, m_dir.filePath(QStringLiteral("bg_clip.mp4")), QSize(1920, 1080));
    QCOMPARE(tool.mediaKind(), dispClippingWidget::VideoMedia);
    QCOMPARE(tool.rangeSlider()->maximum(), 6);
    tool.rangeSlider()->setUpperValue(5);
    QCOMPARE(tool.renderArguments().mid(2, 4), QStringList({"-ss", "0", "-t", "5"}));
    tool.setPlaying(true);
    QVERIFY(tool.isPlaying());
    tool.rangeSlider()->setLowerValue(1);
    QVERIFY(!tool.isPlaying());

    // Cancel hands the input back unchanged.
    QSignalSpy done(&tool, &dispClippingWidget::updateBackgroundPath);
    tool.cancel();
    QCOMPARE(done.size(), 1);
    QCOMPARE(done[0][1].toString(), m_video);
}

void TestDispClippingWidget::unsupportedFileLeavesTheToolUsable()
{
    const QString mkv = m_dir.filePath(QStringLiteral("film.mkv"));
    QVERIFY(QFile::copy(m_video, mkv));
    dispClippingWidget tool;
    QSignalSpy done(&tool, &dispClippingWidget::updateBackgroundPath);
    tool.open(2, mkv, m_dir.filePath(QStringLiteral("bg_film.mkv")), QSize(320, 240));
    tool.render();
    QVERIFY(tool.statusLabel()->text().contains(QLatin1String("mkv")));
    QVERIFY(!tool.isRendering());
    QVERIFY(tool.rangeSlider()->isEnabled());
    QVERIFY(done.isEmpty());
}

QTEST_MAIN(TestDispClippingWidget)
#include "tst_dispclippingwidget.moc"
