#include "dispmainwindow.h"

#include "applogging.h"
#include "disphomepage.h"
#include "dispsettingwidget.h"

#include <QAction>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kDisplayPrefix = QStringLiteral("DISPLAY_");
const QString kDigitalPrefix = QStringLiteral("DIGITAL_");

// What a list entry keeps besides its text.
constexpr int kPortRole = Qt::UserRole;
constexpr int kDisplayRole = Qt::UserRole + 1;

// Presses above this line grab the frameless window.
constexpr int kDragBandHeight = 60;

QToolButton* makeTopBarButton(QWidget* parent, const QString& image, const QString& pressedImage)
{
    auto* button = new QToolButton(parent);
    button->setFixedSize(18, 18);
    button->setStyleSheet(QStringLiteral("QToolButton { border: none; border-image: url(%1); }"
                                         "QToolButton:pressed { border-image: url(%2); }")
                              .arg(image, pressedImage));
    return button;
}

// How long the start-up question to the session bus may take.
constexpr int kTrayQueryTimeoutMs = 500;

// Qt shows the icon as a StatusNotifierItem when a host is registered with the
// watcher (KDE Plasma, GNOME with the AppIndicator extension, most Wayland
// panels); such trays report every click as a Trigger, never a DoubleClick.
bool statusNotifierHostRegistered()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    QDBusMessage query = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    query << QStringLiteral("org.kde.StatusNotifierWatcher")
          << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(query, QDBus::Block, kTrayQueryTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return false;
    }
    return reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

} // namespace

DispMainWIndow::DispMainWIndow(QWidget* parent) : QWidget(parent)
{
    setWindowFlags(windowFlags() & ~Qt::WindowMinMaxButtonsHint);
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    setWindowTitle(QStringLiteral("Panelcast"));
    setWindowIcon(QIcon(QStringLiteral("://images/ruanjian2.png")));

    m_scene.setSceneSize(480, 480);

    auto* grid = new QGridLayout(this);
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(buildTopBar(), 0, 0, 1, 2);

    m_deviceList = new QListWidget(this);
    m_deviceList->setObjectName(QStringLiteral("deviceList"));
    // The top bar and the list fill the 800-pixel window exactly.
    m_deviceList->setFixedSize(145, 800 - 55);
    m_deviceList->setWordWrap(true);
    m_deviceList->setTextElideMode(Qt::ElideMiddle);
    m_deviceList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_deviceList->setIconSize(QSize(30, 30));
    QFont listFont(QStringLiteral("Arial"));
    listFont.setPixelSize(11);
    m_deviceList->setFont(listFont);
    m_deviceList->setStyleSheet(
        QStringLiteral("QListWidget { border: none; background-color: black; color: white; outline: none; }"
                       "QListWidget::item { color: white; padding: 4px 2px; }"
                       "QListWidget::item:selected { background-color: rgb(166, 135, 85); color: white; }"));
    grid->addWidget(m_deviceList, 1, 0);

    m_pageStack = new QStackedWidget(this);
    m_pageStack->setObjectName(QStringLiteral("pageStack"));
    m_homePage = new DispHomePage(&m_scene, m_pageStack);
    m_scene.setSensorManager(m_homePage->sensorManager());
    m_pageStack->addWidget(m_homePage);
    grid->addWidget(m_pageStack, 1, 1);
    grid->addWidget(buildEmptyHint(), 1, 1);
    m_emptyHint->hide();

    setObjectName(QStringLiteral("cont_0"));
    setStyleSheet(
        QStringLiteral("QWidget#cont_0 { background-color: #1d1d1d; }"
                       "QLabel { color: white; font-family: 'Arial'; font-size: 16px; }"
                       "QWidget#cont_1 { background-color: #1d1d1d; border-radius: 8px; }"
                       "QWidget#cont_2 { background-color: #030303; color: white; border-radius: 8px; }"));
    setAttribute(Qt::WA_StyledBackground);

    resize(1400, 800);

    connect(m_homePage, &DispHomePage::updateDeviceList, this, &DispMainWIndow::onUpdateDeviceList);
    connect(this, &DispMainWIndow::deviceSelectChange, m_homePage, &DispHomePage::updateSelectDevice);
    connect(m_settingButton, &QToolButton::clicked, m_homePage, &DispHomePage::openSettingPage);
    connect(m_closeButton, &QToolButton::clicked, this, &DispMainWIndow::onCloseClicked);
    connect(m_deviceList, &QListWidget::itemClicked, this, &DispMainWIndow::ClickUsbDevice);

    buildTray();

    if (!m_homePage->settingPage()->startMinimised()) {
        show();
    } else if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        // Without a tray a hidden window could never come back.
        showMinimized();
    }

    // The page stack only shows while a device is listed; the first check
    // runs once the window is up.
    auto* stackTimer = new QTimer(this);
    stackTimer->setObjectName(QStringLiteral("pageStackCheck"));
    stackTimer->setSingleShot(true);
    connect(stackTimer, &QTimer::timeout, this, [this, stackTimer] {
        setPageStackVisible(!m_ports.isEmpty());
        stackTimer->deleteLater();
    });
    stackTimer->start(10);
}

