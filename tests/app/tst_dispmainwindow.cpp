#include "baseinfo.h"
#include "dispcustomtextbox.h"
#include "dispdatewidget.h"
#include "disphomepage.h"
#include "displabelwidget.h"
#include "dispmainwindow.h"
#include "dispnumberwidget.h"
#include "dispscene.h"
#include "dispsettingwidget.h"
#include "dispstandardwidgetfactory.h"
#include "disptextwidget.h"
#include "disptimebox.h"
#include "disptimewidget.h"
#include "pixels.h"
#include "resourceinit.h"
#include "testemulator.h"
#include "testfiles.h"
#include "transport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGraphicsRectItem>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

bool sameImage(const QIcon& icon, const QString& path)
{
    const QImage expected = QIcon(path).pixmap(QSize(30, 30)).toImage();
    return !expected.isNull() && expected == icon.pixmap(QSize(30, 30)).toImage();
}

// Hidden to the tray where there is one, else minimised.
bool hiddenAway(QWidget* window)
{
    return QSystemTrayIcon::isSystemTrayAvailable() ? !window->isVisible() : window->isMinimized();
}

// For the documentation picture: a dark backdrop and widgets a user would drop on the scene.
void decorateForScreenshot(DispScene* scene)
{
    const QColor accent(166, 135, 85);
    auto label = [](DispLabelWidget* widget, int pixels, const QColor& colour) {
        widget->setFont(Pixels::pixelFont(pixels, true));
        widget->setColor(colour);
    };
    scene->addRect(scene->sceneRect(), Qt::NoPen, QColor(0x1d, 0x1d, 0x1d))->setZValue(-1);
    label(scene->addTimeWidget(QString(), QPointF(40, 120)), 110, Qt::white);
    label(scene->addDateWidget(QString(), QPointF(44, 280)), 36, accent);
    DispTextWidget* caption = scene->addTextWidget(QString(), QPointF(44, 700));
    caption->setPlainText(QStringLiteral("CPU"));
    caption->setFont(Pixels::pixelFont(48, true));
    caption->setDefaultTextColor(accent);
    DispNumberWidget* cpu = scene->addNumberWidget(QString(), QPointF(44, 760));
    cpu->setSensorType(0); // CPU Temperature
    label(cpu, 120, Qt::white);
    scene->clearSelection();
}

} // namespace

class TestDispMainWIndow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initPanelcastResources(); }
    void init();
    void cleanup();

    void itemsCarryKindPrefixAndIcon_data();
    void itemsCarryKindPrefixAndIcon();
    void pageStackShowsOnlyWhileDevicesAreListed();
    void lastItemIsCurrentAndClicksEmitOnlyForANewItem();
    void trayAndCloseKeepTheApplicationRunning();
    void emulatedDevicesAreSelectedByClickHandedToTheSettingsAndReleasedOnExit();
    void emulatedUploadAsksBeforeExitAndStops();

private:
    QListWidget* list() const { return m_window->findChild<QListWidget*>("deviceList"); }
    QStackedWidget* stack() const { return m_window->findChild<QStackedWidget*>("pageStack"); }

    // Starts one emulator per {size, usb, options...}, publishes them and
    // builds the window; true once every device is listed.
    bool startWithDevices(const QList<QStringList>& devices);
    QString portOf(int emulator) const
    {
        return m_emulators.at(size_t(emulator))->entry().section('=', 0, 0);
    }
    static void saveScreenshot(QWidget* widget, const QString& name);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<DispMainWIndow> m_window;
    std::vector<std::unique_ptr<TestEmulator>> m_emulators;
};

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
    if (!test.startsWith("emulated")) {
        m_window = std::make_unique<DispMainWIndow>();
    } else if (qEnvironmentVariableIsEmpty("PANELCAST_EMU")) {
        QSKIP("PANELCAST_EMU is not set; run through ctest");
    }
}

void TestDispMainWIndow::cleanup()
{
    m_window.reset();
    m_emulators.clear();
    qputenv("PANELCAST_VIRTUAL_PORTS", "");
}

bool TestDispMainWIndow::startWithDevices(const QList<QStringList>& devices)
{
    QList<const TestEmulator*> running;
    for (const QStringList& device : devices) {
        m_emulators.push_back(std::make_unique<TestEmulator>());
        if (!m_emulators.back()->start(device.at(0), device.at(1), device.mid(2))) {
            qWarning() << m_emulators.back()->errorText();
            return false;
        }
        running << m_emulators.back().get();
    }
    TestEmulator::publish(running);
    m_window = std::make_unique<DispMainWIndow>();
    QDeadlineTimer deadline(8000);
    while (list()->count() < devices.size() && !deadline.hasExpired())
        QTest::qWait(20);
    return list()->count() == devices.size();
}

