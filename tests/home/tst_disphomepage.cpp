// The home page's device flows end to end: panelcast-emu instances on
// pseudo-terminals, published through $PANELCAST_VIRTUAL_PORTS and found by
// the page's own port scan.
#include "baseinfo.h"
#include "coloradjustwidget.h"
#include "dispbackgroundbox.h"
#include "dispclippingwidget.h"
#include "dispcustomtextbox.h"
#include "dispdatewidget.h"
#include "disphomepage.h"
#include "dispiconbox.h"
#include "dispimagewidget.h"
#include "dispnumberwidget.h"
#include "dispscene.h"
#include "dispsettingwidget.h"
#include "dispstandardwidgetfactory.h"
#include "dispsysteminfobox.h"
#include "disptextwidget.h"
#include "dispthemelist.h"
#include "disptimebox.h"
#include "dispvideodecoder.h"
#include "editorpanels.h"
#include "fakethemedialogs.h"
#include "packets.h"
#include "pixels.h"
#include "ptypair.h"
#include "resourceinit.h"
#include "segparaminfo.h"
#include "segscene.h"
#include "systemportenumerator.h"
#include "testemulator.h"
#include "testmedia.h"
#include "themestorage.h"
#include "themetags.h"
#include "themetext.h"
#include "transport.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
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

QString themeFile(const QString& library, const QString& name)
{
    return library + "/theme_" + name + "/" + name + ".theme";
}

// Saves empty themes of the given names in the personal library of a size.
bool writeThemes(int width, int height, const QStringList& names)
{
    FakeThemeDialogs dialogs;
    ThemeStorage writer(&dialogs);
    EditorPanels panels{PanelEnvironment()};
    panels.installInto(writer);
    writer.setDevice(width, height, QString());
    for (const QString& name : names) {
        if (!writer.saveTheme(ThemeStorage::libraryFolder(width, height, true) + "/" + name))
            return false;
    }
    return true;
}

} // namespace

#define START(emu, ...) QVERIFY2((emu).start(__VA_ARGS__), qPrintable((emu).errorText()))

class TestDispHomePage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void previewSizeKeepsTheLongerSideAt480_data();
    void previewSizeKeepsTheLongerSideAt480();
    void displaysAndDigitalAreListedSelectedAndReleased();
    void themeChosenAtIdentification_data();
    void themeChosenAtIdentification();
    void selectingADeviceShowsItsSceneAndThemesUntilUnplugged();
    void themeActionsWaitForASearchedDevice();
    void panelItemsReachTheDeviceInTheirColoursAndASavedAngleIsKept();
    void mediaThemeIsClippedSavedOnceAndReopensPlaying();

private:
    // Builds the page over the published emulators; true once count devices are listed.
    bool openPage(int count);
    bool waitForListing(int count);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<DispScene> m_placeholder;
    std::unique_ptr<DispHomePage> m_page;
    std::unique_ptr<QSignalSpy> m_listed;
    FakeThemeDialogs* m_dialogs = nullptr;
};

void TestDispHomePage::initTestCase()
{
    initPanelcastResources();
    DispStandardWidgetFactory::install();
    qputenv("PANELCAST_NO_MODAL", "1");
}

void TestDispHomePage::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("PANELCAST_DATA_DIR", (m_dir->path() + "/data").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (m_dir->path() + "/config").toLocal8Bit());
    qputenv("PANELCAST_VIRTUAL_PORTS", "");
    qputenv("PANELCAST_OFFICIAL_THEMES", (m_dir->path() + "/shipped").toLocal8Bit());
    m_placeholder = std::make_unique<DispScene>();
    m_placeholder->setSceneSize(480, 480);
    if (qEnvironmentVariableIsEmpty("PANELCAST_EMU") &&
        QString(QTest::currentTestFunction()) != "previewSizeKeepsTheLongerSideAt480")
        QSKIP("PANELCAST_EMU is not set; run through ctest");
}

void TestDispHomePage::cleanup()
{
    m_listed.reset();
    m_page.reset();
    qputenv("PANELCAST_VIRTUAL_PORTS", "");
}

