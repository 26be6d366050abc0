// The home page's device flows end to end: panelcast-emu instances on
// pseudo-terminals, published through $PANELCAST_VIRTUAL_PORTS and found by
// the page's own port scan.
#include "baseinfo.h"
#include "coloradjustwidget.h"
#include "device/ptypair.h"
#include "disphomepage.h"
#include "dispscene.h"
#include "dispsettingwidget.h"
#include "dispstandardwidgetfactory.h"
#include "dispthemelist.h"
#include "home/emudevice.h"
#include "packets.h"
#include "resourceinit.h"
#include "segparaminfo.h"
#include "segscene.h"
#include "systemportenumerator.h"
#include "themes/fakethemedialogs.h"
#include "themestorage.h"
#include "transport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGraphicsView>
#include <QJsonArray>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

constexpr int kWaitMs = 8000;

// The port of an emulator as the scan names it.
QString portOf(const TestEmulator& emu)
{
    return emu.entry().section(QLatin1Char('='), 0, 0);
}

} // namespace

class TestDispHomePage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void previewSizeKeepsTheLongerSideAt480_data();
    void previewSizeKeepsTheLongerSideAt480();
    void twoDisplaysAreListedAfterTheirSearch();
    void digitalDeviceIsListedAtOnce();
    void removingTheCurrentDisplaySwitchesToTheLastOne();
    void removingTheLastDeviceShowsThePlaceholder();
    void themeChosenAtIdentification_data();
    void themeChosenAtIdentification();
    void selectingADeviceShowsItsSceneAndThemes();
    void previewShowsTheStreamedFrame();
    void brightnessReachesEveryDisplay();
    void settingPageGetsTheCurrentDevice();
    void themeActionsWaitForASearchedDevice();
    void releaseAllDevicesStopsEveryTransport();
    void savedThemeKeepsItsAngleForTheNextStart();
    void selectionSwitchesBetweenDisplayAndDigital();
    void openingAListedThemeMakesItTheDevicesTheme();

private:
    std::unique_ptr<DispHomePage> makePage();
    bool waitForListing(QSignalSpy& spy, int count);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<DispScene> m_placeholder;
    FakeThemeDialogs* m_dialogs = nullptr;
    bool m_haveEmulator = false;
};

void TestDispHomePage::initTestCase()
{
    initPanelcastResources();
    DispStandardWidgetFactory::install();
    m_haveEmulator = !qEnvironmentVariable("PANELCAST_EMU").isEmpty();
    qputenv("PANELCAST_NO_MODAL", "1");
}

void TestDispHomePage::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("PANELCAST_DATA_DIR", (m_dir->path() + "/data").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (m_dir->path() + "/config").toLocal8Bit());
    qputenv("PANELCAST_VIRTUAL_PORTS", "");
    m_placeholder = std::make_unique<DispScene>();
    m_placeholder->setSceneSize(480, 480);
    if (!m_haveEmulator && QString(QTest::currentTestFunction()) != "previewSizeKeepsTheLongerSideAt480") {
        QSKIP("PANELCAST_EMU is not set; run through ctest");
    }
}

void TestDispHomePage::cleanup()
{
    qputenv("PANELCAST_VIRTUAL_PORTS", "");
}

std::unique_ptr<DispHomePage> TestDispHomePage::makePage()
{
    auto dialogs = std::make_unique<FakeThemeDialogs>();
    m_dialogs = dialogs.get();
    return std::make_unique<DispHomePage>(m_placeholder.get(), std::make_unique<SystemPortEnumerator>(),
                                          std::move(dialogs));
}

bool TestDispHomePage::waitForListing(QSignalSpy& spy, int count)
{
    QDeadlineTimer deadline(kWaitMs);
    while (spy.count() < count && !deadline.hasExpired()) {
        spy.wait(int(qMax<qint64>(1, deadline.remainingTime())));
    }
    return spy.count() >= count;
}

