// End to end: the panelcast-ctl binary drives panelcast-emu over its
// pseudo-terminal; what the emulator received (packets.jsonl, the uploaded
// files, the last decoded picture) is compared with what was asked for.
#include "processrun.h"
#include "testemulator.h"
#include "testfiles.h"
#include "testmedia.h"

#include <QImage>
#include <QJsonObject>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

namespace {

ProcessRun ctl(const QStringList& arguments, const QString& virtualPorts = QString(),
               const QString& dataDir = QString())
{
    return ProcessRun::of(qEnvironmentVariable("PANELCAST_CTL"), arguments,
                          {{"PANELCAST_VIRTUAL_PORTS", virtualPorts},
                           {"PANELCAST_DATA_DIR", dataDir},
                           {"QT_LOGGING_RULES", QString()}});
}

} // namespace

using namespace TestFiles;

class TestCtlDeviceCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void listShowsKnownDevices();
    void infoIdentifiesTheDisplay_data();
    void infoIdentifiesTheDisplay();
    void controlPacketsArrive();
    void badInputIsRefused_data();
    void badInputIsRefused();
    void uploadsArriveAsTheFile_data();
    void uploadsArriveAsTheFile();
    void streamedPictureMatches_data();
    void streamedPictureMatches();
    void videoLoopsAtItsFrameRateUntilTheDeviceGoes();

private:
    QTemporaryDir m_files;
    QString file(const QString& name) const { return m_files.filePath(name); }
};

void TestCtlDeviceCommands::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("PANELCAST_EMU") || qEnvironmentVariableIsEmpty("PANELCAST_CTL")) {
        QSKIP("PANELCAST_EMU and PANELCAST_CTL name the binaries under test; ctest sets them");
    }
    QVERIFY(m_files.isValid());
    QVERIFY(writeFile(file("firmware.bin"), patterned(5000, 7)));
    QVERIFY(writeFile(file("empty.bin"), QByteArray()));
    QVERIFY(testPicture(QSize(480, 1920)).save(file("logo.jpg"), "JPG", 90));
    QVERIFY(testPicture(QSize(400, 400)).save(file("square.jpg"), "JPG", 90));
    QVERIFY(testPicture(QSize(480, 1920)).save(file("logo.png"), "PNG"));
    QVERIFY(!TestMedia::make(m_files.path(), "clip.mp4", "testsrc=size=320x240:rate=25:duration=1",
                             {"-pix_fmt", "yuv420p"})
                 .isEmpty());
    // A valid picture padded past the 1 MiB limit.
    QVERIFY(!writeJpeg(file("large.jpg"), QSize(480, 1920), 0x100000 + 1).isEmpty());
}

void TestCtlDeviceCommands::listShowsKnownDevices()
{
    TestEmulator display;
    TestEmulator digital;
    QVERIFY2(display.start({"--usb", "33C3:8001"}), qPrintable(display.errorText()));
    QVERIFY2(digital.start({"--family", "digital"}), qPrintable(digital.errorText()));
    // A listed path that does not exist is no device.
    const QString ports = display.entry() + ";" + digital.entry() + ";/nonexistent/ttyX=1F3A:0007";
    const ProcessRun run = ctl({"list"}, ports);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, display.link() + "\t33C3:8001\tdisplay\n" + digital.link() + "\t1A86:FE00\tdigital\n");
}

void TestCtlDeviceCommands::infoIdentifiesTheDisplay_data()
{
    QTest::addColumn<QStringList>("emuArguments");
    QTest::addColumn<QString>("expected");
    const QString version = QStringLiteral("PANELCAST-EMU V1.0 Dovaz Ezovava Ruviro");
    QTest::newRow("360x960 encoded 420 wide")
        << QStringList{"--size", "360x960"}
        << "size: 360x960\nmode: 0\nencoder: 420x960\nversion: " + version + "\n";
    QTest::newRow("expansion mode, own version")
        << QStringList{"--size", "320x240", "--mode", "1", "--version", "V2.3 test"}
        << "size: 320x240\nmode: 1\nencoder: 320x240\nversion: V2.3 test\n";
    QTest::newRow("12-byte search reply")
        << QStringList{"--size", "480x480", "--mode", "1", "--reply-len", "12"}
        << "size: 480x480\nmode: 0\nencoder: 480x480\nversion: " + version + "\n";
}

void TestCtlDeviceCommands::infoIdentifiesTheDisplay()
{
    QFETCH(QStringList, emuArguments);
    QFETCH(QString, expected);
    TestEmulator emu;
    QVERIFY2(emu.start(emuArguments), qPrintable(emu.errorText()));
    const ProcessRun run = ctl({"info", emu.link()}, emu.entry());
    QCOMPARE(run.err, QString());
    QCOMPARE(run.out, expected);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(emu.commands(), (QStringList{"0x90", "0x81"}));
}

