#include "dispimagewidget.h"
#include "dispvideodecoder.h"
#include "pixels.h"
#include "testmedia.h"

#include <QGraphicsScene>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

class TestDispImageWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void frameIsCroppedOrPaddedToTheLabel_data();
    void frameIsCroppedOrPaddedToTheLabel();

private:
    QTemporaryDir m_dir;
    QString m_picture;
};

void TestDispImageWidget::initTestCase()
{
    // 20 x 10: left half red, right half blue.
    m_picture = TestMedia::make(m_dir.path(), QStringLiteral("halves.png"),
                                QStringLiteral("color=c=red:s=10x10[a];color=c=blue:s=10x10[b];[a][b]hstack"),
                                {QStringLiteral("-frames:v"), QStringLiteral("1")});
    QVERIFY(!m_picture.isEmpty());
}

void TestDispImageWidget::frameIsCroppedOrPaddedToTheLabel_data()
{
    QTest::addColumn<QSize>("label");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("padded: frame pixel") << QSize(40, 30) << QPoint(15, 5) << QColor(Qt::blue);
    QTest::newRow("padded: right of the frame") << QSize(40, 30) << QPoint(30, 5) << QColor(Qt::white);
    QTest::newRow("padded: below the frame") << QSize(40, 30) << QPoint(5, 20) << QColor(Qt::white);
    QTest::newRow("cropped: top-left kept") << QSize(8, 4) << QPoint(7, 3) << QColor(Qt::red);
}

void TestDispImageWidget::frameIsCroppedOrPaddedToTheLabel()
{
    QFETCH(QSize, label);
    QFETCH(QPoint, probe);
    QFETCH(QColor, expected);
    QGraphicsScene scene(0, 0, 60, 60);
    auto* widget = new DispImageWidget;
    scene.addItem(widget);
    widget->setImageGeometry(QRectF(QPointF(0, 0), label));
    widget->setMediaPath(m_picture, true);
    QTRY_VERIFY(!widget->pictureLabel()->pixmap(Qt::ReturnByValue).isNull());
    QCOMPARE(widget->pictureLabel()->pixmap(Qt::ReturnByValue).size(), label);

    // Colours after the picture's trip through YUV are within a step or two.
    const QImage frame = Pixels::renderScene(scene);
    QVERIFY2(Pixels::near(frame.pixelColor(probe), expected, 3), qPrintable(frame.pixelColor(probe).name()));
    // Nothing is drawn outside the label.
    QCOMPARE(frame.pixelColor(label.width() + 1, label.height() + 1), QColor(Qt::white));
    widget->stopDecoder();
    QVERIFY(widget->decoder()->isFinished());
}

QTEST_MAIN(TestDispImageWidget)
#include "tst_dispimagewidget.moc"