void TestDispHomePage::previewSizeKeepsTheLongerSideAt480_data()
{
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QSize>("preview");
    QTest::newRow("480x480 unchanged") << QSize(480, 480) << QSize(480, 480);
    QTest::newRow("320x240 unchanged") << QSize(320, 240) << QSize(320, 240);
    QTest::newRow("320x960 tall") << QSize(320, 960) << QSize(160, 480);
    QTest::newRow("480x1920 tall") << QSize(480, 1920) << QSize(120, 480);
    QTest::newRow("462x1920 truncated") << QSize(462, 1920) << QSize(115, 480);
    QTest::newRow("800x480 wide") << QSize(800, 480) << QSize(480, 288);
    QTest::newRow("1920x1080 wide") << QSize(1920, 1080) << QSize(480, 270);
}

void TestDispHomePage::previewSizeKeepsTheLongerSideAt480()
{
    QFETCH(QSize, frame);
    QFETCH(QSize, preview);
    QCOMPARE(DispHomePage::previewSize(frame), preview);
}

void TestDispHomePage::twoDisplaysAreListedAfterTheirSearch()
{
    TestEmulator first;
    TestEmulator second;
    QVERIFY2(first.start("480x480", "1F3A:0007"), qPrintable(first.errorText()));
    QVERIFY2(second.start("360x960", "1F3A:0007"), qPrintable(second.errorText()));
    TestEmulator::publish({&first, &second});

    auto page = makePage();
    QSignalSpy listed(page.get(), &DispHomePage::updateDeviceList);
    QVERIFY(waitForListing(listed, 2));

    QCOMPARE(page->displayDevices().size(), size_t(2));
    QSet<QString> ports;
    QSet<QString> sizes;
    for (const QList<QVariant>& call : listed) {
        QCOMPARE(call.at(0).toBool(), true);
        ports << call.at(1).toString();
        sizes << QStringLiteral("%1x%2").arg(call.at(2).toInt()).arg(call.at(3).toInt());
    }
    QCOMPARE(ports, (QSet<QString>{portOf(first), portOf(second)}));
    QCOMPARE(sizes, (QSet<QString>{"480x480", "360x960"}));

    // Each display has its own scene and transport thread, sized as reported.
    const DisplayDeviceContext* a = page->displayDevices().at(0).get();
    const DisplayDeviceContext* b = page->displayDevices().at(1).get();
    QVERIFY(a->scene != b->scene);
    QVERIFY(a->transport() != b->transport());
    QVERIFY(a->transport()->isRunning() && b->transport()->isRunning());
    for (const DisplayDeviceContext* context : {a, b}) {
        QCOMPARE(context->scene->sceneRect().size().toSize(), QSize(context->width, context->height));
        QCOMPARE(context->personalLibrary,
                 ThemeStorage::libraryFolder(context->width, context->height, true));
    }
    // The last one to answer is the current device.
    const QString lastPort = listed.last().at(1).toString();
    QCOMPARE(page->currentDisplay()->port, lastPort);
    QCOMPARE(page->currentScene(), page->currentDisplay()->scene);
}

