#include "autorun.h"
#include "baseinfo.h"
#include "dispscene.h"
#include "dispsettingwidget.h"
#include "resourceinit.h"
#include "testemulator.h"
#include "testfiles.h"
#include "testmedia.h"
#include "transport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
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

    void upgradeButtonsNeedAPathAndAnOpenPort();
    void everyUploadEndsWithAMessage_data();
    void everyUploadEndsWithAMessage();
    void versionAndExpansionModeFromTheDevice_data();
    void versionAndExpansionModeFromTheDevice();

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

} // namespace

using TestFiles::writeJpeg;

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
    QTest::addColumn<QString>("usb");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("picture"); // a JPEG of this size; none: firmware, or made by ffmpeg (.mp4)
    QTest::addColumn<int>("bytes");     // the JPEG padded to it, or the firmware's size
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("start"); // the upload's first command, empty when refused

    const QString good = "EMU V2 Dovaz Ezovava Ruviro";
    const QString kind = "Please select a .jpg picture or an .mp4 video.";
    const QString small = "The file is too small for an upgrade.";
    const QString ok = "Upgrade success.";
    const QSize square(480, 480);
    const QSize none;
    QTest::newRow("2 MiB logo refused on 480x1920")
        << "1F3A:0007"
        << "480x1920" << good << "logo.jpg" << QSize(480, 1920) << 2 * 1024 * 1024
        << "The file is too large. Please select a file smaller than 1M."
        << "";
    QTest::newRow("2 MiB logo taken on 1080x1920, device gone mid-way")
        << "1F3A:0007"
        << "1080x1920" << good << "logo.jpg" << QSize(1080, 1920) << 2 * 1024 * 1024 << "Upgrade fail."
        << "0x86";
    QTest::newRow("old firmware") << "1F3A:0007"
                                  << "480x480"
                                  << "EMU V1"
                                  << "logo.jpg" << square << 0 << "old version not support"
                                  << "";
    QTest::newRow("wrong size") << "1F3A:0007"
                                << "480x480" << good << "logo.jpg" << QSize(100, 100) << 0
                                << "size not right."
                                << "";
    QTest::newRow("landscape logo on 0E02")
        << "33C3:0E02"
        << "480x1920" << good << "logo.jpg" << QSize(1920, 480) << 0 << ok << "0x86";
    QTest::newRow("logo without extension") << "1F3A:0007"
                                            << "480x480" << good << "logo" << square << 10000 << kind << "";
    QTest::newRow("unknown extension") << "1F3A:0007"
                                       << "480x480" << good << "logo.png" << square << 10000 << kind << "";
    QTest::newRow("upper-case JPG") << "1F3A:0007"
                                    << "480x480" << good << "LOGO.JPG" << square << 10000 << ok << "0x87";
    QTest::newRow("mp4 becomes a boot video")
        << "1F3A:0007"
        << "480x480" << good << "intro.mp4" << none << 0 << ok << "0x87";
    QTest::newRow("empty firmware") << "1F3A:0007"
                                    << "480x480" << good << "empty.bin" << none << 0 << small << "";
    QTest::newRow("firmware of one pack") << "1F3A:0007"
                                          << "480x480" << good << "one.bin" << none << 4088 << small << "";
    QTest::newRow("firmware in 1024-byte packs")
        << "33C3:8001"
        << "480x480" << good << "fw.bin" << none << 5000 << ok << "0x82";
}