void TestDispMainWIndow::saveScreenshot(QWidget* widget, const QString& name)
{
    // Documentation pictures: PANELCAST_SCREENSHOT_DIR=docs/images under Xvfb.
    const QString folder = qEnvironmentVariable("PANELCAST_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        QVERIFY(widget->grab().save(QDir(folder).filePath(name)));
}

void TestDispMainWIndow::itemsCarryKindPrefixAndIcon_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<int>("w");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("h");
    QTest::addColumn<QString>("icon");
    QTest::newRow("digital") << "ttyUSB0" << 0 << "DIGITAL_ttyUSB0" << 0 << ":/images/digital.png";
    QTest::newRow("digital, zero height")
        << "ttyUSB1" << 480 << "DIGITAL_ttyUSB1" << 0 << ":/images/digital.png";
    QTest::newRow("480 x 1920") << "ttyACM0" << 480 << "DISPLAY_ttyACM0\n480 x 1920" << 1920
                                << ":/images/theme_4801920.png";
    QTest::newRow("320 x 240, long virtual path")
        << "/tmp/panelcast-emu-1/ttyACM3" << 320 << "DISPLAY_ttyACM3\n320 x 240" << 240
        << ":/images/theme_320240.png";
    QTest::newRow("size without icon")
        << "ttyACM4" << 481 << "DISPLAY_ttyACM4\n481 x 1920" << 1920 << QString();
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
    QCOMPARE(list()->item(0)->text(), text);
    QCOMPARE(list()->item(0)->toolTip(), port);
    if (icon.isEmpty())
        QVERIFY(list()->item(0)->icon().isNull());
    else
        QVERIFY2(sameImage(list()->item(0)->icon(), icon), qPrintable(icon));
}

void TestDispMainWIndow::pageStackShowsOnlyWhileDevicesAreListed()
{
    QVERIFY(m_window->windowFlags() & Qt::FramelessWindowHint);
    QWidget* hint = m_window->findChild<QWidget*>("emptyHint");
    QVERIFY(hint);
    QTRY_VERIFY(stack()->isHidden());
    QVERIFY(!hint->isHidden());

    // Reports from the home page reach the list.
    emit m_window->homePage()->updateDeviceList(true, "ttyACM0", 480, 480);
    QVERIFY(!stack()->isHidden());
    QVERIFY(hint->isHidden());
    m_window->onUpdateDeviceList(true, "ttyUSB0", 0, 0);
    emit m_window->homePage()->updateDeviceList(false, "ttyACM0", 480, 480);
    QVERIFY(!stack()->isHidden());
    m_window->onUpdateDeviceList(false, "ttyUSB0", 0, 0);
    QVERIFY(stack()->isHidden());
    QVERIFY(!hint->isHidden());
    QCOMPARE(list()->count(), 0);

    // A device reported before the 10 ms start-up check keeps the stack shown.
    m_window = std::make_unique<DispMainWIndow>();
    m_window->onUpdateDeviceList(true, "ttyACM0", 480, 1920);
    QTRY_VERIFY(!m_window->findChild<QTimer*>("pageStackCheck"));
    QVERIFY(!stack()->isHidden());
}

