#include "baseinfo.h"
#include "dispdatewidget.h"
#include "disphomepage.h"
#include "displabelwidget.h"
#include "dispmainwindow.h"
#include "dispnumberwidget.h"
#include "dispscene.h"
#include "dispsettingwidget.h"
#include "dispstandardwidgetfactory.h"
#include "disptextwidget.h"
#include "disptimewidget.h"
#include "home/emudevice.h"
#include "languageloader.h"
#include "resourceinit.h"
#include "transport.h"
#include <QGraphicsRectItem>

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

bool sameImage(const QIcon& icon, const QString& path)
{
    const QImage expected = QIcon(path).pixmap(QSize(30, 30)).toImage();
    const QImage actual = icon.pixmap(QSize(30, 30)).toImage();
    return !expected.isNull() && expected == actual;
}

void sendMouse(QWidget* target, QEvent::Type type, const QPoint& local, Qt::MouseButtons buttons)
{
    const QPoint global = target->pos() + local;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, global, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

class TestDispMainWIndow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowIsFramelessWithFixedParts();
    void itemsCarryKindPrefixAndIcon_data();
    void itemsCarryKindPrefixAndIcon();
    void pageStackShowsOnlyWhileDevicesAreListed();
    void deviceReportedBeforeFirstCheckKeepsThePageStack();
    void lastItemIsCurrentAfterAddAndRemove();
    void removalOfUnlistedPortOnlyRefreshes();
    void homePageReportsReachTheList();
    void clickingEmitsOnlyForANewItem();
    void dragOnlyFromTheTopBand_data();
    void dragOnlyFromTheTopBand();
    void minimisedStartLeavesOnlyTheTray();
    void trayDoubleClickTogglesTheWindow();
    void closeKeepsTheApplicationRunning();
    void languageChangeRetranslatesTooltips();
    void exitClosesTheWindowAndRemovesTheTray();
    void emulatedDisplayIsListedWithItsIcon();
    void clickingAnItemSelectsThatDevice();
    void settingButtonHandsOverTheCurrentDevice();
    void exitReleasesEveryDevice();

private:
    QListWidget* list() const { return m_window->findChild<QListWidget*>("deviceList"); }
    QStackedWidget* stack() const { return m_window->findChild<QStackedWidget*>("pageStack"); }

    // Starts one 1F3A:0007 emulator per size, publishes them and builds the
    // window; true once every device is listed.
    bool startWithDevices(const QStringList& sizes);
    QString portOf(int emulator) const;
    static void saveScreenshot(QWidget* widget, const QString& name);

    const QStringList m_deviceTests{"emulatedDisplayIsListedWithItsIcon", "clickingAnItemSelectsThatDevice",
                                    "settingButtonHandsOverTheCurrentDevice", "exitReleasesEveryDevice"};
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<DispMainWIndow> m_window;
    std::vector<std::unique_ptr<TestEmulator>> m_emulators;
};

void TestDispMainWIndow::initTestCase()
{
    initPanelcastResources();
}

void TestDispMainWIndow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("PANELCAST_DATA_DIR", (m_dir->path() + "/data").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (m_dir->path() + "/config").toLocal8Bit());
    qputenv("PANELCAST_VIRTUAL_PORTS", "");
    qputenv("PANELCAST_NO_MODAL", "1");
    const QString test = QTest::currentTestFunction();
    // The device tests build the window once their emulators run.
    if (test != "minimisedStartLeavesOnlyTheTray" && !m_deviceTests.contains(test)) {
        m_window = std::make_unique<DispMainWIndow>();
    }
}

bool TestDispMainWIndow::startWithDevices(const QStringList& sizes)
{
    if (qEnvironmentVariableIsEmpty("PANELCAST_EMU")) {
        return false;
    }
    QList<const TestEmulator*> running;
    for (const QString& size : sizes) {
        m_emulators.push_back(std::make_unique<TestEmulator>());
        if (!m_emulators.back()->start(size, "1F3A:0007")) {
            qWarning() << m_emulators.back()->errorText();
            return false;
        }
        running << m_emulators.back().get();
    }
    TestEmulator::publish(running);
    m_window = std::make_unique<DispMainWIndow>();
    QDeadlineTimer deadline(8000);
    while (list()->count() < sizes.size() && !deadline.hasExpired()) {
        QTest::qWait(20);
    }
    return list()->count() == sizes.size();
}

