#include "devicemodels.h"

#include <QtTest>

class TestDeviceModels : public QObject
{
    Q_OBJECT

private slots:
    void encoderLayoutFollowsPanelSizeAndModel_data();
    void encoderLayoutFollowsPanelSizeAndModel();
};

void TestDeviceModels::encoderLayoutFollowsPanelSizeAndModel_data()
{
    QTest::addColumn<QSize>("panel");
    QTest::addColumn<int>("vid");
    QTest::addColumn<int>("pid");
    QTest::addColumn<QSize>("encoder");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<int>("sizeVariant");

    QTest::newRow("360x960 padded to 420 at x=60")
        << QSize(360, 960) << 0x1F3A << 0x0007 << QSize(420, 960) << QPoint(60, 0) << 0;
    QTest::newRow("360x960 padded on 33C3 too")
        << QSize(360, 960) << 0x33C3 << 0x0E02 << QSize(420, 960) << QPoint(60, 0) << 0;
    QTest::newRow("462x1920 on 1F3A padded to 480")
        << QSize(462, 1920) << 0x1F3A << 0x0007 << QSize(480, 1920) << QPoint(0, 0) << 1;
    QTest::newRow("440x1920 on 0D28 padded to 480")
        << QSize(440, 1920) << 0x0D28 << 0xCCDD << QSize(480, 1920) << QPoint(0, 0) << 2;
    QTest::newRow("462x1920 on 33C3:0E02 own width")
        << QSize(462, 1920) << 0x33C3 << 0x0E02 << QSize(462, 1920) << QPoint(0, 0) << 0;
    QTest::newRow("440x1920 on 33C3:8001 own width")
        << QSize(440, 1920) << 0x33C3 << 0x8001 << QSize(440, 1920) << QPoint(0, 0) << 0;
    QTest::newRow("462x1920 on unknown device padded")
        << QSize(462, 1920) << 0 << 0 << QSize(480, 1920) << QPoint(0, 0) << 1;
    QTest::newRow("480x1920 as is") << QSize(480, 1920) << 0x1F3A << 0x0007 << QSize(480, 1920)
                                    << QPoint(0, 0) << 0;
    QTest::newRow("480x480 as is") << QSize(480, 480) << 0 << 0 << QSize(480, 480) << QPoint(0, 0) << 0;
}

void TestDeviceModels::encoderLayoutFollowsPanelSizeAndModel()
{
    QFETCH(QSize, panel);
    QFETCH(int, vid);
    QFETCH(int, pid);
    QFETCH(QSize, encoder);
    QFETCH(QPoint, offset);
    QFETCH(int, sizeVariant);

    const EncoderLayout layout = DeviceModels::encoderLayout(panel, vid, pid);
    QCOMPARE(layout.encoderSize, encoder);
    QCOMPARE(layout.pictureOffset, offset);
    QCOMPARE(layout.sizeVariant, sizeVariant);
    QCOMPARE(layout.isPadded(panel), encoder != panel);
    // The reported size comes back from what the encoder runs at (the
    // other direction, for sizes no layout yields, is below).
    QCOMPARE(DeviceModels::panelSizeForEncoder(layout.encoderSize, layout.sizeVariant), panel);
}

QTEST_APPLESS_MAIN(TestDeviceModels)
#include "tst_devicemodels.moc"