void TestCtlDeviceCommands::controlPacketsArrive()
{
    TestEmulator emu;
    // The only model whose expansion screen mode can be switched.
    QVERIFY2(emu.start({"--usb", "33C3:0E02"}), qPrintable(emu.errorText()));
    for (const QStringList& arguments :
         {QStringList{"brightness", emu.link(), "50"}, QStringList{"expansion", emu.link(), "on"},
          QStringList{"expansion", emu.link(), "off"}}) {
        const ProcessRun run = ctl(arguments, emu.entry());
        QCOMPARE(run.err, QString());
        QCOMPARE(run.exitCode, 0);
    }
    // Each run searches first, then sends exactly one control packet and no frame.
    QTRY_COMPARE(emu.commands(), (QStringList{"0x90", "0x80", "0x90", "0x91", "0x90", "0x91"}));
    QCOMPARE(emu.payloads("0x80") + emu.payloads("0x91"), (QStringList{"7f", "01", "00"}));
}

void TestCtlDeviceCommands::badInputIsRefused_data()
{
    QTest::addColumn<QStringList>("emuArguments");
    QTest::addColumn<int>("port"); // 0 unlisted, 1 listed, 2 listed and held by another program
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QStringList plain{"--size", "480x1920"};
    QTest::newRow("unknown port") << plain << 1 << QStringList{"info", "/nonexistent/ttyEMU"}
                                  << "unknown port";
    QTest::newRow("silent port") << QStringList{"--family", "digital"} << 0 << QStringList{"info", "PORT"}
                                 << "no answer from PORT to the search within 2 seconds";
    QTest::newRow("seven-segment panel")
        << QStringList{"--family", "digital"} << 1 << QStringList{"info", "PORT"} << "seven-segment panel";
    QTest::newRow("percent above 100")
        << plain << 1 << QStringList{"brightness", "PORT", "101"} << "not a percentage from 0 to 100";
    QTest::newRow("percent not a number")
        << plain << 1 << QStringList{"brightness", "PORT", "half"} << "not a percentage from 0 to 100";
    QTest::newRow("expansion neither on nor off")
        << plain << 1 << QStringList{"expansion", "PORT", "yes"} << "expected on or off";
    QTest::newRow("expansion on a model without it")
        << plain << 1 << QStringList{"expansion", "PORT", "on"} << "has no expansion screen mode";
    QTest::newRow("missing file") << plain << 1 << QStringList{"upload-firmware", "PORT", "DIR/missing.bin"}
                                  << "cannot read DIR/missing.bin";
    QTest::newRow("empty file") << plain << 1 << QStringList{"upload-firmware", "PORT", "DIR/empty.bin"}
                                << "DIR/empty.bin is empty";
    QTest::newRow("stream of no picture")
        << plain << 1 << QStringList{"stream", "PORT", "DIR/firmware.bin"} << "DIR/firmware.bin";
    QTest::newRow("logo of the wrong size")
        << plain << 1 << QStringList{"upload-logo", "PORT", "DIR/square.jpg"}
        << "DIR/square.jpg is 400x400, which does not suit a 480x1920 panel";
    QTest::newRow("logo too large") << plain << 1 << QStringList{"upload-logo", "PORT", "DIR/large.jpg"}
                                    << "DIR/large.jpg is too large for a 480x1920 panel";
    QTest::newRow("logo neither jpg nor mp4")
        << plain << 1 << QStringList{"upload-logo", "PORT", "DIR/logo.png"} << "a logo is a .jpg picture";
    QTest::newRow("firmware without logo support")
        << QStringList{"--size", "480x1920", "--version", "V1.0"} << 1
        << QStringList{"upload-logo", "PORT", "DIR/logo.jpg"} << "takes no logos";
    QTest::newRow("seconds not a number")
        << plain << 1 << QStringList{"stream", "PORT", "DIR/logo.png", "--seconds", "soon"} << "--seconds";
}

