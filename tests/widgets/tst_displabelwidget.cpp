#include "displabelwidget.h"

#include <QGraphicsScene>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

class TestDispLabelWidget : public QObject
{
    Q_OBJECT

private slots:
    void styleSheetCarriesAlphaFirst_data();
    void styleSheetCarriesAlphaFirst();
    void pointSizeIsUsedAsPixels_data();
    void pointSizeIsUsedAsPixels();
    void widgetTakesTheLabelsSize();
    void drawsTextInItsColourOnItsBackground();
    void markupIsShownAsWritten();
};

void TestDispLabelWidget::styleSheetCarriesAlphaFirst_data()
{
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QString>("expected");
    QTest::newRow("half red") << QColor(255, 0, 0, 128) << QColor(Qt::transparent)
                              << "background-color:#00000000;color:#80ff0000;";
    QTest::newRow("on blue") << QColor(Qt::white) << QColor(0, 0, 255)
                             << "background-color:#ff0000ff;color:#ffffffff;";
}

void TestDispLabelWidget::styleSheetCarriesAlphaFirst()
{
    QFETCH(QColor, text);
    QFETCH(QColor, background);
    QFETCH(QString, expected);
    DispLabelWidget widget;
    widget.setColor(text);
    widget.setBackgroundColor(background);
    QCOMPARE(widget.label()->styleSheet(), expected);
    QCOMPARE(widget.color(), text);
}

void TestDispLabelWidget::pointSizeIsUsedAsPixels_data()
{
    QTest::addColumn<QFont>("font");
    QTest::addColumn<int>("pixelSize");
    QFont points(QStringLiteral("DejaVu Sans"));
    points.setPointSize(12);
    QTest::newRow("12 points") << points << 12;
    QFont pixels(QStringLiteral("DejaVu Sans"));
    pixels.setPixelSize(30);
    QTest::newRow("30 pixels") << pixels << 30;
}

void TestDispLabelWidget::pointSizeIsUsedAsPixels()
{
    QFETCH(QFont, font);
    QFETCH(int, pixelSize);
    DispLabelWidget widget;
    widget.setText(QStringLiteral("Hg"));
    widget.setFont(font);
    QCOMPARE(widget.font().pixelSize(), pixelSize);
    QCOMPARE(widget.font().pointSize(), -1);
    QCOMPARE(widget.font().family(), font.family());
}

void TestDispLabelWidget::widgetTakesTheLabelsSize()
{
    DispLabelWidget widget;
    widget.setText(QStringLiteral("short"));
    const QSize shortSize = widget.labelSize();
    widget.setText(QStringLiteral("a much longer line of text"));
    QVERIFY(widget.labelSize().width() > shortSize.width());
    QCOMPARE(widget.boundingRect().size(), QSizeF(widget.labelSize()));
    QFont big(QStringLiteral("DejaVu Sans"));
    big.setPixelSize(40);
    const int before = widget.labelSize().height();
    widget.setFont(big);
    QVERIFY(widget.labelSize().height() > before);
}

void TestDispLabelWidget::drawsTextInItsColourOnItsBackground()
{
    QGraphicsScene scene(0, 0, 200, 100);
    auto* widget = new DispLabelWidget;
    scene.addItem(widget);
    widget->setPos(10, 10);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(30);
    widget->setFont(font);
    widget->setText(QStringLiteral("WWW"));
    widget->setColor(Qt::red);
    widget->setBackgroundColor(Qt::blue);

    QImage image(200, 100, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter);
    painter.end();

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
    QVERIFY(dir.isValid());
    const QString picture = dir.filePath(QStringLiteral("big.png"));
    QImage red(300, 200, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(picture));

    DispLabelWidget widget;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    widget.setFont(font);
    const QString markup = QStringLiteral("<img src=\"%1\">").arg(picture);
    widget.setText(markup);
    QCOMPARE(widget.text(), markup);
    QVERIFY2(widget.labelSize().height() < 100, qPrintable(QString::number(widget.labelSize().height())));
    widget.setText(QStringLiteral("<b>bold</b><br>two lines"));
    QVERIFY2(widget.labelSize().height() < 24, qPrintable(QString::number(widget.labelSize().height())));
}

QTEST_MAIN(TestDispLabelWidget)

#include "tst_displabelwidget.moc"