bool TestDispHomePage::openPage(int count)
{
    m_listed.reset();
    m_page.reset();
    auto dialogs = std::make_unique<FakeThemeDialogs>();
    m_dialogs = dialogs.get();
    m_page = std::make_unique<DispHomePage>(m_placeholder.get(), std::make_unique<SystemPortEnumerator>(),
                                            std::move(dialogs));
    m_listed = std::make_unique<QSignalSpy>(m_page.get(), &DispHomePage::updateDeviceList);
    return waitForListing(count);
}

bool TestDispHomePage::waitForListing(int count)
{
    QDeadlineTimer deadline(kWaitMs);
    while (m_listed->count() < count && !deadline.hasExpired())
        m_listed->wait(int(qMax<qint64>(1, deadline.remainingTime())));
    return m_listed->count() >= count;
}

void TestDispHomePage::previewSizeKeepsTheLongerSideAt480_data()
{
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QSize>("preview");
    QTest::newRow("320x240 unchanged") << QSize(320, 240) << QSize(320, 240);
    QTest::newRow("320x960 tall") << QSize(320, 960) << QSize(160, 480);
    QTest::newRow("462x1920 truncated") << QSize(462, 1920) << QSize(115, 480);
    QTest::newRow("800x480 wide") << QSize(800, 480) << QSize(480, 288);
}

void TestDispHomePage::previewSizeKeepsTheLongerSideAt480()
{
    QFETCH(QSize, frame);
    QFETCH(QSize, preview);
    QCOMPARE(DispHomePage::previewSize(frame), preview);
}

