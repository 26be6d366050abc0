#include "autorun.h"
#include "baseinfo.h"
#include "dispscene.h"
#include "dispsettingwidget.h"
#include "resourceinit.h"
#include "testemulator.h"
#include "transport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

class TestDispSettingWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initPanelcastResources(); }
    void init();
    void autoRunFollowsTheBoxAndTheProgramsPlace();
    void preferencesAreStoredAndShownAgain_data();
    void preferencesAreStoredAndShownAgain();
    void languageChoiceRetranslatesThePage();
    void dragsOnlyByTheTitleBar_data();
    void dragsOnlyByTheTitleBar();

    void versionComesFromTheDevice();
    void logoUpgradeRules_data();
    void logoUpgradeRules();
    void firmwareUpgradeReachesTheDevice();
    void mp4LogoBecomesABootVideo();
    void upgradeButtonsNeedAPathAndAnOpenPort();
    void everyUploadEndsWithAMessage_data();
    void everyUploadEndsWithAMessage();
    void expansionModeOnlyOnItsModel_data();
    void expansionModeOnlyOnItsModel();

private:
    template <typename T>
    static T* child(QWidget* page, const char* name)
    {
        return page->findChild<T*>(QString::fromLatin1(name));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDispSettingWidget::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("PANELCAST_DATA_DIR", (m_dir->path() + "/data").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (m_dir->path() + "/config").toLocal8Bit());
}

void TestDispSettingWidget::autoRunFollowsTheBoxAndTheProgramsPlace()
{
    QVERIFY(!QFile::exists(BaseInfo::filePath()));
    {
        // The first start registers it.
        dispsettingwidget page;
        QCOMPARE(BaseInfo::autoRunState(), true);
        QVERIFY(AutoRun::isRegistered());
        QVERIFY(child<QCheckBox>(&page, "autoRunBox")->isChecked());
        child<QCheckBox>(&page, "autoRunBox")->setChecked(false);
        QVERIFY(!AutoRun::isRegistered());
        QVERIFY(!QFile::exists(AutoRun::autostartFilePath()));
    }
    {
        // Unticked stays removed.
        dispsettingwidget again;
        QVERIFY(!AutoRun::isRegistered());
        QVERIFY(!child<QCheckBox>(&again, "autoRunBox")->isChecked());
        child<QCheckBox>(&again, "autoRunBox")->setChecked(true);
        QVERIFY(AutoRun::isRegistered());
    }
    // Registered for a program that has moved: shown unticked.
    QVERIFY(AutoRun::setRegistered(true, m_dir->path() + "/elsewhere/panelcast"));
    dispsettingwidget moved;
    QVERIFY(!child<QCheckBox>(&moved, "autoRunBox")->isChecked());
}

void TestDispSettingWidget::preferencesAreStoredAndShownAgain_data()
{
    QTest::addColumn<bool>("minimised");
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("brightness");
    QTest::newRow("minimised, Fahrenheit") << true << 1 << 37;
    QTest::newRow("shown, Celsius") << false << 0 << 64;
}

void TestDispSettingWidget::preferencesAreStoredAndShownAgain()
{
    QFETCH(bool, minimised);
    QFETCH(int, unit);
    QFETCH(int, brightness);
    {
        dispsettingwidget page;
        QCOMPARE(BaseInfo::brightness(), 0);
        child<QCheckBox>(&page, "minimizeBox")->setChecked(!minimised);
        child<QCheckBox>(&page, "minimizeBox")->setChecked(minimised);
        QCOMPARE(BaseInfo::minimizeState(), minimised);
        child<QComboBox>(&page, "unitBox")->setCurrentIndex(1 - unit);
        child<QComboBox>(&page, "unitBox")->setCurrentIndex(unit);
        QCOMPARE(BaseInfo::tempUnit(), unit);
        QSignalSpy spy(&page, &dispsettingwidget::brightnessChanged);
        child<QSlider>(&page, "brightnessSlider")->setValue(brightness);
        QCOMPARE(child<QLabel>(&page, "brightnessValue")->text(), QString("%1%").arg(brightness));
        QCOMPARE(BaseInfo::brightness(), brightness);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), brightness);
    }
    // A new page shows what is stored, and is set before it is watched: it stores nothing new.
    dispsettingwidget page;
    QCOMPARE(page.startMinimised(), minimised);
    QCOMPARE(child<QCheckBox>(&page, "minimizeBox")->isChecked(), minimised);
    QCOMPARE(child<QComboBox>(&page, "unitBox")->currentIndex(), unit);
    QCOMPARE(child<QSlider>(&page, "brightnessSlider")->value(), brightness);
    QCOMPARE(child<QLabel>(&page, "brightnessValue")->text(), QString("%1%").arg(brightness));
    QCOMPARE(BaseInfo::brightness(), brightness);
    QCOMPARE(BaseInfo::minimizeState(), minimised);
}

