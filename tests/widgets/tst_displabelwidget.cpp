#include "displabelwidget.h"
#include "pixels.h"

#include <QGraphicsScene>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

using Pixels::pixelFont;

class TestDispLabelWidget : public QObject
{
    Q_OBJECT

private slots:
    void drawsTextInItsColourOnItsBackground();
    void markupIsShownAsWritten();
};

void TestDispLabelWidget::drawsTextInItsColourOnItsBackground()
{
    QGraphicsScene scene(0, 0, 200, 100);
    auto* widget = new DispLabelWidget;
    scene.addItem(widget);
    widget->setPos(10, 10);
    widget->setFont(pixelFont(30));
    widget->setText(QStringLiteral("WWW"));
    // Colours reach the label's style sheet alpha first.
    widget->setColor(QColor(255, 0, 0, 128));
    QCOMPARE(widget->label()->styleSheet(), QStringLiteral("background-color:#00000000;color:#80ff0000;"));
    widget->setColor(Qt::red);
    widget->setBackgroundColor(Qt::blue);
    QCOMPARE(widget->color(), QColor(Qt::red));
    QCOMPARE(widget->label()->styleSheet(), QStringLiteral("background-color:#ff0000ff;color:#ffff0000;"));

    const QImage image = Pixels::renderScene(scene);
    const QRect area = widget->sceneBoundingRect().toRect();
    QCOMPARE(image.pixelColor(area.topLeft() + QPoint(1, 1)), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(area.right() + 2, area.center().y()), QColor(Qt::white));
    int red = 0;
    for (int x = area.left(); x < area.right(); ++x) {
        const QColor c = image.pixelColor(x, area.center().y());
        red += (c.red() > 200 && c.blue() < 60) ? 1 : 0;
    }
    QVERIFY2(red > 5, qPrintable(QString::number(red)));
}

void TestDispLabelWidget::markupIsShownAsWritten()
{
    // Captions come from theme files: markup in them must not make the label
    // load files (an image tag naming /dev/zero would read 2 GiB).
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("big.png"));
    QImage red(300, 200, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(picture));
    DispLabelWidget widget;
    widget.setFont(pixelFont(12));
    const QString markup = QStringLiteral("<img src=\"%1\">").arg(picture);
    widget.setText(markup);
    QCOMPARE(widget.text(), markup);
    QVERIFY2(widget.labelSize().height() < 100, qPrintable(QString::number(widget.labelSize().height())));
    widget.setText(QStringLiteral("<b>bold</b><br>two lines"));
    QVERIFY2(widget.labelSize().height() < 24, qPrintable(QString::number(widget.labelSize().height())));
}

QTEST_MAIN(TestDispLabelWidget)

#include "tst_displabelwidget.moc"