DispMainWIndow::~DispMainWIndow()
{
    // The home page shows the embedded scene; it goes first.
    delete m_homePage;
    m_homePage = nullptr;
}

QWidget* DispMainWIndow::buildTopBar()
{
    auto* topBar = new QWidget(this);
    topBar->setObjectName(QStringLiteral("topBar"));
    topBar->setFixedSize(1400, 55);
    topBar->setAttribute(Qt::WA_StyledBackground);
    topBar->setStyleSheet(QStringLiteral("QWidget#topBar { background-image: url(:/images/topbg.png); }"));

    auto* logo = new QLabel(topBar);
    logo->setPixmap(QPixmap());
    logo->setAlignment(Qt::AlignCenter);

    m_settingButton = makeTopBarButton(topBar, QStringLiteral(":/images/setting.png"),
                                       QStringLiteral(":/images/setting_pressed.png"));
    m_settingButton->setObjectName(QStringLiteral("settingButton"));
    m_settingButton->setToolTip(tr("Setting"));
    m_closeButton = makeTopBarButton(topBar, QStringLiteral(":/images/close.png"),
                                     QStringLiteral(":/images/close_pressed.png"));
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setToolTip(tr("Close"));

    auto* layout = new QHBoxLayout(topBar);
    layout->setSpacing(20);
    layout->setContentsMargins(20, 0, 20, 0);
    layout->addWidget(logo);
    layout->addStretch();
    layout->addWidget(m_settingButton);
    layout->addWidget(m_closeButton);
    return topBar;
}

QWidget* DispMainWIndow::buildEmptyHint()
{
    m_emptyHint = new QWidget(this);
    m_emptyHint->setObjectName(QStringLiteral("emptyHint"));
    auto* layout = new QVBoxLayout(m_emptyHint);
    layout->setSpacing(12);
    layout->addStretch();
    auto* mark = new QLabel(m_emptyHint);
    mark->setPixmap(QPixmap(QStringLiteral("://images/ruanjian2.png")));
    mark->setAlignment(Qt::AlignCenter);
    m_emptyTitle = new QLabel(m_emptyHint);
    m_emptyTitle->setAlignment(Qt::AlignCenter);
    m_emptyTitle->setStyleSheet(QStringLiteral("font-size: 20px; font-weight: bold;"));
    m_emptyText = new QLabel(m_emptyHint);
    m_emptyText->setAlignment(Qt::AlignCenter);
    m_emptyText->setStyleSheet(QStringLiteral("color: #8a8a8a; font-size: 14px;"));
    layout->addWidget(mark);
    layout->addWidget(m_emptyTitle);
    layout->addWidget(m_emptyText);
    layout->addStretch();
    retranslateEmptyHint();
    return m_emptyHint;
}

void DispMainWIndow::retranslateEmptyHint()
{
    m_emptyTitle->setText(tr("No device connected"));
    m_emptyText->setText(tr("Plug in a USB display or a digital panel; it appears in the list on the left."));
}

// While no device is listed the page area says so instead of staying blank.
void DispMainWIndow::setPageStackVisible(bool visible)
{
    m_pageStack->setVisible(visible);
    m_emptyHint->setVisible(!visible);
}

void DispMainWIndow::buildTray()
{
    m_statusNotifierTray = statusNotifierHostRegistered();
    qCDebug(lcApp) << "DispMainWIndow::buildTray: status notifier tray:" << m_statusNotifierTray;
    m_trayIcon = new QSystemTrayIcon(QIcon(QStringLiteral("://images/ruanjian2.png")), this);
    m_trayIcon->setToolTip(QStringLiteral("Panelcast"));
    m_exitAction = new QAction(tr("Exit"), this);
    m_exitAction->setObjectName(QStringLiteral("exitAction"));
    m_exitAction->setToolTip(tr("Exit"));
    m_trayMenu = new QMenu(this);
    m_trayMenu->addAction(m_exitAction);
    m_trayIcon->setContextMenu(m_trayMenu);
    connect(m_trayIcon, &QSystemTrayIcon::activated, this, &DispMainWIndow::onTrayActivated);
    connect(m_exitAction, &QAction::triggered, this, &DispMainWIndow::exitApplication);
    m_trayIcon->setVisible(true);
}