void TestDispSettingWidget::languageChoiceRetranslatesThePage()
{
    const QString data = m_dir->path() + "/data";
    QDir().mkpath(data);
    QVERIFY(QFile::copy(QStringLiteral(PANELCAST_QM_DIR) + "/de_DE.qm", data + "/de_DE.qm"));

    dispsettingwidget page;
    auto* languages = child<QComboBox>(&page, "languageBox");
    QCOMPARE(languages->count(), 13);
    QCOMPARE(languages->itemText(5), QString("German"));
    languages->setCurrentIndex(5);
    QCOMPARE(BaseInfo::languageType(), 5);
    QTRY_COMPARE(child<QLabel>(&page, "languageCaption")->text(), QString("Sprache:"));
    QCOMPARE(child<QLabel>(&page, "versionCaption")->text(), QString("Geräteversion"));
    QCOMPARE(languages->itemText(5), QString("Deutsch"));
    QCOMPARE(languages->itemText(1), QString("Simplified Chinese"));

    // A new page starts in the stored language.
    languages->setCurrentIndex(0);
    QTRY_COMPARE(child<QLabel>(&page, "languageCaption")->text(), QString("Language:"));
    BaseInfo::setLanguageType(5);
    dispsettingwidget next;
    QTRY_COMPARE(child<QLabel>(&next, "languageCaption")->text(), QString("Sprache:"));
}

void TestDispSettingWidget::dragsOnlyByTheTitleBar_data()
{
    QTest::addColumn<int>("pressY");
    QTest::addColumn<bool>("moves");
    QTest::newRow("top edge") << 0 << false;
    QTest::newRow("last title row") << 34 << true;
    QTest::newRow("body") << 35 << false;
}

void TestDispSettingWidget::dragsOnlyByTheTitleBar()
{
    QFETCH(int, pressY);
    QFETCH(bool, moves);
    dispsettingwidget page;
    page.move(50, 50);
    const QPoint start = page.pos();
    const QPoint press(300, pressY);
    auto send = [&page](QEvent::Type type, const QPoint& local, Qt::MouseButton button,
                        Qt::MouseButtons buttons) {
        QMouseEvent event(type, local, page.pos() + local, button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&page, &event);
    };
    send(QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, press + QPoint(30, 20), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, press + QPoint(30, 20), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(page.pos(), moves ? start + QPoint(30, 20) : start);
}

namespace {

constexpr int kDeviceWaitMs = 8000;

// Run by hand without $PANELCAST_EMU there is no emulator to talk to.
#define REQUIRE_EMULATOR()                                                                                   \
    if (qEnvironmentVariableIsEmpty("PANELCAST_EMU"))                                                        \
    QSKIP("PANELCAST_EMU is not set; run through ctest")

// A device link to a running emulator, identified, as the home page hands it over.
struct LinkedDevice
{
    TestEmulator emu;
    Transport transport;
    DispScene scene;

    bool start(const QString& size, const QString& usb, const QStringList& extra = {})
    {
        if (!emu.start(size, usb, extra)) {
            qWarning() << emu.errorText();
            return false;
        }
        const QStringList ids = usb.split(':');
        QSignalSpy found(&transport, &Transport::searchDeviceFinish);
        transport.start();
        transport.openDevice(emu.link(), ids.at(0).toInt(nullptr, 16), ids.at(1).toInt(nullptr, 16));
        if (!transport.isOpen() || !found.wait(kDeviceWaitMs)) {
            return false;
        }
        scene.setSceneSize(transport.panelWidth(), transport.panelHeight());
        transport.setDeviceSize(transport.panelWidth(), transport.panelHeight());
        return true;
    }

    ~LinkedDevice()
    {
        transport.requestInterruption();
        transport.quit();
        transport.wait();
    }
};

QString writeJpeg(const QString& path, const QSize& size, qint64 padTo = 0)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    if (!image.save(path, "JPG")) {
        return QString();
    }
    // Bytes after the end marker leave the picture as it is but make the file large.
    QFile file(path);
    if (padTo > 0 && file.open(QIODevice::Append)) {
        file.write(QByteArray(int(qMax<qint64>(0, padTo - file.size())), '\0'));
    }
    return path;
}

} // namespace