void TestDispSettingWidget::everyUploadEndsWithAMessage()
{
    QFETCH(QString, usb);
    QFETCH(QString, panel);
    QFETCH(QString, version);
    QFETCH(QString, name);
    QFETCH(QSize, picture);
    QFETCH(int, bytes);
    QFETCH(QString, message);
    QFETCH(QString, start);
    REQUIRE_EMULATOR();
    LinkedDevice device;
    QVERIFY(device.start(panel, usb, {"--version", version}));
    const QString path = m_dir->filePath(name);
    const bool logo = picture.isValid() || name.endsWith(".mp4");
    if (picture.isValid()) {
        QVERIFY(!writeJpeg(path, picture, bytes).isEmpty());
    } else if (logo) {
        // A second of test pattern: a boot video of more than one pack.
        QVERIFY(!TestMedia::make(m_dir->path(), name, "testsrc=size=320x240:rate=25:duration=1",
                                 {"-pix_fmt", "yuv420p"})
                     .isEmpty());
    } else {
        QVERIFY(TestFiles::writeFile(path, QByteArray(bytes, 'Z')));
    }

    dispsettingwidget page;
    QStringList messages;
    page.setMessageHandler([&messages](const QString&, const QString& text) { messages << text; });
    connect(&device.transport, &Transport::updateFirmwareState, &page, &dispsettingwidget::onUpgradeState);
    page.setDevice(&device.scene, &device.transport);
    page.setDeviceVersion(version); // as the device's answer would
    logo ? page.setLogoPath(path) : page.setFirmwarePath(path);
    auto* upgrade = child<QToolButton>(&page, logo ? "logoUpgrade" : "firmwareUpgrade");
    upgrade->click();
    if (!start.isEmpty()) {
        // Both buttons wait for the upload.
        QVERIFY(!child<QToolButton>(&page, "logoUpgrade")->isEnabled());
        QVERIFY(!child<QToolButton>(&page, "firmwareUpgrade")->isEnabled());
        QVERIFY(device.emu.waitForCommand(start));
    }
    if (message == "Upgrade fail.") {
        device.emu.stop(); // a large file takes many seconds: the upload ends by time-out
    }
    QTRY_COMPARE_WITH_TIMEOUT(messages, QStringList{message}, kDeviceWaitMs);
    QVERIFY(child<QToolButton>(&page, "logoUpgrade")->isEnabled() &&
            child<QToolButton>(&page, "firmwareUpgrade")->isEnabled());
    if (message == "Upgrade success.") {
        QVERIFY(logo ? page.logoPath().isEmpty() : page.firmwarePath().isEmpty());
        QVERIFY(child<QLineEdit>(&page, logo ? "logoEdit" : "firmwareEdit")->text().isEmpty());
        QCOMPARE(QFileInfo::exists(qEnvironmentVariable("PANELCAST_DATA_DIR") + "/boot_video.h264"),
                 name.endsWith(".mp4"));
    } else if (start.isEmpty()) {
        QTest::qWait(200);
        QCOMPARE(device.emu.commands().filter(QRegularExpression("0x8[2346789]")), QStringList());
    }
}

void TestDispSettingWidget::versionAndExpansionModeFromTheDevice_data()
{
    QTest::addColumn<QString>("usb");
    QTest::addColumn<bool>("switches");
    QTest::newRow("33C3:0E02 switches") << "33C3:0E02" << true;
    QTest::newRow("33C3:8001 does not") << "33C3:8001" << false;
}

void TestDispSettingWidget::versionAndExpansionModeFromTheDevice()
{
    QFETCH(QString, usb);
    QFETCH(bool, switches);
    REQUIRE_EMULATOR();
    LinkedDevice device;
    QVERIFY(device.start("480x1920", usb, {"--version", "EMU V2 Dovaz Ezovava Ruviro"}));
    dispsettingwidget page;
    connect(&device.transport, &Transport::deviceInfo, &page, &dispsettingwidget::setDeviceVersion);
    auto* version = child<QLineEdit>(&page, "versionEdit");
    version->setText("stale");
    page.setDevice(&device.scene, &device.transport);
    QVERIFY(version->text().isEmpty());
    page.show();
    // The version query rides with the next frame; refresh asks again.
    QImage frame(480, 1920, QImage::Format_ARGB32);
    frame.fill(Qt::white);
    QTRY_VERIFY_WITH_TIMEOUT((device.transport.send(frame), version->text() == "EMU V2 Dovaz Ezovava Ruviro"),
                             kDeviceWaitMs);
    const int queries = device.emu.commands().count("0x81");
    child<QToolButton>(&page, "refreshButton")->click();
    QVERIFY(version->text().isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT((device.transport.send(frame), device.emu.commands().count("0x81") > queries),
                             kDeviceWaitMs);

    // Ticking it from the device's state switches nothing.
    page.setExpansionTicked(true);
    page.setExpansionTicked(false);
    QCOMPARE(device.transport.expansionMode(), 0);
    const int frames = device.emu.commands().count("0x85");
    child<QCheckBox>(&page, "expansionBox")->setChecked(true);
    QCOMPARE(page.isVisible(), !switches);
    if (switches) {
        QTRY_VERIFY_WITH_TIMEOUT((device.transport.send(frame), device.emu.commands().contains("0x91")),
                                 kDeviceWaitMs);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT((device.transport.send(frame), device.emu.commands().count("0x85") > frames),
                                 kDeviceWaitMs);
        QVERIFY(!device.emu.commands().contains("0x91"));
    }
}

QTEST_MAIN(TestDispSettingWidget)
#include "tst_dispsettingwidget.moc"