QString TestDispMainWIndow::portOf(int emulator) const
{
    return m_emulators.at(size_t(emulator))->entry().section('=', 0, 0);
}

void TestDispMainWIndow::saveScreenshot(QWidget* widget, const QString& name)
{
    // Documentation pictures: PANELCAST_SCREENSHOT_DIR=docs/images under Xvfb.
    const QString folder = qEnvironmentVariable("PANELCAST_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        QVERIFY(widget->grab().save(QDir(folder).filePath(name)));
    }
}

void TestDispMainWIndow::cleanup()
{
    m_window.reset();
    m_emulators.clear();
    qputenv("PANELCAST_VIRTUAL_PORTS", "");
}

void TestDispMainWIndow::windowIsFramelessWithFixedParts()
{
    QVERIFY(m_window->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(!(m_window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(m_window->width(), 1400);
    QCOMPARE(list()->size(), QSize(145, 751));
    QCOMPARE(list()->iconSize(), QSize(30, 30));
    QCOMPARE(m_window->objectName(), QString("cont_0"));
    auto* setting = m_window->findChild<QToolButton*>("settingButton");
    auto* close = m_window->findChild<QToolButton*>("closeButton");
    QVERIFY(setting && close);
    QCOMPARE(setting->size(), QSize(18, 18));
    QCOMPARE(setting->toolTip(), QString("Setting"));
    QCOMPARE(close->toolTip(), QString("Close"));
}

void TestDispMainWIndow::itemsCarryKindPrefixAndIcon_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("icon");

    QTest::newRow("digital") << "ttyUSB0" << 0 << 0 << "DIGITAL_ttyUSB0"
                             << ":/images/digital.png";
    QTest::newRow("digital, zero height") << "ttyUSB1" << 480 << 0 << "DIGITAL_ttyUSB1"
                                          << ":/images/digital.png";
    QTest::newRow("480 x 1920") << "ttyACM0" << 480 << 1920 << "DISPLAY_ttyACM0"
                                << ":/images/theme_4801920.png";
    QTest::newRow("360 x 960") << "ttyACM1" << 360 << 960 << "DISPLAY_ttyACM1"
                               << ":/images/theme_360960.png";
    QTest::newRow("1080 x 1920") << "ttyACM2" << 1080 << 1920 << "DISPLAY_ttyACM2"
                                 << ":/images/theme_10801920.png";
    QTest::newRow("320 x 240") << "ttyACM3" << 320 << 240 << "DISPLAY_ttyACM3"
                               << ":/images/theme_320240.png";
    QTest::newRow("size without icon") << "ttyACM4" << 481 << 1920 << "DISPLAY_ttyACM4" << QString();
}

void TestDispMainWIndow::itemsCarryKindPrefixAndIcon()
{
    QFETCH(QString, port);
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(QString, text);
    QFETCH(QString, icon);

    m_window->onUpdateDeviceList(true, port, w, h);
    QCOMPARE(list()->count(), 1);
    QListWidgetItem* item = list()->item(0);
    QCOMPARE(item->text(), text);
    if (icon.isEmpty()) {
        QVERIFY(item->icon().isNull());
    } else {
        QVERIFY2(sameImage(item->icon(), icon), qPrintable(icon));
    }
}

void TestDispMainWIndow::pageStackShowsOnlyWhileDevicesAreListed()
{
    QWidget* hint = m_window->findChild<QWidget*>("emptyHint");
    QVERIFY(hint);
    QTRY_VERIFY(stack()->isHidden());
    QVERIFY(!hint->isHidden());

    m_window->onUpdateDeviceList(true, "ttyACM0", 480, 480);
    QVERIFY(!stack()->isHidden());
    QVERIFY(hint->isHidden());
    m_window->onUpdateDeviceList(true, "ttyUSB0", 0, 0);
    m_window->onUpdateDeviceList(false, "ttyACM0", 480, 480);
    QVERIFY(!stack()->isHidden());
    m_window->onUpdateDeviceList(false, "ttyUSB0", 0, 0);
    QVERIFY(stack()->isHidden());
    QVERIFY(!hint->isHidden());
    QCOMPARE(list()->count(), 0);
}

void TestDispMainWIndow::deviceReportedBeforeFirstCheckKeepsThePageStack()
{
    m_window->onUpdateDeviceList(true, "ttyACM0", 480, 1920);
    // Let the 10 ms start-up check run.
    QTRY_VERIFY(!m_window->findChild<QTimer*>("pageStackCheck"));
    QVERIFY(!stack()->isHidden());
}

void TestDispMainWIndow::lastItemIsCurrentAfterAddAndRemove()
{
    m_window->onUpdateDeviceList(true, "ttyACM0", 480, 1920);
    QCOMPARE(list()->currentRow(), 0);
    m_window->onUpdateDeviceList(true, "ttyUSB0", 0, 0);
    m_window->onUpdateDeviceList(true, "ttyACM1", 320, 480);
    QCOMPARE(list()->currentRow(), 2);

    list()->setCurrentRow(0);
    m_window->onUpdateDeviceList(false, "ttyUSB0", 0, 0);
    QCOMPARE(list()->count(), 2);
    QCOMPARE(list()->currentRow(), 1);
    QCOMPARE(list()->currentItem()->text(), QString("DISPLAY_ttyACM1"));

    m_window->onUpdateDeviceList(false, "ttyACM1", 320, 480);
    QCOMPARE(list()->currentItem()->text(), QString("DISPLAY_ttyACM0"));
}

void TestDispMainWIndow::removalOfUnlistedPortOnlyRefreshes()
{
    m_window->onUpdateDeviceList(false, "ttyACM9", 480, 480);
    QCOMPARE(list()->count(), 0);
    QTRY_VERIFY(stack()->isHidden());

    m_window->onUpdateDeviceList(true, "ttyACM0", 480, 480);
    m_window->onUpdateDeviceList(true, "ttyACM1", 480, 480);
    list()->setCurrentRow(0);
    m_window->onUpdateDeviceList(false, "ttyACM9", 480, 480);
    QCOMPARE(list()->count(), 2);
    QCOMPARE(list()->currentRow(), 1);
    QVERIFY(!stack()->isHidden());

    // A listed port removed as the other kind matches no item text.
    m_window->onUpdateDeviceList(false, "ttyACM0", 0, 0);
    QCOMPARE(list()->count(), 2);
}

void TestDispMainWIndow::homePageReportsReachTheList()
{
    emit m_window->homePage()->updateDeviceList(true, "ttyACM0", 480, 1920);
    QCOMPARE(list()->count(), 1);
    emit m_window->homePage()->updateDeviceList(false, "ttyACM0", 480, 1920);
    QCOMPARE(list()->count(), 0);
}

void TestDispMainWIndow::clickingEmitsOnlyForANewItem()
{
    m_window->onUpdateDeviceList(true, "ttyACM0", 480, 1920);
    m_window->onUpdateDeviceList(true, "ttyUSB0", 0, 0);
    m_window->onUpdateDeviceList(true, "usb_serial_2", 800, 480);
    QSignalSpy spy(m_window.get(), &DispMainWIndow::deviceSelectChange);

    emit list()->itemClicked(list()->item(0));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QString("ttyACM0"));
    QCOMPARE(spy.at(0).at(1).toBool(), true);

    emit list()->itemClicked(list()->item(0));
    QCOMPARE(spy.count(), 1);

    emit list()->itemClicked(list()->item(1));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(0).toString(), QString("ttyUSB0"));
    QCOMPARE(spy.at(1).at(1).toBool(), false);

    emit list()->itemClicked(list()->item(0));
    QCOMPARE(spy.count(), 3);

    emit list()->itemClicked(list()->item(2));
    QCOMPARE(spy.count(), 4);
    QCOMPARE(spy.at(3).at(0).toString(), QString("usb_serial_2"));
}