void TestDispSettingWidget::versionComesFromTheDevice()
{
    REQUIRE_EMULATOR();
    LinkedDevice device;
    QVERIFY(device.start("480x480", "1F3A:0007", {"--version", "EMU V2 Dovaz Ezovava Ruviro"}));
    dispsettingwidget page;
    connect(&device.transport, &Transport::deviceInfo, &page, &dispsettingwidget::setDeviceVersion);
    auto* version = child<QLineEdit>(&page, "versionEdit");
    version->setText("stale");
    page.setDevice(&device.scene, &device.transport);
    QVERIFY(version->text().isEmpty());
    // The query rides with the next frame.
    QImage frame(480, 480, QImage::Format_ARGB32);
    frame.fill(Qt::white);
    QTRY_VERIFY_WITH_TIMEOUT((device.transport.send(frame), version->text() == "EMU V2 Dovaz Ezovava Ruviro"),
                             kDeviceWaitMs);

    // Refresh asks again.
    const int queries = device.emu.commands().count("0x81");
    child<QToolButton>(&page, "refreshButton")->click();
    QVERIFY(version->text().isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT((device.transport.send(frame), device.emu.commands().count("0x81") > queries),
                             kDeviceWaitMs);
}

void TestDispSettingWidget::logoUpgradeRules_data()
{
    QTest::addColumn<QString>("usb");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<qint64>("fileSize");
    QTest::addColumn<QString>("message");

    const QString good = "EMU V2 Dovaz Ezovava Ruviro";
    QTest::newRow("2 MiB refused on 480x1920")
        << "1F3A:0007"
        << "480x1920" << good << QSize(480, 1920) << qint64(2 * 1024 * 1024)
        << "The file is too large. Please select a file smaller than 1M.";
    QTest::newRow("2 MiB accepted on 1080x1920")
        << "1F3A:0007"
        << "1080x1920" << good << QSize(1080, 1920) << qint64(2 * 1024 * 1024) << "sent";
    QTest::newRow("old firmware") << "1F3A:0007"
                                  << "480x480"
                                  << "EMU V1" << QSize(480, 480) << qint64(0) << "old version not support";
    QTest::newRow("wrong size") << "1F3A:0007"
                                << "480x480" << good << QSize(100, 100) << qint64(0) << "size not right.";
    QTest::newRow("landscape logo on 0E02")
        << "33C3:0E02"
        << "480x1920" << good << QSize(1920, 480) << qint64(0) << "Upgrade success.";
}

void TestDispSettingWidget::logoUpgradeRules()
{
    QFETCH(QString, usb);
    QFETCH(QString, panel);
    QFETCH(QString, version);
    QFETCH(QSize, picture);
    QFETCH(qint64, fileSize);
    QFETCH(QString, message);

    REQUIRE_EMULATOR();
    LinkedDevice device;
    QVERIFY(device.start(panel, usb, {"--version", version}));
    const QString logo = writeJpeg(m_dir->filePath("logo.jpg"), picture, fileSize);
    QVERIFY(!logo.isEmpty());

    dispsettingwidget page;
    QStringList messages;
    page.setMessageHandler(
        [&messages](const QString& title, const QString& text) { messages << title + "|" + text; });
    connect(&device.transport, &Transport::updateFirmwareState, &page, &dispsettingwidget::onUpgradeState);
    page.setDevice(&device.scene, &device.transport);
    page.setDeviceVersion(version); // as the device's answer would
    page.setLogoPath(logo);
    auto* upgrade = child<QToolButton>(&page, "logoUpgrade");
    upgrade->click();

    if (message == "Upgrade success.") {
        QVERIFY(!upgrade->isEnabled());
        QVERIFY(!child<QToolButton>(&page, "firmwareUpgrade")->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(messages, QStringList{"Information|" + message}, kDeviceWaitMs);
        QVERIFY(upgrade->isEnabled());
        QVERIFY(page.logoPath().isEmpty());
        QVERIFY(child<QLineEdit>(&page, "logoEdit")->text().isEmpty());
        QVERIFY(device.emu.commands().contains("0x86")); // a ".jpg" logo starts with 0x86
    } else if (message == "sent") {
        // Accepted: the upload starts. A large file takes many seconds, so the
        // device goes away and the upload ends by time-out.
        QVERIFY(!upgrade->isEnabled());
        QVERIFY(device.emu.waitForCommand("0x86"));
        device.emu.stop();
        QTRY_COMPARE_WITH_TIMEOUT(messages, QStringList{"Information|Upgrade fail."}, kDeviceWaitMs);
        QVERIFY(upgrade->isEnabled());
    } else {
        QCOMPARE(messages, QStringList{"Information|" + message});
        QVERIFY(upgrade->isEnabled());
        QTest::qWait(200);
        QVERIFY(!device.emu.commands().contains("0x86"));
    }
}

void TestDispSettingWidget::firmwareUpgradeReachesTheDevice()
{
    REQUIRE_EMULATOR();
    LinkedDevice device;
    QVERIFY(device.start("480x480", "33C3:8001"));
    QFile firmware(m_dir->filePath("firmware.bin"));
    QVERIFY(firmware.open(QIODevice::WriteOnly));
    firmware.write(QByteArray(5000, '\x5a'));
    firmware.close();

    dispsettingwidget page;
    QStringList messages;
    page.setMessageHandler([&messages](const QString&, const QString& text) { messages << text; });
    connect(&device.transport, &Transport::updateFirmwareState, &page, &dispsettingwidget::onUpgradeState);
    page.setDevice(&device.scene, &device.transport);
    page.setFirmwarePath(firmware.fileName());
    child<QToolButton>(&page, "firmwareUpgrade")->click();
    QVERIFY(!child<QToolButton>(&page, "logoUpgrade")->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(messages, QStringList{"Upgrade success."}, kDeviceWaitMs);
    QVERIFY(page.firmwarePath().isEmpty());
    QStringList upload;
    for (const QString& command : device.emu.commands()) {
        if (command != "0x85" && command != "0x90") {
            upload << command;
        }
    }
    // 5000 bytes in 1024-byte packs on this model.
    QCOMPARE(upload, (QStringList{"0x82", "0x83", "0x83", "0x83", "0x84"}));
}

void TestDispSettingWidget::mp4LogoBecomesABootVideo()
{
    REQUIRE_EMULATOR();
    if (QStandardPaths::findExecutable("ffmpeg").isEmpty()) {
        QSKIP("the ffmpeg program is not installed (scripts/install-deps installs it)");
    }
    LinkedDevice device;
    QVERIFY(device.start("480x480", "1F3A:0007"));
    dispsettingwidget page;
    page.setMessageHandler([](const QString&, const QString& text) { QFAIL(qPrintable(text)); });
    page.setDevice(&device.scene, &device.transport);
    page.setDeviceVersion("EMU V2 Dovaz Ezovava Ruviro");
    // A second of test pattern: a boot video of more than one pack.
    const QString video = m_dir->filePath("intro.mp4");
    QProcess make;
    make.start("ffmpeg", {"-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25",
                          "-t", "1", "-pix_fmt", "yuv420p", video});
    QVERIFY(make.waitForFinished(30000) && make.exitCode() == 0);
    page.setLogoPath(video);
    child<QToolButton>(&page, "logoUpgrade")->click();

    const QString bootVideo = qEnvironmentVariable("PANELCAST_DATA_DIR") + "/boot_video.h264";
    QVERIFY(QFileInfo(bootVideo).size() > 0);
    QVERIFY(!child<QToolButton>(&page, "logoUpgrade")->isEnabled());
    // Not a ".jpg": the upload starts with 0x87.
    QVERIFY(device.emu.waitForCommand("0x87"));
    QVERIFY(!device.emu.commands().contains("0x86"));
}

void TestDispSettingWidget::upgradeButtonsNeedAPathAndAnOpenPort()
{
    dispsettingwidget page;
    QStringList messages;
    page.setMessageHandler([&messages](const QString&, const QString& text) { messages << text; });
    Transport closed;
    page.setDevice(nullptr, &closed);
    page.setFirmwarePath(m_dir->filePath("firmware.bin"));
    page.setLogoPath(writeJpeg(m_dir->filePath("logo.jpg"), QSize(480, 480)));
    child<QToolButton>(&page, "firmwareUpgrade")->click();
    child<QToolButton>(&page, "logoUpgrade")->click();
    QVERIFY(!closed.uploadPending());
    QVERIFY(child<QToolButton>(&page, "firmwareUpgrade")->isEnabled());
    QVERIFY(messages.isEmpty());
}

void TestDispSettingWidget::everyUploadEndsWithAMessage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("firmwareBytes"); // -1: a 480 x 480 JPEG logo
    QTest::addColumn<QString>("message");
    const QString kind = "Please select a .jpg picture or an .mp4 video.";
    const QString small = "The file is too small for an upgrade.";
    QTest::newRow("logo without extension") << "logo" << -1 << kind;
    QTest::newRow("unknown extension") << "logo.png" << -1 << kind;
    QTest::newRow("upper-case JPG") << "LOGO.JPG" << -1 << "Upgrade success.";
    QTest::newRow("empty firmware") << "empty.bin" << 0 << small;
    QTest::newRow("firmware of one pack") << "one.bin" << 4088 << small;
}

void TestDispSettingWidget::everyUploadEndsWithAMessage()
{
    QFETCH(QString, name);
    QFETCH(int, firmwareBytes);
    QFETCH(QString, message);
    REQUIRE_EMULATOR();
    LinkedDevice device;
    QVERIFY(device.start("480x480", "1F3A:0007"));
    dispsettingwidget page;
    QStringList messages;
    page.setMessageHandler([&messages](const QString&, const QString& text) { messages << text; });
    connect(&device.transport, &Transport::updateFirmwareState, &page, &dispsettingwidget::onUpgradeState);
    page.setDevice(&device.scene, &device.transport);
    page.setDeviceVersion("EMU V2 Dovaz Ezovava Ruviro");
    const QString path = m_dir->filePath(name);
    const bool logo = firmwareBytes < 0;
    QFile file(path);
    QVERIFY(logo ? !writeJpeg(path, QSize(480, 480), 10000).isEmpty()
                 : file.open(QIODevice::WriteOnly) &&
                       file.write(QByteArray(firmwareBytes, 'Z')) == firmwareBytes);
    file.close();
    logo ? page.setLogoPath(path) : page.setFirmwarePath(path);
    child<QToolButton>(&page, logo ? "logoUpgrade" : "firmwareUpgrade")->click();
    QTRY_COMPARE_WITH_TIMEOUT(messages, QStringList{message}, kDeviceWaitMs);
    QVERIFY(child<QToolButton>(&page, "logoUpgrade")->isEnabled() &&
            child<QToolButton>(&page, "firmwareUpgrade")->isEnabled());
}

void TestDispSettingWidget::expansionModeOnlyOnItsModel_data()
{
    QTest::addColumn<QString>("usb");
    QTest::addColumn<bool>("switches");
    QTest::newRow("33C3:0E02 switches") << "33C3:0E02" << true;
    QTest::newRow("33C3:8001 does not") << "33C3:8001" << false;
}

void TestDispSettingWidget::expansionModeOnlyOnItsModel()
{
    QFETCH(QString, usb);
    QFETCH(bool, switches);
    REQUIRE_EMULATOR();
    LinkedDevice device;
    QVERIFY(device.start("480x1920", usb));
    dispsettingwidget page;
    page.setDevice(&device.scene, &device.transport);
    page.show();
    // Ticking it from the device's state switches nothing.
    page.setExpansionTicked(true);
    page.setExpansionTicked(false);
    QCOMPARE(device.transport.expansionMode(), 0);

    child<QCheckBox>(&page, "expansionBox")->setChecked(true);
    QCOMPARE(page.isVisible(), !switches);
    QImage frame(480, 1920, QImage::Format_ARGB32);
    frame.fill(Qt::white);
    if (switches) {
        QTRY_VERIFY_WITH_TIMEOUT((device.transport.send(frame), device.emu.commands().contains("0x91")),
                                 kDeviceWaitMs);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT((device.transport.send(frame), device.emu.commands().contains("0x85")),
                                 kDeviceWaitMs);
        QVERIFY(!device.emu.commands().contains("0x91"));
    }
}

QTEST_MAIN(TestDispSettingWidget)
#include "tst_dispsettingwidget.moc"
