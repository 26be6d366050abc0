#include "dispiconbox.h"
#include "dispimagewidget.h"
#include "dispscene.h"
#include "dispstandardwidgetfactory.h"
#include "dispvideodecoder.h"
#include "scenebuilder.h"
#include "testmedia.h"
#include "themetags.h"

#include <QDataStream>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace SceneBuilder;

class TestDispIconBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void recordRoundTripCopiesMediaOnce();

private:
    QTemporaryDir m_dir;
    QString m_picture;
    QString m_gif;
};

void TestDispIconBox::initTestCase()
{
    DispStandardWidgetFactory::install();
    m_picture =
        TestMedia::make(m_dir.path(), QStringLiteral("wide.png"), QStringLiteral("color=c=red:s=200x100"),
                        {QStringLiteral("-frames:v"), QStringLiteral("1")});
    m_gif = TestMedia::make(m_dir.path(), QStringLiteral("anim.gif"),
                            QStringLiteral("testsrc2=s=40x30:r=10:d=0.3"));
    QVERIFY(!m_picture.isEmpty() && !m_gif.isEmpty());
}

void TestDispIconBox::recordRoundTripCopiesMediaOnce()
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

QTEST_MAIN(TestDispIconBox)
#include "tst_dispiconbox.moc"