void TestDispMainWIndow::dragOnlyFromTheTopBand_data()
{
    QTest::addColumn<int>("pressY");
    QTest::addColumn<bool>("moves");
    QTest::newRow("top bar") << 20 << true;
    QTest::newRow("last row of the band") << 59 << true;
    QTest::newRow("first row below") << 60 << false;
    QTest::newRow("device list") << 300 << false;
}

void TestDispMainWIndow::dragOnlyFromTheTopBand()
{
    QFETCH(int, pressY);
    QFETCH(bool, moves);

    m_window->move(100, 100);
    const QPoint start = m_window->pos();
    const QPoint press(200, pressY);
    sendMouse(m_window.get(), QEvent::MouseButtonPress, press, Qt::LeftButton);
    sendMouse(m_window.get(), QEvent::MouseMove, press + QPoint(40, 25), Qt::LeftButton);
    sendMouse(m_window.get(), QEvent::MouseButtonRelease, press + QPoint(40, 25), Qt::NoButton);
    QCOMPARE(m_window->pos(), moves ? start + QPoint(40, 25) : start);

    // After the release moves no longer drag.
    const QPoint afterRelease = m_window->pos();
    sendMouse(m_window.get(), QEvent::MouseMove, press + QPoint(90, 90), Qt::LeftButton);
    QCOMPARE(m_window->pos(), afterRelease);
}