void TestCtlDeviceCommands::badInputIsRefused()
{
    QFETCH(QStringList, emuArguments);
    QFETCH(int, port);
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    TestEmulator emu;
    QVERIFY2(emu.start(emuArguments), qPrintable(emu.errorText()));
    arguments.replaceInStrings(QStringLiteral("PORT"), emu.link());
    arguments.replaceInStrings(QStringLiteral("DIR"), m_files.path());
    message.replace(QStringLiteral("PORT"), emu.link());
    message.replace(QStringLiteral("DIR"), m_files.path());

    QSerialPort holder(emu.link());
    QVERIFY(port < 2 || holder.open(QIODevice::ReadWrite));
    const ProcessRun run = ctl(arguments, port > 0 ? emu.entry() : QString());
    QVERIFY2(run.exitCode > 0, qPrintable(run.err));
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    // One line, naming the command, and nothing on stdout.
    QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
    QVERIFY(run.err.startsWith("panelcast-ctl " + arguments.first() + ": "));
    QCOMPARE(run.out, QString());
    // Nothing but the search (and the version query of a logo) reached the device.
    QCOMPARE(emu.commands().filter(QRegularExpression("^(?!0x90$|0x81$).")), QStringList());
}

void TestCtlDeviceCommands::uploadsArriveAsTheFile_data()
{
    QTest::addColumn<QStringList>("emuArguments");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("commands"); // the first ones the device received, in order
    QTest::addColumn<QString>("last");
    QTest::addColumn<bool>("scrambled");
    QTest::addColumn<int>("exitCode");
    const QStringList firmware{"upload-firmware", "PORT", "DIR/firmware.bin"};
    QTest::newRow("firmware, variant A")
        << QStringList{"--usb", "33C3:0E02"} << firmware
        << QStringList{"0x90", "0x82", "0x83", "0x83", "0x83"} << "0x84" << false << 0;
    QTest::newRow("firmware, variant B") << QStringList{"--usb", "1F3A:0007"} << firmware
                                         << QStringList{"0x90", "0x82"} << "0x84" << true << 0;
    QTest::newRow("logo picture") << QStringList{"--size", "480x1920"}
                                  << QStringList{"upload-logo", "PORT", "DIR/logo.jpg"}
                                  << QStringList{"0x90", "0x81", "0x86"} << "0x89" << false << 0;
    // An .mp4 is converted to an H.264 boot video in the data folder first.
    QTest::newRow("mp4 boot video") << QStringList{"--size", "480x1920"}
                                    << QStringList{"upload-logo", "PORT", "DIR/clip.mp4"}
                                    << QStringList{"0x90", "0x81", "0x87"} << "0x89" << false << 0;
    QTest::newRow("never acknowledged")
        << QStringList{"--ack", "never"} << firmware << QStringList{"0x90", "0x82"} << "0x82" << false << 1;
}

void TestCtlDeviceCommands::uploadsArriveAsTheFile()
{
    QFETCH(QStringList, emuArguments);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, commands);
    QFETCH(QString, last);
    QFETCH(bool, scrambled);
    QFETCH(int, exitCode);
    TestEmulator emu;
    QVERIFY2(emu.start(emuArguments), qPrintable(emu.errorText()));
    arguments.replaceInStrings(QStringLiteral("PORT"), emu.link());
    arguments.replaceInStrings(QStringLiteral("DIR"), m_files.path());
    QTemporaryDir data;
    const ProcessRun run = ctl(arguments, emu.entry(), data.path());
    QCOMPARE(run.out, QString(exitCode == 0 ? "Upgrade success.\n" : "Upgrade fail.\n"));
    QCOMPARE(run.exitCode, exitCode);
    QTRY_COMPARE(emu.commands().mid(0, commands.size()), commands);
    QTRY_COMPARE(emu.commands().last(), last);
    if (exitCode != 0) {
        QCOMPARE(emu.commands().size(), commands.size());
        return;
    }
    if (arguments.first() == QLatin1String("upload-firmware")) {
        const int packs = emu.commands().size() - 1; // all but the search
        QVERIFY2(run.err.contains(QStringLiteral("100%  %1/%1").arg(packs)), qPrintable(run.err));
    }
    const bool video = arguments.last().endsWith(".mp4");
    QByteArray expected = readAll(video ? data.filePath("boot_video.h264") : arguments.last());
    QVERIFY(!video || expected.startsWith(QByteArray::fromHex("00000001"))); // an H.264 elementary stream
    for (int k = 36; scrambled && k < expected.size(); ++k) {
        expected[k] = char(expected[k] ^ 0x02);
    }
    QTRY_COMPARE(emu.upload(1), expected);
}