void TestDispMainWIndow::lastItemIsCurrentAndClicksEmitOnlyForANewItem()
{
    QSignalSpy spy(m_window.get(), &DispMainWIndow::deviceSelectChange);
    m_window->onUpdateDeviceList(false, "ttyACM9", 480, 480); // unlisted: only a refresh
    QCOMPARE(list()->count(), 0);
    m_window->onUpdateDeviceList(true, "ttyACM0", 480, 1920);
    QCOMPARE(list()->currentRow(), 0);
    m_window->onUpdateDeviceList(true, "ttyUSB0", 0, 0);
    m_window->onUpdateDeviceList(true, "usb_serial_2", 320, 480);
    QCOMPARE(list()->currentRow(), 2);
    for (int row : {0, 0, 1, 0, 2})
        emit list()->itemClicked(list()->item(row));
    QCOMPARE(spy.count(), 4); // the second click on the same item emits nothing
    QCOMPARE(spy.at(0), (QList<QVariant>{"ttyACM0", true}));
    QCOMPARE(spy.at(1), (QList<QVariant>{"ttyUSB0", false}));
    QCOMPARE(spy.at(3), (QList<QVariant>{"usb_serial_2", true}));

    list()->setCurrentRow(0);
    m_window->onUpdateDeviceList(false, "ttyACM9", 480, 480);
    QCOMPARE(list()->count(), 3);
    QCOMPARE(list()->currentRow(), 2);
    m_window->onUpdateDeviceList(false, "ttyACM0", 0, 0); // the other kind matches no item
    QCOMPARE(list()->count(), 3);

    // An added or removed device leaves the last entry current, and the home
    // page edits that device: the entry clicked before selects again.
    m_window->onUpdateDeviceList(true, "ttyACM1", 480, 480);
    emit list()->itemClicked(list()->item(2));
    QCOMPARE(spy.count(), 5);
    list()->setCurrentRow(0);
    m_window->onUpdateDeviceList(false, "ttyUSB0", 0, 0);
    QCOMPARE(list()->count(), 3);
    QCOMPARE(list()->currentItem()->toolTip(), QString("ttyACM1"));
    emit list()->itemClicked(list()->item(1));
    QCOMPARE(spy.count(), 6);
    QCOMPARE(spy.at(5), (QList<QVariant>{"usb_serial_2", true}));
    m_window->onUpdateDeviceList(false, "ttyACM1", 480, 480);
    QCOMPARE(list()->currentItem()->toolTip(), QString("usb_serial_2"));
}

void TestDispMainWIndow::trayAndCloseKeepTheApplicationRunning()
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

    m_window->findChild<QToolButton*>("closeButton")->click();
    QVERIFY(hiddenAway(m_window.get()));
    emit tray->activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(m_window->isVisible());
    QVERIFY(!m_window->isMinimized());

    // A StatusNotifierItem tray only ever sends Trigger: a click toggles there.
    m_window->setStatusNotifierTray(true);
    m_window->findChild<QToolButton*>("closeButton")->click();
    emit tray->activated(QSystemTrayIcon::Trigger);
    QVERIFY(m_window->isVisible());
    emit tray->activated(QSystemTrayIcon::Trigger);
    QVERIFY(!m_window->isVisible());

    // Started minimised: only the tray shows.
    BaseInfo::setMinimizeState(true);
    m_window = std::make_unique<DispMainWIndow>();
    tray = m_window->findChild<QSystemTrayIcon*>();
    QVERIFY(tray->isVisible() || !QSystemTrayIcon::isSystemTrayAvailable());
    QVERIFY(hiddenAway(m_window.get()));
}

