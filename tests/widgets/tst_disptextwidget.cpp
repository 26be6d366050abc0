#include "disptextwidget.h"

#include <QGraphicsScene>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QTextCursor>
#include <QTimer>
#include <QtTest>

namespace {

// Columns and rows of the item that hold ink (dark pixels) in a render of
// the item alone, in item coordinates.
QRect inkRect(DispTextWidget& text)
{
    const QRectF bounds = text.boundingRect();
    QImage image(bounds.size().toSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStyleOptionGraphicsItem option;
    text.paint(&painter, &option, nullptr);
    painter.end();
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

QFont testFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(20);
    return font;
}

} // namespace

class TestDispTextWidget : public QObject
{
    Q_OBJECT

private slots:
    void effectSetsTimerInterval_data();
    void effectSetsTimerInterval();
    void scrollMovesOnePixelPerTickThenWraps_data();
    void scrollMovesOnePixelPerTickThenWraps();
    void flickerShowsElevenTicksThenHidesEleven();
};

void TestDispTextWidget::effectSetsTimerInterval_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("interval"); // 0: the timer stops
    QTest::newRow("Default") << 0 << 100;
    QTest::newRow("Left") << 1 << 15;
    QTest::newRow("Right") << 2 << 15;
    QTest::newRow("Up") << 3 << 50;
    QTest::newRow("Down") << 4 << 50;
    QTest::newRow("Flicker") << 5 << 50;
    QTest::newRow("unknown: still, draws nothing") << 6 << 0;
}

void TestDispTextWidget::effectSetsTimerInterval()
{
    QFETCH(int, mode);
    QFETCH(int, interval);
    DispTextWidget text;
    text.setFont(testFont());
    text.setEffect(1);
    text.effectTick();
    text.effectTick();
    text.setEffect(mode);
    QCOMPARE(text.effectTimer()->isActive(), interval > 0);
    if (interval > 0) {
        QCOMPARE(text.effectTimer()->interval(), interval);
    } else {
        QVERIFY(inkRect(text).isEmpty());
    }
    QCOMPARE(text.scrollOffset(), 0); // every change starts over
}

void TestDispTextWidget::scrollMovesOnePixelPerTickThenWraps_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("Left") << 1;
    QTest::newRow("Right") << 2;
    QTest::newRow("Up") << 3;
    QTest::newRow("Down") << 4;
}

void TestDispTextWidget::scrollMovesOnePixelPerTickThenWraps()
{
    QFETCH(int, mode);
    DispTextWidget text;
    text.setFont(testFont());
    text.setPlainText(QStringLiteral("HH"));
    text.setEffect(mode);
    // Sideways the text wraps after twice its width, up and down after the
    // item's height and one line more.
    const int limit = mode <= 2 ? 2 * QFontMetrics(text.font()).horizontalAdvance(QStringLiteral("HH"))
                                : int(text.boundingRect().height()) + 20;
    // The edge that enters first: Left enters on the right, Right on the
    // left, Up from the bottom, Down from the top.
    const auto leadingEdge = [mode](const QRect& ink) {
        const int edges[] = {ink.left(), ink.right() + 1, ink.top(), ink.bottom() + 1};
        return edges[mode - 1];
    };
    QVector<int> edges;
    for (int tick = 1; tick <= limit; ++tick) {
        text.effectTick();
        QCOMPARE(text.scrollOffset(), tick);
        if (tick == 8 || tick == 16) {
            edges << leadingEdge(inkRect(text));
        }
    }
    text.effectTick();
    QCOMPARE(text.scrollOffset(), 0);
    QCOMPARE(edges[1] - edges[0], mode % 2 == 1 ? -8 : 8);
    if (mode <= 2) { // Left's left edge at right - d, Right's right edge at d
        const qreal expected = mode == 1 ? text.boundingRect().right() - 8 : 8;
        QVERIFY2(qAbs(edges[0] - expected) <= 3, qPrintable(QString::number(edges[0])));
    }
}

void TestDispTextWidget::flickerShowsElevenTicksThenHidesEleven()
{
    DispTextWidget text;
    text.setFont(testFont());
    text.setEffect(5);
    QString phases;
    for (int tick = 0; tick < 44; ++tick) {
        phases += text.blankPhase() ? QLatin1Char('-') : QLatin1Char('T');
        QCOMPARE(inkRect(text).isEmpty(), text.blankPhase());
        text.effectTick();
    }
    QCOMPARE(phases, QString(11, 'T') + QString(11, '-') + QString(11, 'T') + QString(11, '-'));
    for (int tick = 0; tick < 11; ++tick) {
        text.effectTick();
    }
    QVERIFY(text.blankPhase());
    text.setEffect(5); // a change starts shown
    QVERIFY(!text.blankPhase());
}

QTEST_MAIN(TestDispTextWidget)

#include "tst_disptextwidget.moc"
