#include "logorules.h"

#include <QTemporaryDir>
#include <QtTest>

class TestLogoRules : public QObject
{
    Q_OBJECT

private slots:
    void pictureMustSuitThePanel_data();
    void pictureMustSuitThePanel();
    void sizeVersionAndExtensionRules();
    void bootVideoCommandLine();
};

void TestLogoRules::pictureMustSuitThePanel_data()
{
    QTest::addColumn<int>("vid");
    QTest::addColumn<int>("pid");
    QTest::addColumn<QSize>("panel");
    QTest::addColumn<QSize>("scene");
    QTest::addColumn<int>("rotation");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("fits");

    // 33C3:0E02 and 33C3:8001 with a 1920 high panel: 1920 wide, or as high
    // as the panel is wide; the rotation is not looked at.
    const QSize tall(480, 1920);
    QTest::newRow("A 1920 wide, any height")
        << 0x33C3 << 0x8001 << tall << tall << 0 << QSize(1920, 77) << true;
    QTest::newRow("A as high as the panel is wide")
        << 0x33C3 << 0x8001 << QSize(462, 1920) << QSize(462, 1920) << 0 << QSize(10, 462) << true;
    QTest::newRow("A portrait refused") << 0x33C3 << 0x0E02 << tall << tall << 1 << QSize(480, 1920) << false;
    QTest::newRow("A 1080x1920 panel, 1080 wide refused")
        << 0x33C3 << 0x8001 << QSize(1080, 1920) << QSize(1080, 1920) << 0 << QSize(1080, 1920) << false;
    QTest::newRow("A 1920x1080 on 1080x1920")
        << 0x33C3 << 0x0E02 << QSize(1080, 1920) << QSize(1080, 1920) << 0 << QSize(1920, 1080) << true;
    QTest::newRow("A other panel sizes take anything")
        << 0x33C3 << 0x0E02 << QSize(320, 240) << QSize(320, 240) << 0 << QSize(5, 5) << true;

    // Every other device: as wide or as high as the scene...
    QTest::newRow("B same width") << 0x1F3A << 0x0007 << tall << tall << 0 << QSize(480, 10) << true;
    QTest::newRow("B same height") << 0x1F3A << 0x0007 << tall << tall << 2 << QSize(10, 1920) << true;
    QTest::newRow("B neither") << 0x1F3A << 0x0007 << tall << tall << 0 << QSize(400, 400) << false;
    QTest::newRow("B landscape refused")
        << 0x1F3A << 0x0007 << tall << tall << 0 << QSize(1920, 480) << false;
    // ...or, with the theme turned a quarter, as the scene turned.
    QTest::newRow("B rotation 1") << 0x1F3A << 0x0007 << tall << tall << 1 << QSize(1920, 480) << true;
    QTest::newRow("B rotation 1, upright picture")
        << 0x1F3A << 0x0007 << tall << tall << 1 << QSize(480, 1920) << false;
    QTest::newRow("B turned: as wide as the scene is high")
        << 0x1F3A << 0x0007 << QSize(320, 480) << QSize(480, 320) << 1 << QSize(320, 10) << true;
    QTest::newRow("B turned: as high as the scene is wide")
        << 0x0D28 << 0xCCDD << QSize(320, 480) << QSize(480, 320) << 3 << QSize(10, 480) << true;
    QTest::newRow("B turned: scene size refused")
        << 0x1F3A << 0x0007 << QSize(320, 480) << QSize(480, 320) << 1 << QSize(480, 320) << false;
    QTest::newRow("B half turn: as upright")
        << 0x0D28 << 0xCCDD << QSize(320, 480) << QSize(320, 480) << 2 << QSize(320, 480) << true;
    QTest::newRow("unknown model like B")
        << 0 << 0 << QSize(320, 240) << QSize(320, 240) << 0 << QSize(320, 99) << true;
    QTest::newRow("33C3 with another product is B")
        << 0x33C3 << 0x0001 << tall << tall << 0 << QSize(1920, 480) << false;
}

void TestLogoRules::pictureMustSuitThePanel()
{
    QFETCH(int, vid);
    QFETCH(int, pid);
    QFETCH(QSize, panel);
    QFETCH(QSize, scene);
    QFETCH(int, rotation);
    QFETCH(QSize, picture);
    QFETCH(bool, fits);
    QCOMPARE(LogoRules::pictureFits(picture, panel, scene, vid, pid, rotation), fits);
}

void TestLogoRules::sizeVersionAndExtensionRules()
{
    // Only the 1080x1920 panel takes 3 MiB; 1920x1080 is not that panel.
    QCOMPARE(LogoRules::sizeLimit(QSize(1080, 1920)), qint64(0x300000));
    for (const QSize& panel : {QSize(480, 1920), QSize(1920, 1080), QSize(320, 240)}) {
        QCOMPARE(LogoRules::sizeLimit(panel), qint64(0x100000));
    }
    QVERIFY(LogoRules::versionTakesLogos("V1.0 Dovaz Ezovava Ruviro"));
    QVERIFY(LogoRules::versionTakesLogos("Dovaz Ezovava Ruviro 2.1"));
    QVERIFY(!LogoRules::versionTakesLogos("V1.0 Dovaz Ezovava"));
    QVERIFY(!LogoRules::versionTakesLogos("dovaz ezovava ruviro"));
    QVERIFY(!LogoRules::versionTakesLogos(QString()));
    // The extension is the last "."-separated part, case kept.
    QCOMPARE(LogoRules::extension("/home/u/logo.JPG"), QString("JPG"));
    QCOMPARE(LogoRules::extension("logo.final.mp4"), QString("mp4"));
    QCOMPARE(LogoRules::extension("/home/u/logo"), QString());
    QCOMPARE(LogoRules::extension("/home/u.v/logo"), QString("v/logo"));
}

void TestLogoRules::bootVideoCommandLine()
{
    QCOMPARE(LogoRules::bootVideoArguments("/v/in.mp4", "/d/boot_video.h264"),
             (QStringList{"-i", "/v/in.mp4", "-vf", "transpose=1", "-c:v", "libx264", "/d/boot_video.h264"}));
    QTemporaryDir data;
    qputenv("PANELCAST_DATA_DIR", data.path().toLocal8Bit());
    QCOMPARE(LogoRules::bootVideoPath(), data.filePath("boot_video.h264"));
}

QTEST_APPLESS_MAIN(TestLogoRules)
#include "tst_logorules.moc"