void TestCtlDeviceCommands::streamedPictureMatches_data()
{
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QSize>("pictureSize");
    QTest::addColumn<QString>("usb");
    QTest::addColumn<QSize>("frameSize");
    QTest::addColumn<QPoint>("offset");
    QTest::newRow("360x960 at x = 60 of 420x960")
        << "360x960" << QSize(360, 960) << "1F3A:0007" << QSize(420, 960) << QPoint(60, 0);
    QTest::newRow("462x1920 at its own width")
        << "462x1920" << QSize(462, 1920) << "33C3:0E02" << QSize(462, 1920) << QPoint(0, 0);
    QTest::newRow("462x1920 padded to 480")
        << "462x1920" << QSize(462, 1920) << "1F3A:0007" << QSize(480, 1920) << QPoint(0, 0);
    QTest::newRow("1080x1920") << "1080x1920" << QSize(1080, 1920) << "33C3:8001" << QSize(1080, 1920)
                               << QPoint(0, 0);
    QTest::newRow("square picture centred on 480x1920")
        << "480x1920" << QSize(480, 480) << "1F3A:0007" << QSize(480, 1920) << QPoint(0, 720);
}

void TestCtlDeviceCommands::streamedPictureMatches()
{
    QFETCH(QString, panel);
    QFETCH(QString, usb);
    QFETCH(QSize, pictureSize);
    QFETCH(QSize, frameSize);
    QFETCH(QPoint, offset);
    const QImage picture = testPicture(pictureSize);
    const QString path = file(QTest::currentDataTag() + QStringLiteral(".png"));
    QVERIFY(picture.save(path));
    TestEmulator emu;
    QVERIFY2(emu.start({"--size", panel, "--usb", usb}), qPrintable(emu.errorText()));
    const ProcessRun run = ctl({"stream", emu.link(), path, "--seconds", "1"}, emu.entry());
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    const QRegularExpressionMatch summary =
        QRegularExpression("^frames: (\\d+)\nseconds: ([\\d.]+)\nfps: ([\\d.]+)\n$").match(run.out);
    const int frames = summary.captured(1).toInt();
    QVERIFY2(frames >= 10 && summary.captured(2).toDouble() >= 1.0 && summary.captured(3).toDouble() > 5,
             qPrintable(run.out));
    emu.stop();
    // Every frame written was decoded.
    QCOMPARE(emu.commands().count("0x85"), frames);
    for (const QJsonObject& entry : emu.log()) {
        QVERIFY2(!entry.contains("error"), qPrintable(entry.value("error").toString()));
    }

    const QImage decoded(QDir(emu.outDir()).filePath("latest.png"));
    QCOMPARE(decoded.size(), frameSize);
    const double psnr = lumaPsnr(picture, decoded, offset);
    qInfo("luma PSNR %.1f dB", psnr);
    QVERIFY2(psnr >= 35.0, qPrintable(QString::number(psnr)));
    // Exactly there: one pixel off matches clearly worse.
    const QPoint shifted = offset.x() > 0 ? offset - QPoint(1, 0) : offset + QPoint(0, 1);
    QVERIFY(lumaPsnr(picture.copy(0, 0, pictureSize.width(), pictureSize.height() - 1), decoded, shifted) <
            psnr - 3);
    // Around the picture the frame is black.
    const QRect inside(offset, pictureSize);
    for (int y = 2; y < frameSize.height(); y += 16) {
        for (int x = 2; x < frameSize.width(); x += 4) {
            if (!inside.adjusted(-4, -4, 4, 4).contains(x, y)) {
                QVERIFY2(luma(decoded.pixel(x, y)) < 12, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
        }
    }
}

void TestCtlDeviceCommands::videoLoopsAtItsFrameRateUntilTheDeviceGoes()
{
    QVERIFY(
        !TestMedia::make(m_files.path(), "short.gif", "testsrc=size=160x120:rate=10:duration=0.5").isEmpty());
    TestEmulator emu;
    // The emulator leaves after two seconds, as an unplugged display would.
    QVERIFY2(emu.start({"--size", "320x240", "--seconds", "2"}), qPrintable(emu.errorText()));
    const ProcessRun run = ctl({"stream", emu.link(), file("short.gif")}, emu.entry());
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, "panelcast-ctl stream: lost the connection to " + emu.link() + "\n");
    // Five pictures a loop at 10 per second: the animation looped, at its
    // own pace rather than as fast as possible.
    QList<double> times;
    for (const QJsonObject& entry : emu.log()) {
        if (entry.value("cmd").toString() == QLatin1String("0x85")) {
            times << entry.value("ms").toDouble();
        }
    }
    QVERIFY2(times.size() >= 8, qPrintable(QString::number(times.size())));
    const double fps = (times.size() - 1) * 1000.0 / (times.last() - times.first());
    QVERIFY2(fps > 6 && fps < 15, qPrintable(QString::number(fps)));
}

QTEST_MAIN(TestCtlDeviceCommands)
#include "tst_ctldevicecommands.moc"