void DispMainWIndow::onUpdateDeviceList(bool state, QString port, int w, int h)
{
    qCDebug(lcApp).noquote() << "onUpdateDeviceList: " << state << port;

    const bool digital = w == 0 || h == 0;

    if (state) {
        QIcon icon;
        const QString iconPath = digital ? QStringLiteral(":/images/digital.png")
                                         : QStringLiteral(":/images/theme_%1%2.png").arg(w).arg(h);
        if (QFile::exists(iconPath)) {
            icon = QIcon(iconPath);
        }
        auto* item = new QListWidgetItem(icon, deviceEntryText(port, w, h));
        // Virtual ports are long paths; the list shows the last part.
        item->setToolTip(port);
        item->setData(kPortRole, port);
        item->setData(kDisplayRole, !digital);
        m_deviceList->addItem(item);
        m_ports.append(port);
        if (m_ports.size() == 1) {
            setPageStackVisible(true);
        }
    } else {
        if (m_ports.contains(port)) {
            for (int row = m_deviceList->count() - 1; row >= 0; --row) {
                QListWidgetItem* item = m_deviceList->item(row);
                if (item->data(kPortRole).toString() == port &&
                    item->data(kDisplayRole).toBool() == !digital) {
                    delete m_deviceList->takeItem(row);
                }
            }
            m_ports.removeOne(port);
        }
        if (m_ports.isEmpty()) {
            setPageStackVisible(false);
        }
    }

    if (!m_ports.isEmpty() && m_deviceList->count() > 0) {
        m_deviceList->setCurrentRow(m_deviceList->count() - 1);
        // The home page now edits that device, so a click on any other entry,
        // the one clicked last included, selects again.
        m_lastClickedText = m_deviceList->currentItem()->text();
    } else {
        m_lastClickedText.clear();
    }
}

QString DispMainWIndow::deviceEntryText(const QString& port, int w, int h)
{
    // "/dev/ttyACM0" and a virtual display's long path both end in a short name.
    const QString shortName = port.section(QLatin1Char('/'), -1);
    if (w == 0 || h == 0) {
        return kDigitalPrefix + shortName;
    }
    return kDisplayPrefix + shortName + QLatin1Char('\n') + QStringLiteral("%1 x %2").arg(w).arg(h);
}

void DispMainWIndow::ClickUsbDevice(QListWidgetItem* item)
{
    if (!item) {
        return;
    }
    const QString port = item->data(kPortRole).toString();
    const bool display = item->data(kDisplayRole).toBool();
    const QString key = (display ? kDisplayPrefix : kDigitalPrefix) + port;
    if (key != m_lastClickedText) {
        emit deviceSelectChange(port, display);
    }
    m_lastClickedText = key;
}

void DispMainWIndow::onTrayActivated(QSystemTrayIcon::ActivationReason reason)
{
    // A classic tray reports a double click as a Trigger followed by a
    // DoubleClick, so only the latter toggles there.
    const bool toggles = reason == QSystemTrayIcon::DoubleClick ||
                         (m_statusNotifierTray && reason == QSystemTrayIcon::Trigger);
    if (!toggles) {
        return;
    }
    if (isVisible() && !isMinimized()) {
        hide();
    } else {
        showNormal();
        raise();
        activateWindow();
    }
}

void DispMainWIndow::onCloseClicked()
{
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        hide();
    } else {
        showMinimized();
    }
}

bool DispMainWIndow::confirmExitDuringUpload()
{
    const QString title = tr("Warning");
    const QString text =
        tr("An upload to a device is running and will not finish if you exit now. Exit anyway?");
    if (m_questionHandler) {
        return m_questionHandler(title, text);
    }
    // Scripts and tests without a handler quit as asked.
    if (qEnvironmentVariableIsSet("PANELCAST_NO_MODAL")) {
        return true;
    }
    return QMessageBox::question(this, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

void DispMainWIndow::exitApplication()
{
    qCDebug(lcApp) << "DispMainWIndow::exitApplication";
    if (m_homePage->uploadRunning()) {
        if (!confirmExitDuringUpload()) {
            return;
        }
        // The upload stops before its next packet instead of the exit waiting
        // for acknowledgements that only this thread could read.
        qCDebug(lcApp) << "DispMainWIndow::exitApplication: upload cancelled";
        m_homePage->cancelUploads();
    }
    m_homePage->releaseAllDevices();
    m_trayIcon->hide();
    m_trayIcon->setContextMenu(nullptr);
    m_exitAction->deleteLater();
    m_exitAction = nullptr;
    m_trayIcon->deleteLater();
    m_trayIcon = nullptr;
    close();
    QCoreApplication::exit(0);
}

void DispMainWIndow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_settingButton->setToolTip(tr("Setting"));
        m_closeButton->setToolTip(tr("Close"));
        retranslateEmptyHint();
        if (m_exitAction) {
            m_exitAction->setText(tr("Exit"));
            m_exitAction->setToolTip(tr("Exit"));
        }
    }
    QWidget::changeEvent(event);
}

void DispMainWIndow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && event->pos().y() < kDragBandHeight) {
        m_dragging = true;
        m_dragOffset = event->globalPos() - pos();
    }
    QWidget::mousePressEvent(event);
}

void DispMainWIndow::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPos() - m_dragOffset);
    }
    QWidget::mouseMoveEvent(event);
}

void DispMainWIndow::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragging = false;
    QWidget::mouseReleaseEvent(event);
}
