#include "resourceinit.h"

#include <QDirIterator>
#include <QImage>
#include <QtTest>

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyPanelSizeHasADeviceIcon_data();
    void everyPanelSizeHasADeviceIcon();
    void imagesAreOurDarkTheme();
};

void TestResources::initTestCase()
{
    initPanelcastResources();
}

void TestResources::everyPanelSizeHasADeviceIcon_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    const QList<QPair<int, int>> sizes = {{240, 320},  {320, 240},  {320, 320},  {320, 480},
                                          {360, 960},  {440, 1920}, {462, 1920}, {480, 272},
                                          {480, 320},  {480, 480},  {480, 1280}, {480, 1920},
                                          {515, 1920}, {800, 480},  {800, 1280}, {1080, 1920}};
    for (const auto& s : sizes) {
        QTest::addRow("%dx%d", s.first, s.second) << s.first << s.second;
    }
}

void TestResources::everyPanelSizeHasADeviceIcon()
{
    QFETCH(int, w);
    QFETCH(int, h);
    const QImage icon(QString(":/images/theme_%1%2.png").arg(w).arg(h));
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.width(), icon.height());

    // The panel is drawn in its own orientation: its opaque box is taller
    // than wide for portrait panels and wider than tall for landscape ones.
    int left = icon.width(), right = -1, top = icon.height(), bottom = -1;
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            if (qAlpha(icon.pixel(x, y)) > 128) {
                left = qMin(left, x);
                right = qMax(right, x);
                top = qMin(top, y);
                bottom = qMax(bottom, y);
            }
        }
    }
    QVERIFY(right >= left && bottom >= top);
    const int boxW = right - left + 1;
    const int boxH = bottom - top + 1;
    if (w < h) {
        QVERIFY(boxH > boxW);
    } else if (w > h) {
        QVERIFY(boxW > boxH);
    } else {
        QVERIFY(qAbs(boxW - boxH) <= 1);
    }
}

void TestResources::imagesAreOurDarkTheme()
{
    // The settings page background is the dark #1d1d1d in its body.
    const QImage background(":/images/home/setting_bg.png");
    QCOMPARE(background.pixelColor(300, 300), QColor(0x1d, 0x1d, 0x1d));
    // The top bar carries the accent rule along its bottom.
    const QImage top(":/images/topbg.png");
    QCOMPARE(top.pixelColor(700, 54), QColor(166, 135, 85));
}

QTEST_GUILESS_MAIN(TestResources)
#include "tst_resources.moc"