void TestDispMainWIndow::emulatedDevicesAreSelectedByClickHandedToTheSettingsAndReleasedOnExit()
{
    DispStandardWidgetFactory::install(); // as main does
    QVERIFY(startWithDevices({{"480x1920", "33C3:0E02", "--mode", "1"}, {"480x480", "1F3A:0007"}}));
    DispHomePage* home = m_window->homePage();
    QTRY_COMPARE(home->displayDevices().size(), size_t(2));
    // A click on an entry selects its device: the square one, then the tall one
    // (at least one of them is not the current device already).
    for (int emulator : {1, 0}) {
        QListWidgetItem* item = nullptr;
        for (int row = 0; row < list()->count(); ++row)
            item = list()->item(row)->toolTip() == portOf(emulator) ? list()->item(row) : item;
        QVERIFY(item != nullptr);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list()->visualItemRect(item).center());
        QCOMPARE(home->currentDisplay()->port, portOf(emulator));
        QCOMPARE(list()->currentItem(), item);
    }
    if (!qEnvironmentVariableIsEmpty("PANELCAST_SCREENSHOT_DIR")) {
        decorateForScreenshot(home->currentScene());
        QTest::qWait(5000);           // the sensor table is built on the fourth pass
        home->homePageStackSelect(0); // the view back at the scene's top left
    }
    QTRY_VERIFY(stack()->isVisible());
    // Everything fits the fixed window: nothing is cut off at the bottom or the right.
    const QSize needed = m_window->layout()->totalMinimumSize();
    QVERIFY2(needed.width() <= 1400 && needed.height() <= 800,
             qPrintable(QStringLiteral("%1 x %2").arg(needed.width()).arg(needed.height())));
    // The streamed frame reaches the preview before the picture is taken.
    QTRY_VERIFY_WITH_TIMEOUT(!home->previewImage().isNull(), 5000);
    saveScreenshot(m_window.get(), "main-window.png");

    dispsettingwidget* settings = home->settingPage();
    QVERIFY(!settings->isVisible());
    m_window->findChild<QToolButton*>("settingButton")->click();
    QVERIFY(settings->isVisible());
    QCOMPARE(settings->transport(), home->currentDisplay()->transport());
    // The mode byte of the search reply ticks Expansion Screen Mode; the version query is answered.
    QVERIFY(settings->findChild<QCheckBox*>("expansionBox")->isChecked());
    QTRY_VERIFY_WITH_TIMEOUT(settings->findChild<QLineEdit*>("versionEdit")->text().contains("Dovaz Ezovava"),
                             5000);
    saveScreenshot(settings, "settings-page.png");
    settings->hide();

    // The editor panels fit the window, each with two items.
    m_window->resize(1400, 800);
    home->homePageStackSelect(1);
    auto* selector = m_window->findChild<QListWidget*>("panelSelector");
    auto* scroll = m_window->findChild<QScrollArea*>("panelScroll");
    const char* pictures[] = {"panel-custom-text.png", "panel-system-info.png", "panel-date.png"};
    for (int row = 0; row < 3; ++row) {
        selector->setCurrentRow(row);
        auto* panel =
            qobject_cast<ItemListPanel*>(qobject_cast<QStackedWidget*>(scroll->widget())->currentWidget());
        QVERIFY(panel != nullptr);
        for (int i = 0; i < 2; ++i) {
            panel->addButton()->click();
            QVERIFY(panel->currentItem() != nullptr);
            panel->currentItem()->setPos(30 + 200 * i, 60 + 130 * row);
        }
        if (auto* text = qobject_cast<dispcustomtextbox*>(panel))
            text->textEdit()->setPlainText("Panelcast");
        if (auto* date = qobject_cast<disptimebox*>(panel))
            date->dateTypeBox()->setCurrentIndex(1);
        QApplication::processEvents();
        // Nothing is cut off at the sides; what is lower scrolls into view.
        QVERIFY2(
            panel->minimumSizeHint().width() <= scroll->viewport()->width(),
            qPrintable(
                QString("%1 > %2").arg(panel->minimumSizeHint().width()).arg(scroll->viewport()->width())));
        QVERIFY(m_window->width() <= 1425 && m_window->height() <= 810);
        saveScreenshot(panel, pictures[row]);
    }

    // Exit closes the window, removes the tray and stops every transport.
    QList<QPointer<Transport>> transports;
    for (const auto& context : home->displayDevices())
        transports << QPointer<Transport>(context->transport());
    QPointer<QSystemTrayIcon> tray = m_window->findChild<QSystemTrayIcon*>();
    QVERIFY(tray);
    m_window->findChild<QAction*>("exitAction")->trigger();
    QVERIFY(!m_window->isVisible());
    QVERIFY(home->displayDevices().empty());
    for (const QPointer<Transport>& transport : transports)
        QVERIFY(transport.isNull());
    QTRY_VERIFY(tray.isNull());
    QTRY_VERIFY(!m_window->findChild<QAction*>("exitAction"));
}

void TestDispMainWIndow::emulatedUploadAsksBeforeExitAndStops()
{
    // Slow acknowledgements keep a 40-pack firmware upload running for seconds.
    QVERIFY(startWithDevices({{"480x480", "33C3:8001", "--ack", "delay:200"}}));
    Transport* transport = m_window->homePage()->currentDisplay()->transport();
    QVERIFY(TestFiles::writeFile(m_dir->filePath("firmware.bin"), QByteArray(40 * 1024, 'Z')));
    transport->requestUpgrade(1, m_dir->filePath("firmware.bin"));
    TestEmulator& emu = *m_emulators.front();
    QVERIFY(emu.waitForCommand("0x83"));
    QList<bool> answers = {false, true};
    m_window->setQuestionHandler([&](const QString&, const QString&) { return answers.takeFirst(); });
    QAction* exit = m_window->findChild<QAction*>("exitAction");
    exit->trigger(); // "No": the application and the upload go on
    QVERIFY(m_window->isVisible() && transport->uploadPending());
    QElapsedTimer exitTime;
    exitTime.start();
    exit->trigger();
    // Well inside the 10 s the device is given to acknowledge a pack.
    QVERIFY2(exitTime.elapsed() < 5000, qPrintable(QString::number(exitTime.elapsed())));
    QVERIFY(answers.isEmpty() && m_window->homePage()->displayDevices().empty());
    const int packets = emu.commands().count("0x83");
    QTest::qWait(600); // nothing more reaches the device
    QCOMPARE(emu.commands().count("0x83"), packets);
    QVERIFY(!emu.commands().contains("0x84"));
}

QTEST_MAIN(TestDispMainWIndow)
#include "tst_dispmainwindow.moc"