void TestDispHomePage::digitalDeviceIsListedAtOnce()
{
    TestEmulator digital;
    QVERIFY2(digital.start(QString(), "1A86:FE00", {"--family", "digital"}), qPrintable(digital.errorText()));
    TestEmulator::publish({&digital});

    auto page = makePage();
    QSignalSpy listed(page.get(), &DispHomePage::updateDeviceList);
    QVERIFY(waitForListing(listed, 1));
    QCOMPARE(listed.first(), (QList<QVariant>{true, portOf(digital), 0, 0}));
    QCOMPARE(page->digitalDevices().size(), size_t(1));
    QVERIFY(page->displayDevices().empty());
    QVERIFY(page->currentDigital() != nullptr);
    QCOMPARE(page->findChild<QTabWidget*>("rightTabs")->currentIndex(), 0);
    QCOMPARE(page->findChild<QGraphicsView*>("homeView")->scene(), page->segmentScene());
    // No search packet goes to a seven-segment panel.
    QTest::qWait(300);
    QVERIFY(!digital.commands().contains("0x90"));

    // The effects panel edits the current device, which lights up in that colour.
    page->effectsPanel()->setCurrentParam(SegEffectParams::Static, 1, 0x00FF00, 100,
                                          SegEffectParams::MonitorCpu, 0.0);
    QCOMPARE(page->currentDigital()->info->params().color, 0x00FF00u);
    auto litGreen = [&digital] {
        for (const QJsonObject& entry : digital.log()) {
            if (entry.value("colours").toArray().contains(QJsonValue("#00FF00"))) {
                return true;
            }
        }
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(litGreen(), kWaitMs);

    // Unplugged: unlisted with the digital size.
    digital.stop();
    QVERIFY(waitForListing(listed, 2));
    QCOMPARE(listed.at(1), (QList<QVariant>{false, portOf(digital), 0, 0}));
    QVERIFY(page->digitalDevices().empty());
    QVERIFY(page->currentDigital() == nullptr);
}

void TestDispHomePage::removingTheCurrentDisplaySwitchesToTheLastOne()
{
    TestEmulator first;
    QVERIFY2(first.start("480x480", "1F3A:0007"), qPrintable(first.errorText()));
    TestEmulator::publish({&first});
    auto page = makePage();
    QSignalSpy listed(page.get(), &DispHomePage::updateDeviceList);
    QVERIFY(waitForListing(listed, 1));

    TestEmulator second;
    QVERIFY2(second.start("480x1920", "33C3:0E02"), qPrintable(second.errorText()));
    TestEmulator::publish({&first, &second});
    QVERIFY(waitForListing(listed, 2));
    QCOMPARE(page->currentDisplay()->port, portOf(second));
    Transport* removedTransport = page->currentDisplay()->transport();
    QSignalSpy finished(removedTransport, &QThread::finished);

    second.stop();
    QVERIFY(waitForListing(listed, 3));
    QCOMPARE(listed.at(2), (QList<QVariant>{false, portOf(second), 480, 1920}));
    QCOMPARE(finished.count(), 1); // stopped before its context went away
    QCOMPARE(page->displayDevices().size(), size_t(1));
    QVERIFY(page->currentDisplay() != nullptr);
    QCOMPARE(page->currentDisplay()->port, portOf(first));
    QCOMPARE(page->currentScene(), page->currentDisplay()->scene);
    QCOMPARE(page->findChild<QGraphicsView*>("homeView")->scene(), page->currentDisplay()->scene);
    QCOMPARE(page->themeStorage()->personalLibrary(), ThemeStorage::libraryFolder(480, 480, true));
}

void TestDispHomePage::removingTheLastDeviceShowsThePlaceholder()
{
    TestEmulator only;
    QVERIFY2(only.start("320x240", "0D28:CCDD"), qPrintable(only.errorText()));
    TestEmulator::publish({&only});
    auto page = makePage();
    QSignalSpy listed(page.get(), &DispHomePage::updateDeviceList);
    QVERIFY(waitForListing(listed, 1));

    only.stop();
    QVERIFY(waitForListing(listed, 2));
    QCOMPARE(listed.at(1), (QList<QVariant>{false, portOf(only), 320, 240}));
    QVERIFY(page->currentDisplay() == nullptr);
    QCOMPARE(page->currentScene(), m_placeholder.get());
    QVERIFY(!page->themeStorage()->hasDevice());
    QVERIFY(page->personalThemeList()->themeRecords().isEmpty());
}

void TestDispHomePage::themeChosenAtIdentification_data()
{
    QTest::addColumn<QStringList>("personalThemes");
    QTest::addColumn<QString>("storedTheme"); // name, "gone" for a deleted theme, empty for none
    QTest::addColumn<QString>("expectedTheme");

    QTest::newRow("stored theme") << QStringList{"alpha", "beta"} << "beta"
                                  << "beta";
    QTest::newRow("stored theme deleted: first personal") << QStringList{"alpha"} << "gone"
                                                          << "alpha";
    QTest::newRow("nothing stored: first personal") << QStringList{"alpha"} << QString() << "alpha";
    QTest::newRow("no themes at all: empty") << QStringList{} << QString() << QString();
    QTest::newRow("stored theme deleted, no others") << QStringList{} << "gone" << QString();
}

void TestDispHomePage::themeChosenAtIdentification()
{
    QFETCH(QStringList, personalThemes);
    QFETCH(QString, storedTheme);
    QFETCH(QString, expectedTheme);

    const QString personal = ThemeStorage::libraryFolder(480, 480, true);
    {
        FakeThemeDialogs dialogs;
        ThemeStorage writer(&dialogs);
        writer.setDevice(480, 480, QString());
        for (const QString& name : personalThemes) {
            QVERIFY(writer.saveTheme(personal + "/" + name));
        }
    }
    auto themeFile = [&](const QString& name) { return personal + "/theme_" + name + "/" + name + ".theme"; };
    if (!storedTheme.isEmpty()) {
        BaseInfo::setThemePath(BaseInfo::sizeGroup(480, 480), themeFile(storedTheme));
    }

    TestEmulator emu;
    QVERIFY2(emu.start("480x480", "1F3A:0007"), qPrintable(emu.errorText()));
    TestEmulator::publish({&emu});
    auto page = makePage();
    QSignalSpy listed(page.get(), &DispHomePage::updateDeviceList);
    QVERIFY(waitForListing(listed, 1));

    const DisplayDeviceContext* context = page->currentDisplay();
    QVERIFY(context != nullptr);
    auto* nameEdit = page->findChild<QLineEdit*>("themeNameEdit");
    if (expectedTheme.isEmpty()) {
        QVERIFY(context->themePath.isEmpty());
        QVERIFY(nameEdit->text().isEmpty());
    } else {
        QCOMPARE(context->themePath, themeFile(expectedTheme));
        QCOMPARE(nameEdit->text(), expectedTheme);
        QCOMPARE(page->themeStorage()->currentThemePath(), themeFile(expectedTheme));
    }
    QCOMPARE(page->personalThemeList()->themeRecords().size(), personalThemes.size());
    // No message box at start-up.
    QVERIFY2(m_dialogs->messages.isEmpty(), qPrintable(m_dialogs->messages.join(", ")));
}

void TestDispHomePage::selectingADeviceShowsItsSceneAndThemes()
{
    const QString personal = ThemeStorage::libraryFolder(480, 480, true);
    {
        FakeThemeDialogs dialogs;
        ThemeStorage writer(&dialogs);
        writer.setDevice(480, 480, QString());
        QVERIFY(writer.saveTheme(personal + "/square"));
        writer.setDevice(480, 1920, QString());
        QVERIFY(writer.saveTheme(ThemeStorage::libraryFolder(480, 1920, true) + "/tallone"));
    }
    TestEmulator square;
    TestEmulator tall;
    QVERIFY2(square.start("480x480", "1F3A:0007"), qPrintable(square.errorText()));
    TestEmulator::publish({&square});
    auto page = makePage();
    QSignalSpy listed(page.get(), &DispHomePage::updateDeviceList);
    QVERIFY(waitForListing(listed, 1));
    QVERIFY2(tall.start("480x1920", "1F3A:0007"), qPrintable(tall.errorText()));
    TestEmulator::publish({&square, &tall});
    QVERIFY(waitForListing(listed, 2));
    QCOMPARE(page->currentDisplay()->port, portOf(tall));
    QCOMPARE(page->findChild<QLineEdit*>("themeNameEdit")->text(), QString("tallone"));

    DispScene* tallScene = page->currentScene();
    tallScene->addTextWidget(QString(), QPointF(10, 10));
    const int tallItems = tallScene->items().size();
    QVERIFY(tallItems > 0);

    page->updateSelectDevice(portOf(square), true);
    QCOMPARE(page->currentDisplay()->port, portOf(square));
    QCOMPARE(page->findChild<QGraphicsView*>("homeView")->scene(), page->currentDisplay()->scene);
    QCOMPARE(page->personalThemeList()->themeRecords().size(), 1);
    QCOMPARE(page->findChild<QLineEdit*>("themeNameEdit")->text(), QString("square"));

    // An unknown port changes nothing.
    page->updateSelectDevice("/nowhere", true);
    QCOMPARE(page->currentDisplay()->port, portOf(square));

    // Back to the tall display: what was placed on its scene is still there.
    page->updateSelectDevice(portOf(tall), true);
    QCOMPARE(page->currentScene(), tallScene);
    QCOMPARE(tallScene->items().size(), tallItems);
}

void TestDispHomePage::previewShowsTheStreamedFrame()
{
    TestEmulator tall;
    QVERIFY2(tall.start("480x1920", "1F3A:0007"), qPrintable(tall.errorText()));
    TestEmulator::publish({&tall});
    auto page = makePage();
    QSignalSpy listed(page.get(), &DispHomePage::updateDeviceList);
    QVERIFY(waitForListing(listed, 1));

    // A red square at the scene's top left shows in the preview, scaled by a quarter.
    page->currentScene()->addRect(0, 0, 240, 240, Qt::NoPen, QBrush(Qt::red));
    QTRY_VERIFY_WITH_TIMEOUT(page->previewImage().size() == QSize(120, 480) &&
                                 page->previewImage().pixelColor(20, 20) == QColor(Qt::red),
                             kWaitMs);
    const QImage preview = page->previewImage();
    QCOMPARE(preview.pixelColor(100, 400), QColor(Qt::white));

    // The same frames reach the device and decode there.
    QTRY_VERIFY_WITH_TIMEOUT(tall.decodedFrames() >= 3, kWaitMs);
}

void TestDispHomePage::brightnessReachesEveryDisplay()
{
    TestEmulator first;
    TestEmulator second;
    QVERIFY2(first.start("480x480", "1F3A:0007"), qPrintable(first.errorText()));
    QVERIFY2(second.start("320x480", "33C3:8001"), qPrintable(second.errorText()));
    TestEmulator::publish({&first, &second});
    auto page = makePage();
    QSignalSpy listed(page.get(), &DispHomePage::updateDeviceList);
    QVERIFY(waitForListing(listed, 2));

    page->settingPage()->findChild<QSlider*>("brightnessSlider")->setValue(37);
    QCOMPARE(BaseInfo::brightness(), 37);
    for (const TestEmulator* emu : {&first, &second}) {
        QVERIFY(emu->waitForCommand("0x80"));
        QCOMPARE(emu->payloads("0x80"), QStringList{"5e"}); // 37 * 255 / 100 = 94
    }
}

void TestDispHomePage::settingPageGetsTheCurrentDevice()
{
    TestEmulator emu;
    QVERIFY2(emu.start("480x1920", "33C3:0E02", {"--mode", "1"}), qPrintable(emu.errorText()));
    TestEmulator::publish({&emu});
    auto page = makePage();
    QSignalSpy listed(page.get(), &DispHomePage::updateDeviceList);
    QVERIFY(waitForListing(listed, 1));

    page->openSettingPage();
    dispsettingwidget* settings = page->settingPage();
    QVERIFY(settings->isVisible());
    QCOMPARE(settings->transport(), page->currentDisplay()->transport());
    // The mode byte of the search reply ticks Expansion Screen Mode.
    QVERIFY(settings->findChild<QCheckBox*>("expansionBox")->isChecked());
    // The version query goes out and its answer fills the field.
    auto* version = settings->findChild<QLineEdit*>("versionEdit");
    QTRY_VERIFY_WITH_TIMEOUT(version->text().contains("Dovaz Ezovava Ruviro"), kWaitMs);
    settings->hide();
}

void TestDispHomePage::themeActionsWaitForASearchedDevice()
{
    // A port that never answers the search: a context exists, but no theme action runs.
    PtyPair silent;
    QVERIFY(silent.isValid());
    qputenv("PANELCAST_VIRTUAL_PORTS", (silent.slavePath() + "=1F3A:0007").toLocal8Bit());
    auto page = makePage();
    QTRY_COMPARE_WITH_TIMEOUT(page->displayDevices().size(), size_t(1), kWaitMs);
    QTest::qWait(300);
    QVERIFY(page->currentDisplay() == nullptr);

    page->findChild<QLineEdit*>("themeNameEdit")->setText("early");
    page->findChild<QToolButton*>("saveButton")->click();
    page->findChild<QToolButton*>("exportButton")->click();
    page->findChild<QToolButton*>("importButton")->click();
    QVERIFY2(m_dialogs->messages.isEmpty(), qPrintable(m_dialogs->messages.join(", ")));
    QVERIFY(!QDir(qEnvironmentVariable("PANELCAST_DATA_DIR") + "/themes").exists());
    // The search went out and nothing else: no frames before the panel size is known.
    QCOMPARE(silent.drainFromHost(200), Packets::search());
}

void TestDispHomePage::releaseAllDevicesStopsEveryTransport()
{
    TestEmulator first;
    TestEmulator second;
    QVERIFY2(first.start("480x480", "1F3A:0007"), qPrintable(first.errorText()));
    QVERIFY2(second.start("480x480", "1F3A:0007"), qPrintable(second.errorText()));
    TestEmulator::publish({&first, &second});
    auto page = makePage();
    QSignalSpy listed(page.get(), &DispHomePage::updateDeviceList);
    QVERIFY(waitForListing(listed, 2));
    QList<QPointer<Transport>> transports;
    for (const auto& context : page->displayDevices()) {
        transports << QPointer<Transport>(context->transport());
    }

    page->releaseAllDevices();
    QVERIFY(page->displayDevices().empty());
    QVERIFY(page->currentDisplay() == nullptr);
    for (const QPointer<Transport>& transport : transports) {
        QVERIFY(transport.isNull());
    }
    QCOMPARE(page->currentScene(), m_placeholder.get());
}

void TestDispHomePage::savedThemeKeepsItsAngleForTheNextStart()
{
    TestEmulator emu;
    QVERIFY2(emu.start("320x480", "1F3A:0007"), qPrintable(emu.errorText()));
    TestEmulator::publish({&emu});
    const QString themeFile = ThemeStorage::libraryFolder(320, 480, true) + "/theme_mine/mine.theme";
    {
        auto page = makePage();
        QSignalSpy listed(page.get(), &DispHomePage::updateDeviceList);
        QVERIFY(waitForListing(listed, 1));
        auto* angle = page->findChild<QComboBox*>("angleBox");
        angle->setCurrentIndex(1);
        QCOMPARE(page->currentScene()->rotation(), 1);
        // A quarter turn lays the scene out the other way round; the device keeps its size.
        QCOMPARE(page->currentScene()->sceneRect().size().toSize(), QSize(480, 320));

        page->findChild<QLineEdit*>("themeNameEdit")->setText("mine");
        page->findChild<QWidget*>("themeActions")->findChild<QToolButton*>("saveButton")->click();
        QCOMPARE(m_dialogs->messages, QStringList{"Information|Save Finish"});
        QVERIFY(QFileInfo(themeFile).isFile());
        QCOMPARE(BaseInfo::themePath(BaseInfo::sizeGroup(320, 480)), themeFile);
        QCOMPARE(page->currentDisplay()->themePath, themeFile);
        QCOMPARE(page->personalThemeList()->themeRecords().size(), 1);

        // The turned picture reaches the device upright for the panel: 320 x 480.
        QTRY_VERIFY_WITH_TIMEOUT(emu.decodedFrames() >= 2, kWaitMs);
    }

    // Next start: the stored theme is opened with its angle.
    m_dialogs = nullptr;
    auto page = makePage();
    QSignalSpy listed(page.get(), &DispHomePage::updateDeviceList);
    QVERIFY(waitForListing(listed, 1));
    QCOMPARE(page->currentDisplay()->themePath, themeFile);
    QCOMPARE(page->findChild<QLineEdit*>("themeNameEdit")->text(), QString("mine"));
    QCOMPARE(page->findChild<QComboBox*>("angleBox")->currentIndex(), 1);
    QCOMPARE(page->currentScene()->rotation(), 1);
    QCOMPARE(page->currentScene()->sceneRect().size().toSize(), QSize(480, 320));
}

void TestDispHomePage::selectionSwitchesBetweenDisplayAndDigital()
{
    TestEmulator display;
    TestEmulator digital;
    QVERIFY2(display.start("480x480", "1F3A:0007"), qPrintable(display.errorText()));
    QVERIFY2(digital.start(QString(), "1A86:FE00", {"--family", "digital"}), qPrintable(digital.errorText()));
    TestEmulator::publish({&display, &digital});
    auto page = makePage();
    QSignalSpy listed(page.get(), &DispHomePage::updateDeviceList);
    QVERIFY(waitForListing(listed, 2));
    auto* view = page->findChild<QGraphicsView*>("homeView");
    auto* tabs = page->findChild<QTabWidget*>("rightTabs");

    page->updateSelectDevice(portOf(display), true);
    QCOMPARE(view->scene(), page->currentDisplay()->scene);
    QCOMPARE(tabs->currentIndex(), 1);
    QVERIFY(page->currentDigital() == nullptr);

    page->updateSelectDevice(portOf(digital), false);
    QCOMPARE(view->scene(), page->segmentScene());
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(page->findChild<QWidget*>("themeActions")->isHidden());
    QCOMPARE(page->currentDigital()->port, portOf(digital));

    // Removing the digital device falls back to the display.
    digital.stop();
    QVERIFY(waitForListing(listed, 3));
    QCOMPARE(listed.at(2), (QList<QVariant>{false, portOf(digital), 0, 0}));
    QCOMPARE(view->scene(), page->currentDisplay()->scene);
    QCOMPARE(tabs->currentIndex(), 1);
    QVERIFY(!page->findChild<QWidget*>("themeActions")->isHidden());
}

void TestDispHomePage::openingAListedThemeMakesItTheDevicesTheme()
{
    const QString personal = ThemeStorage::libraryFolder(480, 480, true);
    {
        FakeThemeDialogs dialogs;
        ThemeStorage writer(&dialogs);
        writer.setDevice(480, 480, QString());
        QVERIFY(writer.saveTheme(personal + "/alpha"));
        QVERIFY(writer.saveTheme(personal + "/beta"));
    }
    TestEmulator emu;
    QVERIFY2(emu.start("480x480", "1F3A:0007"), qPrintable(emu.errorText()));
    TestEmulator::publish({&emu});
    auto page = makePage();
    QSignalSpy listed(page.get(), &DispHomePage::updateDeviceList);
    QVERIFY(waitForListing(listed, 1));

    const QString current = page->currentDisplay()->themePath;
    const QString other = current.endsWith("alpha.theme") ? "beta" : "alpha";
    const QString otherFile = personal + "/theme_" + other + "/" + other + ".theme";
    QListWidget* items = page->personalThemeList()->listWidget();
    const QList<QListWidgetItem*> found = items->findItems(other, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    emit items->itemDoubleClicked(found.first());

    QCOMPARE(page->currentDisplay()->themePath, otherFile);
    QCOMPARE(page->findChild<QLineEdit*>("themeNameEdit")->text(), other);
    QCOMPARE(BaseInfo::themePath(BaseInfo::sizeGroup(480, 480)), otherFile);
    // The open theme may not be deleted from its list.
    QCOMPARE(page->personalThemeList()->openThemeName(), other);
}

QTEST_MAIN(TestDispHomePage)
#include "tst_disphomepage.moc"