void TestDispMainWIndow::minimisedStartLeavesOnlyTheTray()
{
    BaseInfo::setMinimizeState(true);
    m_window = std::make_unique<DispMainWIndow>();
    auto* tray = m_window->findChild<QSystemTrayIcon*>();
    QVERIFY(tray);
    QVERIFY(tray->isVisible() || !QSystemTrayIcon::isSystemTrayAvailable());
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        QVERIFY(!m_window->isVisible());
    } else {
        QVERIFY(m_window->isMinimized());
    }
}

void TestDispMainWIndow::trayDoubleClickTogglesTheWindow()
{
    auto* tray = m_window->findChild<QSystemTrayIcon*>();
    QVERIFY(tray);
    QVERIFY(m_window->isVisible());

    emit tray->activated(QSystemTrayIcon::Trigger);
    QVERIFY(m_window->isVisible());
    emit tray->activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(!m_window->isVisible());
    emit tray->activated(QSystemTrayIcon::Context);
    QVERIFY(!m_window->isVisible());
    emit tray->activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(m_window->isVisible());
}

void TestDispMainWIndow::closeKeepsTheApplicationRunning()
{
    auto* close = m_window->findChild<QToolButton*>("closeButton");
    close->click();
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        QVERIFY(!m_window->isVisible());
    } else {
        QVERIFY(m_window->isMinimized());
    }
    auto* tray = m_window->findChild<QSystemTrayIcon*>();
    emit tray->activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(m_window->isVisible());
    QVERIFY(!m_window->isMinimized());
}

void TestDispMainWIndow::languageChangeRetranslatesTooltips()
{
    const QString data = m_dir->path() + "/data";
    QVERIFY(QFile::copy(QStringLiteral(PANELCAST_QM_DIR) + "/de_DE.qm", data + "/de_DE.qm"));
    QObject owner;
    LanguageLoader loader(&owner);
    QVERIFY(loader.switchLanguage(5));

    auto* setting = m_window->findChild<QToolButton*>("settingButton");
    auto* close = m_window->findChild<QToolButton*>("closeButton");
    QTRY_COMPARE(setting->toolTip(), QString("Einstellungen"));
    QCOMPARE(close->toolTip(), QString::fromUtf8("Schließen"));
    auto* exitAction = m_window->findChild<QAction*>("exitAction");
    QVERIFY(exitAction);
    QCOMPARE(exitAction->toolTip(), QString("Beenden"));

    QVERIFY(!loader.switchLanguage(-1));
    QTRY_COMPARE(setting->toolTip(), QString("Setting"));
    QCOMPARE(exitAction->toolTip(), QString("Exit"));
}

void TestDispMainWIndow::exitClosesTheWindowAndRemovesTheTray()
{
    auto* exitAction = m_window->findChild<QAction*>("exitAction");
    QVERIFY(exitAction);
    QPointer<QSystemTrayIcon> tray = m_window->findChild<QSystemTrayIcon*>();
    QVERIFY(tray);
    exitAction->trigger();
    QVERIFY(!m_window->isVisible());
    QTRY_VERIFY(tray.isNull());
    QTRY_VERIFY(!m_window->findChild<QAction*>("exitAction"));
}

#define REQUIRE_EMULATOR()                                                                                   \
    if (qEnvironmentVariableIsEmpty("PANELCAST_EMU"))                                                        \
    QSKIP("PANELCAST_EMU is not set; run through ctest")

