#include "clipcommand.h"

#include <QtTest>

using namespace ClipCommand;

class TestClipCommand : public QObject
{
    Q_OBJECT

private slots:
    void previewFitsTheDevice_data();
    void previewFitsTheDevice();
    void filterChainPlacesTheFrame_data();
    void filterChainPlacesTheFrame();
    void argumentsTrimVideosOnly_data();
    void argumentsTrimVideosOnly();
    void timeTextShowsHoursOnlyWhenThere();
};

void TestClipCommand::previewFitsTheDevice_data()
{
    QTest::addColumn<QSize>("device");
    QTest::addColumn<bool>("zoom");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QSize>("area");
    QTest::newRow("1920 x 1080 wider than 640")
        << QSize(1920, 1080) << true << 640.0 / 1920 << QSize(640, 360);
    QTest::newRow("320 x 240 as it is") << QSize(320, 240) << false << 1.0 << QSize(320, 240);
    QTest::newRow("480 x 1920 tall") << QSize(480, 1920) << true << 0.25 << QSize(120, 480);
    QTest::newRow("640 x 480 as it is") << QSize(640, 480) << false << 1.0 << QSize(640, 480);
    QTest::newRow("480 x 481 zoomed") << QSize(480, 481) << true << 480.0 / 481 << QSize(479, 480);
}

void TestClipCommand::previewFitsTheDevice()
{
    QFETCH(QSize, device);
    QFETCH(bool, zoom);
    QFETCH(double, factor);
    QFETCH(QSize, area);
    const Preview preview = previewFor(device);
    QCOMPARE(preview.zoom, zoom);
    QCOMPARE(preview.factor, factor);
    QCOMPARE(preview.area, area);
}

void TestClipCommand::filterChainPlacesTheFrame_data()
{
    QTest::addColumn<QSize>("device");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<int>("rotation");
    QTest::addColumn<QString>("chain");
    QTest::newRow("dragged left and up") << QSize(320, 240) << QSize(400, 300) << QPoint(-50, -20) << 0
                                         << "scale=400:300,crop=320:240:50:20,pad=320:240:0:0:black";
    QTest::newRow("smaller, moved in") << QSize(320, 240) << QSize(200, 100) << QPoint(30, 40) << 0
                                       << "scale=200:100,crop=200:100:0:0,pad=320:240:30:40:black";
    QTest::newRow("reaching past the right edge") << QSize(320, 240) << QSize(200, 100) << QPoint(250, 0) << 0
                                                  << "scale=200:100,crop=70:100:0:0,pad=320:240:250:0:black";
    QTest::newRow("quarter turn") << QSize(320, 240) << QSize(320, 240) << QPoint(0, 0) << 1
                                  << "transpose=1,scale=320:240,crop=320:240:0:0,pad=320:240:0:0:black";
    QTest::newRow("half turn") << QSize(320, 240) << QSize(320, 240) << QPoint(0, 0) << 2
                               << "hflip,vflip,scale=320:240,crop=320:240:0:0,pad=320:240:0:0:black";
    QTest::newRow("three quarters") << QSize(320, 240) << QSize(320, 240) << QPoint(0, 0) << 3
                                    << "transpose=2,scale=320:240,crop=320:240:0:0,pad=320:240:0:0:black";
    // Preview at a quarter: everything measured in the preview is scaled back.
    QTest::newRow("zoomed 480 x 1920") << QSize(480, 1920) << QSize(130, 500) << QPoint(-4, 10) << 0
                                       << "scale=520:2000,crop=480:1880:16:0,pad=480:1920:0:40:black";
}

void TestClipCommand::filterChainPlacesTheFrame()
{
    QFETCH(QSize, device);
    QFETCH(QSize, frame);
    QFETCH(QPoint, position);
    QFETCH(int, rotation);
    QFETCH(QString, chain);
    Request request;
    request.deviceSize = device;
    request.preview = previewFor(device);
    request.frameSize = frame;
    request.framePos = position;
    request.rotation = rotation;
    QCOMPARE(filterChain(request), chain);
}

void TestClipCommand::argumentsTrimVideosOnly_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("trim");
    QTest::newRow("png still") << "/m/a.PNG" << QStringList();
    QTest::newRow("webp still") << "/m/a.webp" << QStringList();
    QTest::newRow("mp4 from 3 to 8") << "/m/a.mp4" << QStringList{"-ss", "3", "-t", "5"};
    QTest::newRow("gif") << "/m/a.gif" << QStringList{"-ss", "3", "-t", "5"};
}

void TestClipCommand::argumentsTrimVideosOnly()
{
    QFETCH(QString, input);
    QFETCH(QStringList, trim);
    Request request;
    request.inputPath = input;
    request.outputPath = QStringLiteral("/out/bg_a.mp4");
    request.deviceSize = request.frameSize = QSize(320, 240);
    request.preview = previewFor(request.deviceSize);
    request.lowerS = 3;
    request.upperS = 8;
    const QStringList expected =
        QStringList{"-i", input} + trim + QStringList{"-vf", filterChain(request), "/out/bg_a.mp4"};
    QCOMPARE(arguments(request), expected);
    QCOMPARE(classify(input), trim.isEmpty() ? InputKind::Still : InputKind::Video);
    QCOMPARE(classify(QStringLiteral("/m/a.mkv")), InputKind::Unsupported);
}

void TestClipCommand::timeTextShowsHoursOnlyWhenThere()
{
    QCOMPARE(timeText(0), QStringLiteral("00:00"));
    QCOMPARE(timeText(65), QStringLiteral("01:05"));
    QCOMPARE(timeText(3725), QStringLiteral("01:02:05"));
}

QTEST_APPLESS_MAIN(TestClipCommand)
#include "tst_clipcommand.moc"
