#include "emuwindow.h"

#include <QPainter>
#include <QtTest>

class TestEmuWindow : public QObject
{
    Q_OBJECT

private slots:
    void showsFramesAtPanelSizeDimmedByBrightness();
    void showsSegmentZoneColours_data();
    void showsSegmentZoneColours();
};

void TestEmuWindow::showsFramesAtPanelSizeDimmedByBrightness()
{
    // A 36-wide panel encoded 42 wide: the padding on the right is not shown.
    EmuWindow window(false, QSize(36, 96), QStringLiteral("test"));
    QCOMPARE(window.size(), QSize(36, 96));
    QImage frame(42, 96, QImage::Format_RGB32);
    frame.fill(Qt::red);
    QPainter(&frame).fillRect(0, 0, 36, 96, QColor(240, 0, 0));
    frame.setPixelColor(35, 95, Qt::white);
    window.showFrame(frame);
    const QImage shown = window.grab().toImage();
    QCOMPARE(shown.pixelColor(0, 0), QColor(240, 0, 0));
    QCOMPARE(shown.pixelColor(35, 95), QColor(Qt::white));
    const QList<QPair<int, int>> brightnessToRed = {{127, 120}, {0, 0}, {255, 240}};
    for (const auto& step : brightnessToRed) {
        window.setBrightness(step.first);
        const QColor dimmed = window.grab().toImage().pixelColor(35, 50);
        QVERIFY2(qAbs(dimmed.red() - step.second) <= 2 && dimmed.green() == 0, qPrintable(dimmed.name()));
    }
}

void TestEmuWindow::showsSegmentZoneColours_data()
{
    QTest::addColumn<QVector<QRgb>>("colours");
    QTest::newRow("one colour") << QVector<QRgb>{qRgb(255, 125, 0)};
    QTest::newRow("four zones") << QVector<QRgb>{qRgb(255, 96, 0), qRgb(255, 64, 0), qRgb(0, 32, 255),
                                                 qRgb(0, 255, 0)};
}

void TestEmuWindow::showsSegmentZoneColours()
{
    QFETCH(QVector<QRgb>, colours);
    EmuWindow window(true, QSize(480, 480), QStringLiteral("test"));
    SegmentPacket packet;
    packet.mode = colours.size() == 4 ? 3 : 0;
    packet.colours = colours;
    packet.temperature = 55;
    packet.usage = 12;
    window.showSegment(packet);
    const QImage shown = window.grab().toImage();
    const int zoneWidth = shown.width() / colours.size();
    for (int i = 0; i < colours.size(); ++i) {
        QCOMPARE(shown.pixelColor(i * zoneWidth + zoneWidth / 2, 5), QColor(colours[i]));
    }
    // The two numbers are drawn in the first colour below the strip.
    int inked = 0;
    for (int y = shown.height() / 4; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            inked += shown.pixel(x, y) == colours[0] ? 1 : 0;
        }
    }
    QVERIFY(inked > 100);
}

QTEST_MAIN(TestEmuWindow)
#include "tst_emuwindow.moc"
