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

#include <functional>

class TestDispSettingWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initPanelcastResources(); }
    void init();
    void preferencesAreStoredAndShownAgain_data();
    void preferencesAreStoredAndShownAgain();
    void languageChoiceRetranslatesThePage();

    void upgradeButtonsNeedAPathAndAnOpenPort();
    void deviceAnswersItsVersionAndEveryUploadEndsWithAMessage_data();
    void deviceAnswersItsVersionAndEveryUploadEndsWithAMessage();

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

void TestDispSettingWidget::preferencesAreStoredAndShownAgain_data()
{
    QTest::addColumn<bool>("minimised");
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("brightness");
    QTest::addColumn<bool>("autoRun");
    QTest::newRow("minimised, Fahrenheit, no start at log-on") << true << 1 << 37 << false;
    QTest::newRow("shown, Celsius, start at log-on") << false << 0 << 64 << true;
}

void TestDispSettingWidget::preferencesAreStoredAndShownAgain()
{
    QFETCH(bool, minimised);
    QFETCH(int, unit);
    QFETCH(int, brightness);
    QFETCH(bool, autoRun);
    QVERIFY(!QFile::exists(BaseInfo::filePath()));
    {
        // The first start registers the program to start at log-on.
        dispsettingwidget page;
        QVERIFY(BaseInfo::autoRunState() && AutoRun::isRegistered());
        QVERIFY(child<QCheckBox>(&page, "autoRunBox")->isChecked());
        child<QCheckBox>(&page, "autoRunBox")->setChecked(autoRun);
        QCOMPARE(AutoRun::isRegistered(), autoRun);
        QCOMPARE(QFile::exists(AutoRun::autostartFilePath()), autoRun);
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
    QCOMPARE(child<QCheckBox>(&page, "autoRunBox")->isChecked(), autoRun);
    QCOMPARE(AutoRun::isRegistered(), autoRun);
    child<QCheckBox>(&page, "autoRunBox")->setChecked(true);
    QVERIFY(AutoRun::isRegistered());
    // Registered for a program that has moved: shown unticked.
    QVERIFY(AutoRun::setRegistered(true, m_dir->path() + "/elsewhere/panelcast"));
    dispsettingwidget moved;
    QVERIFY(!child<QCheckBox>(&moved, "autoRunBox")->isChecked());
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

void TestDispSettingWidget::deviceAnswersItsVersionAndEveryUploadEndsWithAMessage_data()
{
    QTest::addColumn<QString>("usb");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("version");
    // In turn on one device: "file|JPEG size (none: firmware, or .mp4 made by
    // ffmpeg)|the JPEG padded to bytes, or the firmware's size|message|the
    // upload's first command, empty when refused".
    QTest::addColumn<QStringList>("uploads");
    QTest::addColumn<int>("expansion"); // ticked afterwards: 1 switches the device, 0 does not, -1 untried

    const QString good = "EMU V2 Dovaz Ezovava Ruviro";
    const QString kind = "|Please select a .jpg picture or an .mp4 video.|";
    const QString small = "|The file is too small for an upgrade.|";
    QTest::newRow("480x480: refusals, a logo and a boot video")
        << "1F3A:0007"
        << "480x480" << good
        << QStringList{"logo.jpg|100x100|0|size not right.|",
                       "logo|480x480|10000" + kind,
                       "logo.png|480x480|10000" + kind,
                       "empty.bin||0" + small,
                       "one.bin||4088" + small,
                       "LOGO.JPG|480x480|10000|Upgrade success.|0x87",
                       "intro.mp4||0|Upgrade success.|0x87"}
        << -1;
    QTest::newRow("old firmware") << "1F3A:0007"
                                  << "480x480"
                                  << "EMU V1" << QStringList{"logo.jpg|480x480|0|old version not support|"}
                                  << -1;
    QTest::newRow("2 MiB logo taken on 1080x1920, device gone mid-way")
        << "1F3A:0007"
        << "1080x1920" << good << QStringList{"logo.jpg|1080x1920|2097152|Upgrade fail.|0x86"} << -1;
    QTest::newRow("33C3:0E02: 2 MiB logo refused, landscape logo taken, expansion switches")
        << "33C3:0E02"
        << "480x1920" << good
        << QStringList{"logo.jpg|480x1920|2097152|The file is too large. Please select a file smaller than "
                       "1M.|",
                       "logo.jpg|1920x480|0|Upgrade success.|0x86"}
        << 1;
    QTest::newRow("33C3:8001: firmware in 1024-byte packs, expansion does not switch")
        << "33C3:8001"
        << "480x1920" << good << QStringList{"fw.bin||5000|Upgrade success.|0x82"} << 0;
}

void TestDispSettingWidget::deviceAnswersItsVersionAndEveryUploadEndsWithAMessage()
{
    QFETCH(QString, usb);
    QFETCH(QString, panel);
    QFETCH(QString, version);
    QFETCH(QStringList, uploads);
    QFETCH(int, expansion);
    if (qEnvironmentVariableIsEmpty("PANELCAST_EMU")) {
        QSKIP("PANELCAST_EMU is not set; run through ctest");
    }
    LinkedDevice device;
    QVERIFY(device.start(panel, usb, {"--version", version}));
    dispsettingwidget page;
    QStringList messages;
    page.setMessageHandler([&messages](const QString&, const QString& text) { messages << text; });
    connect(&device.transport, &Transport::updateFirmwareState, &page, &dispsettingwidget::onUpgradeState);
    connect(&device.transport, &Transport::deviceInfo, &page, &dispsettingwidget::setDeviceVersion);
    auto* versionEdit = child<QLineEdit>(&page, "versionEdit");
    versionEdit->setText("stale");
    page.setDevice(&device.scene, &device.transport);
    QVERIFY(versionEdit->text().isEmpty());
    page.show();
    // The version query rides with the next frame; refresh asks again.
    QImage frame(QSize(device.transport.panelWidth(), device.transport.panelHeight()), QImage::Format_ARGB32);
    frame.fill(Qt::white);
    const auto sendUntil = [&](const std::function<bool()>& done) {
        QDeadlineTimer deadline(kDeviceWaitMs);
        while (!done() && !deadline.hasExpired()) {
            device.transport.send(frame);
            QTest::qWait(50);
        }
        return done();
    };
    QVERIFY(sendUntil([&] { return versionEdit->text() == version; }));
    const int queries = device.emu.commands().count("0x81");
    child<QToolButton>(&page, "refreshButton")->click();
    QVERIFY(versionEdit->text().isEmpty());
    QVERIFY(sendUntil(
        [&] { return device.emu.commands().count("0x81") > queries && versionEdit->text() == version; }));

    const QRegularExpression uploadCommand("0x8[2346789]");
    for (const QString& upload : uploads) {
        const QStringList field = upload.split('|');
        const QString name = field[0];
        const QStringList side = field[1].split('x');
        const QSize picture = side.size() == 2 ? QSize(side[0].toInt(), side[1].toInt()) : QSize();
        const QString message = field[3];
        const QString start = field[4];
        const QString path = m_dir->filePath(name);
        const bool logo = picture.isValid() || name.endsWith(".mp4");
        if (picture.isValid()) {
            QVERIFY(!writeJpeg(path, picture, field[2].toInt()).isEmpty());
        } else if (logo) {
            // A second of test pattern: a boot video of more than one pack.
            QVERIFY(!TestMedia::make(m_dir->path(), name, "testsrc=size=320x240:rate=25:duration=1",
                                     {"-pix_fmt", "yuv420p"})
                         .isEmpty());
        } else {
            QVERIFY(TestFiles::writeFile(path, QByteArray(field[2].toInt(), 'Z')));
        }
        messages.clear();
        const int sent = device.emu.commands().filter(uploadCommand).size();
        const int started = device.emu.commands().count(start);
        logo ? page.setLogoPath(path) : page.setFirmwarePath(path);
        child<QToolButton>(&page, logo ? "logoUpgrade" : "firmwareUpgrade")->click();
        if (!start.isEmpty()) {
            // Both buttons wait for the upload.
            QVERIFY(!child<QToolButton>(&page, "logoUpgrade")->isEnabled());
            QVERIFY(!child<QToolButton>(&page, "firmwareUpgrade")->isEnabled());
            QTRY_VERIFY_WITH_TIMEOUT(device.emu.commands().count(start) > started, kDeviceWaitMs);
        }
        if (message == "Upgrade fail.") {
            device.emu.stop(); // a large file takes many seconds: the upload ends by time-out
        }
        QTRY_COMPARE_WITH_TIMEOUT(messages, QStringList{message}, kDeviceWaitMs);
        QVERIFY2(child<QToolButton>(&page, "logoUpgrade")->isEnabled() &&
                     child<QToolButton>(&page, "firmwareUpgrade")->isEnabled(),
                 qPrintable(name));
        if (message == "Upgrade success.") {
            QVERIFY(logo ? page.logoPath().isEmpty() : page.firmwarePath().isEmpty());
            QVERIFY(child<QLineEdit>(&page, logo ? "logoEdit" : "firmwareEdit")->text().isEmpty());
            QCOMPARE(QFileInfo::exists(qEnvironmentVariable("PANELCAST_DATA_DIR") + "/boot_video.h264"),
                     name.endsWith(".mp4"));
        } else if (start.isEmpty()) {
            QTest::qWait(200);
            QCOMPARE(device.emu.commands().filter(uploadCommand).size(), sent);
        }
    }
    if (expansion < 0) {
        return;
    }
    // Ticking it from the device's state switches nothing.
    page.setExpansionTicked(true);
    page.setExpansionTicked(false);
    QCOMPARE(device.transport.expansionMode(), 0);
    const int frames = device.emu.commands().count("0x85");
    child<QCheckBox>(&page, "expansionBox")->setChecked(true);
    QCOMPARE(page.isVisible(), expansion == 0);
    QVERIFY(sendUntil([&] {
        return expansion == 1 ? device.emu.commands().contains("0x91")
                              : device.emu.commands().count("0x85") > frames;
    }));
    QCOMPARE(device.emu.commands().contains("0x91"), expansion == 1);
}

QTEST_MAIN(TestDispSettingWidget)
#include "tst_dispsettingwidget.moc"