void TestDispHomePage::displaysAndDigitalAreListedSelectedAndReleased()
{
    TestEmulator first;
    TestEmulator second;
    TestEmulator digital;
    START(first, "480x480", "1F3A:0007");
    START(second, "360x960", "33C3:8001");
    START(digital, QString(), "1A86:FE00", {"--family", "digital"});
    TestEmulator::publish({&first, &second, &digital});
    QVERIFY(openPage(3));

    QCOMPARE(m_page->displayDevices().size(), size_t(2));
    QCOMPARE(m_page->digitalDevices().size(), size_t(1));
    QSet<QString> listings;
    QString lastDisplay;
    for (const QList<QVariant>& call : *m_listed) {
        listings << QStringLiteral("%1 %2 %3x%4")
                        .arg(call.at(0).toBool())
                        .arg(call.at(1).toString())
                        .arg(call.at(2).toInt())
                        .arg(call.at(3).toInt());
        lastDisplay = call.at(2).toInt() > 0 ? call.at(1).toString() : lastDisplay;
    }
    QCOMPARE(listings, (QSet<QString>{"1 " + portOf(first) + " 480x480", "1 " + portOf(second) + " 360x960",
                                      "1 " + portOf(digital) + " 0x0"}));

    // Each display has its own scene and transport thread, sized as reported.
    const DisplayDeviceContext* a = m_page->displayDevices().at(0).get();
    const DisplayDeviceContext* b = m_page->displayDevices().at(1).get();
    QVERIFY(a->scene != b->scene);
    QVERIFY(a->transport() != b->transport());
    for (const DisplayDeviceContext* context : {a, b}) {
        QVERIFY(context->transport()->isRunning());
        QCOMPARE(context->scene->sceneRect().size().toSize(), QSize(context->width, context->height));
        QCOMPARE(context->personalLibrary,
                 ThemeStorage::libraryFolder(context->width, context->height, true));
    }
    // The last display to answer is the current device.
    QCOMPARE(m_page->currentDisplay()->port, lastDisplay);
    QCOMPARE(m_page->currentScene(), m_page->currentDisplay()->scene);

    // Brightness reaches every display.
    m_page->settingPage()->findChild<QSlider*>("brightnessSlider")->setValue(37);
    QCOMPARE(BaseInfo::brightness(), 37);
    for (const TestEmulator* emu : {&first, &second}) {
        QVERIFY(emu->waitForCommand("0x80"));
        QCOMPARE(emu->payloads("0x80"), QStringList{"5e"}); // 37 * 255 / 100 = 94
    }

    // Selection switches the view and the tabs between a display and the digital panel.
    auto* view = m_page->findChild<QGraphicsView*>("homeView");
    auto* tabs = m_page->findChild<QTabWidget*>("rightTabs");
    m_page->updateSelectDevice(portOf(first), true);
    QCOMPARE(m_page->currentDisplay()->port, portOf(first));
    QCOMPARE(view->scene(), m_page->currentDisplay()->scene);
    QCOMPARE(tabs->currentIndex(), 1);
    QVERIFY(m_page->currentDigital() == nullptr);

    m_page->updateSelectDevice(portOf(digital), false);
    QCOMPARE(view->scene(), m_page->segmentScene());
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(m_page->findChild<QWidget*>("themeActions")->isHidden());
    QCOMPARE(m_page->currentDigital()->port, portOf(digital));

    // The effects panel edits the current device, which lights up in that colour.
    m_page->effectsPanel()->setCurrentParam(SegEffectParams::Static, 1, 0x00FF00, 100,
                                            SegEffectParams::MonitorCpu, 0.0);
    QCOMPARE(m_page->currentDigital()->info->params().color, 0x00FF00u);
    auto litGreen = [&digital] {
        for (const QJsonObject& entry : digital.log()) {
            if (entry.value("colours").toArray().contains(QJsonValue("#00FF00")))
                return true;
        }
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(litGreen(), kWaitMs);
    // No search packet goes to a seven-segment panel.
    QVERIFY(!digital.commands().contains("0x90"));

    // Removing the digital device falls back to the display.
    digital.stop();
    QVERIFY(waitForListing(4));
    QCOMPARE(m_listed->at(3), (QList<QVariant>{false, portOf(digital), 0, 0}));
    QVERIFY(m_page->digitalDevices().empty());
    QVERIFY(m_page->currentDigital() == nullptr);
    QCOMPARE(view->scene(), m_page->currentDisplay()->scene);
    QCOMPARE(tabs->currentIndex(), 1);
    QVERIFY(!m_page->findChild<QWidget*>("themeActions")->isHidden());

    // Releasing all stops every transport and shows the placeholder.
    QList<QPointer<Transport>> transports{a->transport(), b->transport()};
    m_page->releaseAllDevices();
    QVERIFY(m_page->displayDevices().empty());
    QVERIFY(m_page->currentDisplay() == nullptr);
    for (const QPointer<Transport>& transport : transports)
        QVERIFY(transport.isNull());
    QCOMPARE(m_page->currentScene(), m_placeholder.get());
}

void TestDispHomePage::themeChosenAtIdentification_data()
{
    QTest::addColumn<QString>("storedTheme"); // name, "gone" for a deleted theme, empty for none
    QTest::addColumn<QStringList>("personalThemes");
    QTest::addColumn<QStringList>("officialThemes");
    QTest::addColumn<QString>("expectedTheme"); // "P/name" personal, "O/name" official, empty for none
    QTest::newRow("stored theme") << "beta" << QStringList{"alpha", "beta"} << QStringList{} << "P/beta";
    QTest::newRow("stored theme deleted: first personal")
        << "gone" << QStringList{"alpha"} << QStringList{} << "P/alpha";
    QTest::newRow("no themes at all: empty") << QString() << QStringList{} << QStringList{} << QString();
    QTest::newRow("stored theme deleted, no others") << "gone" << QStringList{} << QStringList{} << QString();
    QTest::newRow("first display of a size: first official by name")
        << QString() << QStringList{} << QStringList{"Cobalt", "Amber"} << "O/Amber";
}

void TestDispHomePage::themeChosenAtIdentification()
{
    QFETCH(QStringList, personalThemes);
    QFETCH(QStringList, officialThemes);
    QFETCH(QString, storedTheme);
    QFETCH(QString, expectedTheme);
    const QString personal = ThemeStorage::libraryFolder(480, 480, true);
    QVERIFY(writeThemes(480, 480, personalThemes));
    if (!storedTheme.isEmpty())
        BaseInfo::setThemePath(BaseInfo::sizeGroup(480, 480), themeFile(personal, storedTheme));
    // Shipped themes, each of two texts.
    for (const QString& name : officialThemes) {
        QFile golden(qEnvironmentVariable("PANELCAST_TEST_DATA") + "/themes/text/customText.json");
        QVERIFY(golden.open(QIODevice::ReadOnly));
        QString error;
        QVERIFY2(!ThemeText::buildThemeFolder(QJsonDocument::fromJson(golden.readAll()).object(), name,
                                              QString(), m_dir->path() + "/shipped/480480/official", error)
                      .isEmpty(),
                 qPrintable(error));
    }

    TestEmulator emu;
    START(emu, "480x480", "1F3A:0007");
    TestEmulator::publish({&emu});
    QVERIFY(openPage(1));
    const DisplayDeviceContext* context = m_page->currentDisplay();
    QVERIFY(context != nullptr);
    const bool official = expectedTheme.startsWith("O/");
    const QString name = expectedTheme.mid(2);
    const QString expectedFile =
        name.isEmpty() ? QString() : themeFile(ThemeStorage::libraryFolder(480, 480, !official), name);
    QCOMPARE(context->themePath, expectedFile);
    QCOMPARE(m_page->findChild<QLineEdit*>("themeNameEdit")->text(), name);
    if (!name.isEmpty())
        QCOMPARE(m_page->themeStorage()->currentThemePath(), expectedFile);
    QCOMPARE(m_page->personalThemeList()->themeRecords().size(), personalThemes.size());
    QCOMPARE(m_page->officialThemeList()->themeRecords().size(), officialThemes.size());
    QCOMPARE(m_page->currentScene()->textWidgets().size(), official ? 2 : 0);
    // No message box at start-up.
    QVERIFY2(m_dialogs->messages.isEmpty(), qPrintable(m_dialogs->messages.join(", ")));
}

void TestDispHomePage::selectingADeviceShowsItsSceneAndThemesUntilUnplugged()
{
    const QString personal = ThemeStorage::libraryFolder(480, 480, true);
    QVERIFY(writeThemes(480, 480, {"alpha", "beta"}));
    QVERIFY(writeThemes(480, 1920, {"tallone"}));
    TestEmulator square;
    TestEmulator tall;
    START(square, "480x480", "1F3A:0007");
    TestEmulator::publish({&square});
    QVERIFY(openPage(1));
    START(tall, "480x1920", "1F3A:0007");
    TestEmulator::publish({&square, &tall});
    QVERIFY(waitForListing(2));
    QCOMPARE(m_page->currentDisplay()->port, portOf(tall));
    auto* nameEdit = m_page->findChild<QLineEdit*>("themeNameEdit");
    QCOMPARE(nameEdit->text(), QString("tallone"));

    // A red square at the scene's top left shows in the preview, scaled by a
    // quarter, once the page is on screen: a hidden page draws no preview.
    DispScene* tallScene = m_page->currentScene();
    tallScene->addRect(0, 0, 240, 240, Qt::NoPen, QBrush(Qt::red));
    QTRY_VERIFY_WITH_TIMEOUT(!tallScene->deviceFrame().isNull(), kWaitMs);
    m_page->updateFrame();
    QVERIFY(m_page->previewImage().isNull());
    m_page->show();
    QTRY_VERIFY_WITH_TIMEOUT(m_page->previewImage().size() == QSize(120, 480) &&
                                 m_page->previewImage().pixelColor(20, 20) == QColor(Qt::red),
                             kWaitMs);
    QCOMPARE(m_page->previewImage().pixelColor(100, 400), QColor(Qt::white));
    // The same frames reach the device and decode there.
    QTRY_VERIFY_WITH_TIMEOUT(tall.decodedFrames() >= 3, kWaitMs);

    // An unsaved text and a quarter turn on the tall display.
    auto* texts = m_page->findChild<dispcustomtextbox*>();
    texts->addButton()->click();
    texts->textEdit()->setPlainText("unsaved");
    auto* angle = m_page->findChild<QComboBox*>("angleBox");
    angle->setCurrentIndex(1);
    QCOMPARE(tallScene->sceneRect().size().toSize(), QSize(1920, 480));
    const int tallItems = tallScene->items().size();

    m_page->updateSelectDevice(portOf(square), true);
    QCOMPARE(m_page->currentDisplay()->port, portOf(square));
    QCOMPARE(texts->itemCount(), 0);
    QCOMPARE(angle->currentIndex(), 0);
    QCOMPARE(m_page->findChild<QGraphicsView*>("homeView")->scene(), m_page->currentDisplay()->scene);
    QCOMPARE(m_page->personalThemeList()->themeRecords().size(), 2);
    const QString current = m_page->currentDisplay()->themePath;
    QVERIFY(!current.isEmpty());
    QCOMPARE(nameEdit->text(), QFileInfo(current).completeBaseName());

    // Opening the other listed theme makes it the device's theme.
    const QString other = current.endsWith("alpha.theme") ? "beta" : "alpha";
    QListWidget* items = m_page->personalThemeList()->listWidget();
    const QList<QListWidgetItem*> found = items->findItems(other, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    emit items->itemDoubleClicked(found.first());
    QCOMPARE(m_page->currentDisplay()->themePath, themeFile(personal, other));
    QCOMPARE(nameEdit->text(), other);
    QCOMPARE(BaseInfo::themePath(BaseInfo::sizeGroup(480, 480)), themeFile(personal, other));
    // The open theme may not be deleted from its list.
    QCOMPARE(m_page->personalThemeList()->openThemeName(), other);

    // An unknown port changes nothing.
    m_page->updateSelectDevice("/nowhere", true);
    QCOMPARE(m_page->currentDisplay()->port, portOf(square));
    // Back to the tall display: its items, unsaved text and angle are still there.
    m_page->updateSelectDevice(portOf(tall), true);
    QCOMPARE(m_page->currentScene(), tallScene);
    QCOMPARE(tallScene->items().size(), tallItems);
    QCOMPARE(texts->itemCount(), 1);
    QCOMPARE(texts->textEdit()->toPlainText(), QString("unsaved"));
    QCOMPARE(angle->currentIndex(), 1);
    QCOMPARE(tallScene->rotation(), 1);
    QCOMPARE(tallScene->sceneRect().size().toSize(), QSize(1920, 480));
    QCOMPARE(nameEdit->text(), QString("tallone"));

    // Unplugged: the page falls back to the last display left, then to the placeholder.
    QSignalSpy finished(m_page->currentDisplay()->transport(), &QThread::finished);
    const int listed = m_listed->count();
    tall.stop();
    QVERIFY(waitForListing(listed + 1));
    QCOMPARE(m_listed->last(), (QList<QVariant>{false, portOf(tall), 480, 1920}));
    QCOMPARE(finished.count(), 1); // stopped before its context went away
    QCOMPARE(m_page->displayDevices().size(), size_t(1));
    QCOMPARE(m_page->currentDisplay()->port, portOf(square));
    QCOMPARE(m_page->currentScene(), m_page->currentDisplay()->scene);
    QCOMPARE(m_page->findChild<QGraphicsView*>("homeView")->scene(), m_page->currentDisplay()->scene);
    QCOMPARE(m_page->themeStorage()->personalLibrary(), personal);
    QCOMPARE(texts->scene(), m_page->currentScene());
    QCOMPARE(texts->itemCount(), 0);
    texts->addButton()->click();

    square.stop();
    QVERIFY(waitForListing(listed + 2));
    QCOMPARE(m_listed->last(), (QList<QVariant>{false, portOf(square), 480, 480}));
    QVERIFY(m_page->currentDisplay() == nullptr);
    QCOMPARE(m_page->currentScene(), m_placeholder.get());
    QCOMPARE(texts->scene(), m_placeholder.get());
    QCOMPARE(texts->itemCount(), 0);
    QVERIFY(!m_page->themeStorage()->hasDevice());
    QVERIFY(m_page->personalThemeList()->themeRecords().isEmpty());
}

void TestDispHomePage::themeActionsWaitForASearchedDevice()
{
    // A port that never answers the search: a context exists, but no theme action runs.
    PtyPair silent;
    QVERIFY(silent.isValid());
    qputenv("PANELCAST_VIRTUAL_PORTS", (silent.slavePath() + "=1F3A:0007").toLocal8Bit());
    openPage(0);
    QTRY_COMPARE_WITH_TIMEOUT(m_page->displayDevices().size(), size_t(1), kWaitMs);
    QTest::qWait(300);
    QVERIFY(m_page->currentDisplay() == nullptr);

    m_page->findChild<QLineEdit*>("themeNameEdit")->setText("early");
    for (const char* button : {"saveButton", "exportButton", "importButton"})
        m_page->findChild<QToolButton*>(button)->click();
    QVERIFY2(m_dialogs->messages.isEmpty(), qPrintable(m_dialogs->messages.join(", ")));
    QVERIFY(!QDir(qEnvironmentVariable("PANELCAST_DATA_DIR") + "/themes").exists());
    // The search went out and nothing else: no frames before the panel size is known.
    QCOMPARE(silent.drainFromHost(200), Packets::search());
}

void TestDispHomePage::panelItemsReachTheDeviceInTheirColoursAndASavedAngleIsKept()
{
    // A theme of a red text, a green date and a blue sensor item, made with the panels.
    {
        FakeThemeDialogs dialogs;
        ThemeStorage writer(&dialogs);
        DispScene scene;
        scene.setSceneRect(0, 0, 320, 480);
        EditorPanels panels{PanelEnvironment()};
        panels.installInto(writer);
        panels.attach(&scene, 320, 480);
        const QFont font = Pixels::pixelFont(60, true);
        auto* texts = static_cast<dispcustomtextbox*>(panels.panel(CustomTextTag));
        texts->addButton()->click();
        texts->textEdit()->setPlainText("HHHH");
        texts->currentText()->setDefaultTextColor(Qt::red);
        texts->currentText()->setFont(font);
        texts->currentText()->setPos(20, 20);
        auto* dates = static_cast<disptimebox*>(panels.panel(TimeTag));
        dates->addButton()->click();
        dates->currentDate()->setColor(Qt::green);
        dates->currentDate()->setFont(font);
        dates->currentDate()->setPos(20, 180);
        auto* sensors = static_cast<dispsysteminfobox*>(panels.panel(SystemInfoTag));
        sensors->addButton()->click();
        DispNumberWidget* caption = dispsysteminfobox::captionOf(sensors->currentItem());
        caption->setColor(Qt::blue);
        caption->setFont(font);
        caption->setPos(20, 340);
        QVERIFY(writer.saveTheme(ThemeStorage::libraryFolder(320, 480, true) + "/items"));
    }
    TestEmulator emu;
    START(emu, "320x480", "1F3A:0007", {"--png-every", "1"});
    TestEmulator::publish({&emu});
    QVERIFY(openPage(1));
    DispScene* scene = m_page->currentScene();
    QCOMPARE(scene->textWidgets().size(), 1);
    QCOMPARE(scene->dateWidgets().size(), 1);
    QCOMPARE(scene->dataWidgets().size(), 2);
    const QRect text = scene->textWidgets().first()->sceneBoundingRect().toRect();
    const QRect date = scene->dateWidgets().first()->sceneBoundingRect().toRect();
    const QRect sensor = QRect(20, 340, 120, 60);
    QTRY_VERIFY_WITH_TIMEOUT(emu.decodedFrames() >= 3, kWaitMs);
    QTest::qWait(200);
    QImage frame = emu.latestFrame();
    QCOMPARE(frame.size(), QSize(320, 480));
    QVERIFY2(Pixels::countNear(frame, text, Qt::red) > 200,
             qPrintable(QString::number(Pixels::countNear(frame, text, Qt::red))));
    QVERIFY(Pixels::countNear(frame, date, Qt::green) > 200);
    QVERIFY(Pixels::countNear(frame, sensor, Qt::blue) > 200);
    // Each item in its own colour only.
    QCOMPARE(Pixels::countNear(frame, text, Qt::green) + Pixels::countNear(frame, date, Qt::blue), 0);

    // A quarter turn lays the scene out the other way round; the device keeps its size.
    m_page->findChild<QComboBox*>("angleBox")->setCurrentIndex(1);
    QCOMPARE(scene->rotation(), 1);
    QCOMPARE(scene->sceneRect().size().toSize(), QSize(480, 320));
    const QString file = themeFile(ThemeStorage::libraryFolder(320, 480, true), "mine");
    m_page->findChild<QLineEdit*>("themeNameEdit")->setText("mine");
    m_page->findChild<QWidget*>("themeActions")->findChild<QToolButton*>("saveButton")->click();
    QCOMPARE(m_dialogs->messages, QStringList{"Information|Save Finish"});
    QVERIFY(QFileInfo(file).isFile());
    QCOMPARE(BaseInfo::themePath(BaseInfo::sizeGroup(320, 480)), file);
    QCOMPARE(m_page->currentDisplay()->themePath, file);
    QCOMPARE(m_page->personalThemeList()->themeRecords().size(), 2);
    // The turned picture reaches the device upright for the panel: 320 x 480.
    const int frames = emu.decodedFrames();
    QTRY_VERIFY_WITH_TIMEOUT(emu.decodedFrames() >= frames + 2, kWaitMs);
    QCOMPARE(emu.latestFrame().size(), QSize(320, 480));

    // Next start: the stored theme is opened with its angle.
    QVERIFY(openPage(1));
    QCOMPARE(m_page->currentDisplay()->themePath, file);
    QCOMPARE(m_page->findChild<QLineEdit*>("themeNameEdit")->text(), QString("mine"));
    QCOMPARE(m_page->findChild<QComboBox*>("angleBox")->currentIndex(), 1);
    QCOMPARE(m_page->currentScene()->rotation(), 1);
    QCOMPARE(m_page->currentScene()->sceneRect().size().toSize(), QSize(480, 320));
}

void TestDispHomePage::mediaThemeIsClippedSavedOnceAndReopensPlaying()
{
    QTemporaryDir media;
    const QString video = TestMedia::video(media.path(), QStringLiteral("clip.mp4"), 160, 120, 25, 2);
    const QString gif = TestMedia::make(media.path(), QStringLiteral("spin.gif"),
                                        QStringLiteral("testsrc2=s=48x48:r=10:d=0.3"));
    QVERIFY(!video.isEmpty() && !gif.isEmpty());
    TestEmulator emu;
    START(emu, "320x240", "1F3A:0007");
    TestEmulator::publish({&emu});
    QVERIFY(openPage(1));
    auto* background = m_page->findChild<dispbackgroundbox*>();
    auto* icons = m_page->findChild<dispiconbox*>();
    auto* tool = m_page->findChild<dispClippingWidget*>();
    QVERIFY(background != nullptr && icons != nullptr && tool != nullptr);

    // A chosen video is fitted by the clipping tool, then plays as the background.
    background->typeBox()->setCurrentIndex(dispbackgroundbox::VideoType);
    background->chooseMedia(dispbackgroundbox::VideoType, video);
    QVERIFY(tool->isVisible());
    QSignalSpy clipped(tool, &dispClippingWidget::updateBackgroundPath);
    tool->render();
    QVERIFY(clipped.wait(30000));
    const QString sizeFolder = QFileInfo(ThemeStorage::libraryFolder(320, 240, true)).absolutePath();
    QCOMPARE(background->videoPath(), sizeFolder + QStringLiteral("/bg_clip.mp4"));
    icons->addButton()->click();
    icons->setMediaFile(gif);

    m_page->findChild<QLineEdit*>("themeNameEdit")->setText("moving");
    m_page->findChild<QWidget*>("themeActions")->findChild<QToolButton*>("saveButton")->click();
    QCOMPARE(m_dialogs->messages, QStringList{"Information|Save Finish"});
    const QString res = ThemeStorage::libraryFolder(320, 240, true) + QStringLiteral("/theme_moving/res");
    QCOMPARE(QDir(res).entryList(QDir::Files), QStringList({"bg_clip.mp4", "spin.gif"}));
    // The clip left beside the libraries is tidied away; the panel plays the theme's copy.
    QVERIFY(!QFileInfo::exists(sizeFolder + QStringLiteral("/bg_clip.mp4")));
    QCOMPARE(background->videoPath(), res + QStringLiteral("/bg_clip.mp4"));

    // Next start: the theme opens with both media playing from its res folder.
    QVERIFY(openPage(1));
    background = m_page->findChild<dispbackgroundbox*>();
    QCOMPARE(background->type(), int(dispbackgroundbox::VideoType));
    DispImageWidget* shown = background->backgroundWidget();
    QCOMPARE(shown->mediaPath(), res + QStringLiteral("/bg_clip.mp4"));
    QTRY_VERIFY(shown->decoder()->framesDecoded() > 1);
    QList<DispWidget*> iconWidgets = m_page->currentScene()->iconWidgets();
    QCOMPARE(iconWidgets.size(), 1);
    QCOMPARE(qobject_cast<DispImageWidget*>(iconWidgets.first())->mediaPath(),
             res + QStringLiteral("/spin.gif"));
    // Set PANELCAST_SCREENSHOT_DIR to keep a picture of the page.
    if (!qEnvironmentVariableIsEmpty("PANELCAST_SCREENSHOT_DIR")) {
        m_page->resize(1400, 900);
        m_page->show();
        QTest::qWait(500);
        QVERIFY(
            m_page->grab().save(qEnvironmentVariable("PANELCAST_SCREENSHOT_DIR") + "/home-background.png"));
    }
}

QTEST_MAIN(TestDispHomePage)
#include "tst_disphomepage.moc"