// For the documentation picture: a dark backdrop (where the background panel's
// picture will go) and widgets a user would drop on the scene.
void decorateForScreenshot(DispScene* scene)
{
    DispStandardWidgetFactory::install();
    auto font = [](int pixels) {
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(pixels);
        f.setBold(true);
        return f;
    };
    auto label = [&font](DispLabelWidget* widget, int pixels, const QColor& colour) {
        widget->setFont(font(pixels));
        widget->setColor(colour);
    };
    QGraphicsRectItem* backdrop = scene->addRect(scene->sceneRect(), Qt::NoPen, QColor(0x1d, 0x1d, 0x1d));
    backdrop->setZValue(-1);
    label(scene->addTimeWidget(QString(), QPointF(40, 120)), 110, Qt::white);
    label(scene->addDateWidget(QString(), QPointF(44, 280)), 36, QColor(166, 135, 85));
    DispTextWidget* caption = scene->addTextWidget(QString(), QPointF(44, 700));
    caption->setPlainText(QStringLiteral("CPU"));
    caption->setFont(font(48));
    caption->setDefaultTextColor(QColor(166, 135, 85));
    DispNumberWidget* cpu = scene->addNumberWidget(QString(), QPointF(44, 760));
    cpu->setSensorType(0); // CPU Temperature
    label(cpu, 120, Qt::white);
    scene->clearSelection();
}

void TestDispMainWIndow::emulatedDisplayIsListedWithItsIcon()
{
    REQUIRE_EMULATOR();
    QVERIFY(startWithDevices({"480x1920"}));
    if (!qEnvironmentVariableIsEmpty("PANELCAST_SCREENSHOT_DIR")) {
        decorateForScreenshot(m_window->homePage()->currentScene());
        QTest::qWait(5000);                           // the sensor table is built on the fourth pass
        m_window->homePage()->homePageStackSelect(0); // the view back at the scene's top left
    }
    QListWidgetItem* item = list()->item(0);
    QCOMPARE(item->text(), "DISPLAY_" + portOf(0));
    QVERIFY(sameImage(item->icon(), ":/images/theme_4801920.png"));
    QCOMPARE(list()->currentRow(), 0);
    QTRY_VERIFY(stack()->isVisible());
    // The streamed frame reaches the preview before the picture is taken.
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->homePage()->previewImage().isNull(), 5000);
    saveScreenshot(m_window.get(), "main-window.png");
}

void TestDispMainWIndow::clickingAnItemSelectsThatDevice()
{
    REQUIRE_EMULATOR();
    QVERIFY(startWithDevices({"480x480", "320x240"}));
    DispHomePage* home = m_window->homePage();
    QTRY_COMPARE(home->displayDevices().size(), size_t(2));
    const QString lastPort = home->currentDisplay()->port;
    const int other = list()->item(0)->text() == "DISPLAY_" + lastPort ? 1 : 0;
    QListWidgetItem* item = list()->item(other);
    const QRect rect = list()->visualItemRect(item);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    QCOMPARE(item->text(), "DISPLAY_" + home->currentDisplay()->port);
    QVERIFY(home->currentDisplay()->port != lastPort);
}

void TestDispMainWIndow::settingButtonHandsOverTheCurrentDevice()
{
    REQUIRE_EMULATOR();
    QVERIFY(startWithDevices({"480x1920"}));
    dispsettingwidget* settings = m_window->homePage()->settingPage();
    QVERIFY(!settings->isVisible());
    m_window->findChild<QToolButton*>("settingButton")->click();
    QVERIFY(settings->isVisible());
    QCOMPARE(settings->transport(), m_window->homePage()->currentDisplay()->transport());
    auto* version = settings->findChild<QLineEdit*>("versionEdit");
    QTRY_VERIFY_WITH_TIMEOUT(!version->text().isEmpty(), 5000);
    saveScreenshot(settings, "settings-page.png");
}

void TestDispMainWIndow::exitReleasesEveryDevice()
{
    REQUIRE_EMULATOR();
    QVERIFY(startWithDevices({"480x480", "480x480"}));
    QList<QPointer<Transport>> transports;
    for (const auto& context : m_window->homePage()->displayDevices()) {
        transports << QPointer<Transport>(context->transport());
    }
    QCOMPARE(transports.size(), 2);
    m_window->findChild<QAction*>("exitAction")->trigger();
    QVERIFY(m_window->homePage()->displayDevices().empty());
    for (const QPointer<Transport>& transport : transports) {
        QVERIFY(transport.isNull());
    }
}

QTEST_MAIN(TestDispMainWIndow)
#include "tst_dispmainwindow.moc"
