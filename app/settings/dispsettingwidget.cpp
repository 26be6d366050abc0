#include "dispsettingwidget.h"

#include "logorules.h"

#include "autorun.h"
#include "baseinfo.h"
#include "datadir.h"
#include "devicemodels.h"
#include "dispscene.h"
#include "dispsensormanager.h"
#include "exportsensorinfo.h"
#include "languagetable.h"
#include "transport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QProcess>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

Q_LOGGING_CATEGORY(lcSettings, "panelcast.settings")

namespace {

constexpr int kTitleHeight = 35;
constexpr int kBodyWidth = 602;
constexpr int kBodyHeight = 582;

constexpr int kBootVideoTimeoutMs = 30000;
// The boot-video converter, found through the search path.
const QString kEncoderProgram = QStringLiteral("ffmpeg");

QToolButton* makeImageButton(QWidget* parent, const QString& image, const QSize& size)
{
    auto* button = new QToolButton(parent);
    button->setFixedSize(size);
    button->setIcon(QIcon(image));
    button->setIconSize(size);
    return button;
}

} // namespace

dispsettingwidget::dispsettingwidget(QWidget* parent, DispSensorManager* sensors)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_language(this), m_sensors(sensors)
{
    setObjectName(QStringLiteral("dispsettingwidget"));
    setAttribute(Qt::WA_TranslucentBackground);
    buildLayout();
    loadPreferences();
    retranslate();
}

void dispsettingwidget::buildLayout()
{
    const QPixmap background(QStringLiteral(":/images/home/setting_bg.png"));
    const QSize size =
        background.isNull() ? QSize(kBodyWidth, kTitleHeight + kBodyHeight) : background.size();
    setFixedSize(size);

    auto* backgroundLabel = new QLabel(this);
    backgroundLabel->setPixmap(background);
    backgroundLabel->setGeometry(QRect(QPoint(0, 0), size));
    backgroundLabel->lower();

    setStyleSheet(QStringLiteral(
        "QLabel { color: white; font-family: 'Arial'; font-size: 12px; }"
        "QCheckBox::indicator { width: 40px; height: 20px; }"
        "QCheckBox::indicator:unchecked { image: url(:/images/home/close.png); }"
        "QCheckBox::indicator:checked { image: url(:/images/home/open.png); }"
        "QComboBox { color: white; background: #202020; border: 1px solid #3a3a3a; border-radius: 4px;"
        "  padding-left: 8px; font-family: 'Arial'; font-size: 12px; }"
        "QComboBox::drop-down { border: none; width: 24px; }"
        "QComboBox QAbstractItemView { color: white; background: #202020;"
        "  selection-background-color: rgb(166, 135, 85); }"
        "QSlider::groove:horizontal { height: 4px; background: #3a3a3a; border-radius: 2px; }"
        "QSlider::sub-page:horizontal { background: rgb(166, 135, 85); border-radius: 2px; }"
        "QSlider::handle:horizontal { width: 14px; margin: -5px 0; border-radius: 7px; background: white; }"
        "QToolButton { border: none; }"));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* titleBar = new QWidget(this);
    titleBar->setFixedSize(kBodyWidth, kTitleHeight);
    auto* titleLayout = new QHBoxLayout(titleBar);
    titleLayout->setContentsMargins(16, 0, 12, 0);
    m_title = new QLabel(titleBar);
    m_title->setStyleSheet(QStringLiteral("font-size: 14px; font-weight: bold;"));
    m_closeButton = new QToolButton(titleBar);
    m_closeButton->setFixedSize(18, 18);
    m_closeButton->setIcon(QIcon(QStringLiteral(":/images/close.png")));
    m_closeButton->setIconSize(QSize(18, 18));
    connect(m_closeButton, &QToolButton::clicked, this, &QWidget::hide);
    titleLayout->addWidget(m_title);
    titleLayout->addStretch();
    titleLayout->addWidget(m_closeButton);
    outer->addWidget(titleBar);

    auto* body = new QWidget(this);
    body->setFixedSize(kBodyWidth, size.height() - kTitleHeight);
    auto* grid = new QGridLayout(body);
    grid->setContentsMargins(40, 20, 40, 20);
    grid->setHorizontalSpacing(20);
    grid->setVerticalSpacing(16);

    m_settingCaption = new QLabel(body);
    m_settingCaption->setStyleSheet(QStringLiteral("font-size: 14px; font-weight: bold;"));
    grid->addWidget(m_settingCaption, 0, 0, 1, 3);

    m_autoRunCaption = new QLabel(body);
    m_autoRunBox = new QCheckBox(body);
    m_autoRunBox->setObjectName(QStringLiteral("autoRunBox"));
    grid->addWidget(m_autoRunCaption, 1, 0);
    grid->addWidget(m_autoRunBox, 1, 1);

    m_minimizeCaption = new QLabel(body);
    m_minimizeBox = new QCheckBox(body);
    m_minimizeBox->setObjectName(QStringLiteral("minimizeBox"));
    grid->addWidget(m_minimizeCaption, 2, 0);
    grid->addWidget(m_minimizeBox, 2, 1);

    m_unitCaption = new QLabel(body);
    m_unitBox = new QComboBox(body);
    m_unitBox->setObjectName(QStringLiteral("unitBox"));
    m_unitBox->setFixedSize(170, 28);
    m_unitBox->addItems({QStringLiteral("°C"), QStringLiteral("°F")});
    grid->addWidget(m_unitCaption, 3, 0);
    grid->addWidget(m_unitBox, 3, 1);

    m_languageCaption = new QLabel(body);
    m_languageCaption->setObjectName(QStringLiteral("languageCaption"));
    m_languageBox = new QComboBox(body);
    m_languageBox->setObjectName(QStringLiteral("languageBox"));
    m_languageBox->setFixedSize(170, 28);
    for (int i = 0; i < LanguageTable::kCount; ++i) {
        m_languageBox->addItem(QString());
    }
    grid->addWidget(m_languageCaption, 4, 0);
    grid->addWidget(m_languageBox, 4, 1);

    m_brightnessCaption = new QLabel(body);
    m_brightnessSlider = new QSlider(Qt::Horizontal, body);
    m_brightnessSlider->setObjectName(QStringLiteral("brightnessSlider"));
    m_brightnessSlider->setFixedSize(165, 20);
    m_brightnessSlider->setRange(0, 100);
    m_brightnessValue = new QLabel(body);
    m_brightnessValue->setObjectName(QStringLiteral("brightnessValue"));
    grid->addWidget(m_brightnessCaption, 5, 0);
    grid->addWidget(m_brightnessSlider, 5, 1);
    grid->addWidget(m_brightnessValue, 5, 2);

    buildDeviceRows(grid, body);

    grid->setColumnStretch(2, 1);
    grid->setRowStretch(11, 1);
    outer->addWidget(body);
}

void dispsettingwidget::buildDeviceRows(QGridLayout* grid, QWidget* body)
{
    const QString editStyle =
        QStringLiteral("QLineEdit { color: white; background: #202020; border: 1px solid #3a3a3a;"
                       " border-radius: 4px; padding-left: 6px; font-family: 'Arial'; font-size: 12px; }");
    auto pathRow = [&](QLineEdit** edit, QToolButton** browse, const char* editName, const char* browseName) {
        auto* row = new QWidget(body);
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(4);
        *edit = new QLineEdit(row);
        (*edit)->setObjectName(QString::fromLatin1(editName));
        (*edit)->setReadOnly(true);
        (*edit)->setFixedSize(210, 28);
        (*edit)->setStyleSheet(editStyle);
        *browse = new QToolButton(row);
        (*browse)->setObjectName(QString::fromLatin1(browseName));
        (*browse)->setText(QStringLiteral("..."));
        (*browse)->setFixedSize(28, 28);
        (*browse)->setStyleSheet(QStringLiteral("QToolButton { color: white; background: #3a3a3a;"
                                                " border-radius: 4px; }"));
        layout->addWidget(*edit);
        layout->addWidget(*browse);
        layout->addStretch();
        return row;
    };

    m_versionCaption = new QLabel(body);
    m_versionCaption->setObjectName(QStringLiteral("versionCaption"));
    m_versionEdit = new QLineEdit(body);
    m_versionEdit->setObjectName(QStringLiteral("versionEdit"));
    m_versionEdit->setReadOnly(true);
    m_versionEdit->setFixedSize(242, 28);
    m_versionEdit->setStyleSheet(editStyle);
    m_refreshButton = makeImageButton(body, QStringLiteral(":/images/settings/connect.png"), QSize(28, 28));
    m_refreshButton->setObjectName(QStringLiteral("refreshButton"));
    grid->addWidget(m_versionCaption, 6, 0);
    grid->addWidget(m_versionEdit, 6, 1);
    grid->addWidget(m_refreshButton, 6, 2, Qt::AlignLeft);

    m_firmwareCaption = new QLabel(body);
    grid->addWidget(m_firmwareCaption, 7, 0);
    grid->addWidget(pathRow(&m_firmwareEdit, &m_firmwareBrowse, "firmwareEdit", "firmwareBrowse"), 7, 1);
    m_firmwareUpgrade = makeImageButton(body, QStringLiteral(":/images/settings/upgrade.png"), QSize(28, 28));
    m_firmwareUpgrade->setObjectName(QStringLiteral("firmwareUpgrade"));
    grid->addWidget(m_firmwareUpgrade, 7, 2, Qt::AlignLeft);

    m_logoCaption = new QLabel(body);
    grid->addWidget(m_logoCaption, 8, 0);
    grid->addWidget(pathRow(&m_logoEdit, &m_logoBrowse, "logoEdit", "logoBrowse"), 8, 1);
    m_logoUpgrade = makeImageButton(body, QStringLiteral(":/images/settings/upgrade.png"), QSize(28, 28));
    m_logoUpgrade->setObjectName(QStringLiteral("logoUpgrade"));
    grid->addWidget(m_logoUpgrade, 8, 2, Qt::AlignLeft);

    m_aboutCaption = new QLabel(body);
    m_exportButton = makeImageButton(body, QStringLiteral(":/images/settings/export.png"), QSize(50, 43));
    m_exportButton->setObjectName(QStringLiteral("readingsExportButton"));
    grid->addWidget(m_aboutCaption, 9, 0);
    grid->addWidget(m_exportButton, 9, 1, Qt::AlignLeft);

    m_expansionCaption = new QLabel(body);
    m_expansionBox = new QCheckBox(body);
    m_expansionBox->setObjectName(QStringLiteral("expansionBox"));
    grid->addWidget(m_expansionCaption, 10, 0);
    grid->addWidget(m_expansionBox, 10, 1);

    connect(m_refreshButton, &QToolButton::clicked, this, &dispsettingwidget::refreshVersion);
    connect(m_firmwareBrowse, &QToolButton::clicked, this, &dispsettingwidget::chooseFirmware);
    connect(m_logoBrowse, &QToolButton::clicked, this, &dispsettingwidget::chooseLogo);
    connect(m_firmwareUpgrade, &QToolButton::clicked, this, &dispsettingwidget::upgradeFirmware);
    connect(m_logoUpgrade, &QToolButton::clicked, this, &dispsettingwidget::upgradeLogo);
    connect(m_expansionBox, &QCheckBox::toggled, this, &dispsettingwidget::onExpansionToggled);
    connect(m_exportButton, &QToolButton::clicked, this, [this] {
        if (m_exportHandler) {
            m_exportHandler();
        } else if (m_sensors != nullptr) {
            exportSensorInfo(*m_sensors, this);
        }
    });
}

void dispsettingwidget::setDevice(DispScene* scene, Transport* transport)
{
    m_scene = scene;
    m_transport = transport;
    refreshVersion();
}

Transport* dispsettingwidget::transport() const
{
    return m_transport.data();
}

void dispsettingwidget::refreshVersion()
{
    m_versionEdit->clear();
    if (m_transport) {
        m_transport->requestVersion();
    }
}

void dispsettingwidget::setDeviceVersion(QString text)
{
    m_versionEdit->setText(text);
    m_versionEdit->setCursorPosition(0); // the model name comes first
}

void dispsettingwidget::setExpansionTicked(bool ticked)
{
    const QSignalBlocker blocker(m_expansionBox);
    m_expansionBox->setChecked(ticked);
}

void dispsettingwidget::onExpansionToggled(bool on)
{
    if (!m_transport ||
        !DeviceModels::switchesExpansionMode(m_transport->vendorId(), m_transport->productId())) {
        return;
    }
    qCDebug(lcSettings) << "dispsettingwidget::onExpansionToggled" << on;
    m_transport->setExpansionMode(on);
    hide();
}

void dispsettingwidget::chooseFirmware()
{
    setFirmwarePath(QFileDialog::getOpenFileName(this, tr("update"), Panelcast::dataDirectory(),
                                                 QStringLiteral("*.bin")));
}

void dispsettingwidget::chooseLogo()
{
    setLogoPath(QFileDialog::getOpenFileName(this, tr("update"), Panelcast::dataDirectory(),
                                             QStringLiteral("*.jpg")));
}

void dispsettingwidget::setFirmwarePath(const QString& path)
{
    m_firmwarePath = path;
    m_firmwareEdit->setText(path);
}

void dispsettingwidget::setLogoPath(const QString& path)
{
    m_logoPath = path;
    m_logoEdit->setText(path);
}

bool dispsettingwidget::transportOpen() const
{
    return m_transport && m_transport->isOpen();
}

void dispsettingwidget::setUpgradeButtonsEnabled(bool enabled)
{
    m_firmwareUpgrade->setEnabled(enabled);
    m_logoUpgrade->setEnabled(enabled);
}

// The device takes a file in packs and the upload only reports its end after
// a second pack, so an existing file of one pack or less is refused here.
bool dispsettingwidget::refuseSmallFile(int kind, const QString& path)
{
    const QFileInfo file(path);
    const auto variant = DeviceModels::uploadVariant(m_transport->vendorId(), m_transport->productId());
    if (!file.exists() || file.size() > DeviceModels::uploadPackSize(variant, kind)) {
        return false;
    }
    qCDebug(lcSettings).noquote() << "dispsettingwidget: file too small to upload:" << path << file.size();
    showMessage(tr("The file is too small for an upgrade."));
    return true;
}

void dispsettingwidget::upgradeFirmware()
{
    if (m_firmwarePath.isEmpty() || !transportOpen() || refuseSmallFile(1, m_firmwarePath)) {
        return;
    }
    m_transport->requestUpgrade(1, m_firmwarePath);
    setUpgradeButtonsEnabled(false);
}

void dispsettingwidget::upgradeLogo()
{
    if (m_logoPath.isEmpty() || !transportOpen()) {
        return;
    }
    const int panelWidth = m_transport->panelWidth();
    const int panelHeight = m_transport->panelHeight();
    const QFileInfo file(m_logoPath);
    if (file.exists() && file.size() > LogoRules::sizeLimit(QSize(panelWidth, panelHeight))) {
        showMessage(tr("The file is too large. Please select a file smaller than 1M."));
        return;
    }
    if (!LogoRules::versionTakesLogos(m_versionEdit->text())) {
        showMessage(tr("old version not support"));
        return;
    }
    const QStringList parts = m_logoPath.split(QLatin1Char('.'));
    const QString extension = parts.size() < 2 ? QString() : parts.last();
    qCDebug(lcSettings).noquote() << "extension: " << extension;
    const bool picture = extension.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0;
    const bool video = extension.compare(QLatin1String("mp4"), Qt::CaseInsensitive) == 0;
    if (!picture && !video) {
        showMessage(tr("Please select a .jpg picture or an .mp4 video."));
        return;
    }

    if (picture) {
        // Only the header is read: the size decides, a huge picture is never decoded.
        const QSize pictureSize = QImageReader(m_logoPath).size();
        const QSize sceneSize =
            m_scene ? m_scene->sceneRect().size().toSize() : QSize(panelWidth, panelHeight);
        const int rotation = m_scene ? m_scene->rotation() : 0;
        if (!pictureSize.isValid() ||
            !LogoRules::pictureFits(pictureSize, QSize(panelWidth, panelHeight), sceneSize,
                                    m_transport->vendorId(), m_transport->productId(), rotation)) {
            showMessage(tr("size not right."));
            return;
        }
        if (refuseSmallFile(2, m_logoPath)) {
            return;
        }
        m_transport->requestUpgrade(2, m_logoPath);
    } else {
        const QString output = LogoRules::bootVideoPath();
        // The converter would ask before overwriting an earlier boot video.
        QFile::remove(output);
        const QStringList arguments = LogoRules::bootVideoArguments(m_logoPath, output);
        qCDebug(lcSettings) << arguments;
        QProcess encoder;
        encoder.setStandardInputFile(QProcess::nullDevice());
        encoder.start(kEncoderProgram, arguments);
        if (!encoder.waitForFinished(kBootVideoTimeoutMs)) {
            qCDebug(lcSettings) << "dispsettingwidget::upgradeLogo: converter did not finish:"
                                << encoder.errorString();
            encoder.kill();
            encoder.waitForFinished();
        }
        if (refuseSmallFile(2, output)) {
            return;
        }
        m_transport->requestUpgrade(2, output);
    }
    setUpgradeButtonsEnabled(false);
}

void dispsettingwidget::onUpgradeState(bool state)
{
    setUpgradeButtonsEnabled(true);
    setFirmwarePath(QString());
    setLogoPath(QString());
    showMessage(state ? tr("Upgrade success.") : tr("Upgrade fail."));
}

void dispsettingwidget::showMessage(const QString& text)
{
    const QString title = tr("Information");
    if (m_messageHandler) {
        m_messageHandler(title, text);
    } else if (qEnvironmentVariableIsSet("PANELCAST_NO_MODAL")) {
        qCWarning(lcSettings).noquote() << title << ":" << text;
    } else {
        QMessageBox::information(this, title, text, QMessageBox::Ok);
    }
}

void dispsettingwidget::loadPreferences()
{
    // A first start enables auto run; later the box shows what is really registered.
    if (!BaseInfo::autoRunState() && AutoRun::firstStartRegistration()) {
        setAutoRunRegistry(true);
        BaseInfo::setAutoRunState(true);
        m_autoRunBox->setChecked(true);
    }
    connect(m_autoRunBox, &QCheckBox::toggled, this, &dispsettingwidget::setAutoRunRegistry);
    m_autoRunBox->setChecked(isAutoRunRegistered());

    connect(m_minimizeBox, &QCheckBox::toggled, this, [](bool on) { BaseInfo::setMinimizeState(on); });

    const int unit = BaseInfo::tempUnit();
    m_unitBox->setCurrentIndex(unit == 1 ? 1 : 0);
    if (m_sensors != nullptr) {
        m_sensors->setFahrenheit(unit != 0);
    }
    connect(m_unitBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int index) {
        if (m_sensors != nullptr) {
            m_sensors->setFahrenheit(index != 0);
        }
        BaseInfo::setTempUnit(index);
    });

    const int language = BaseInfo::languageType();
    m_languageBox->setCurrentIndex(language >= 0 && language < LanguageTable::kCount ? language : 0);
    switchLanguage(language);
    connect(m_languageBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int index) {
        switchLanguage(index);
        BaseInfo::setLanguageType(index);
    });

    // Set before connecting, so start-up sends no brightness to any device.
    const int brightness = qBound(0, BaseInfo::brightness(), 100);
    m_brightnessSlider->setValue(brightness);
    m_brightnessValue->setText(QString::number(brightness) + QLatin1Char('%'));
    connect(m_brightnessSlider, &QSlider::valueChanged, this, [this](int value) {
        m_brightnessValue->setText(QString::number(value) + QLatin1Char('%'));
        BaseInfo::setBrightness(value);
        emit brightnessChanged(value);
    });
}

bool dispsettingwidget::startMinimised()
{
    const bool minimised = BaseInfo::minimizeState();
    m_minimizeBox->setChecked(minimised);
    return minimised;
}

void dispsettingwidget::setAutoRunRegistry(bool on)
{
    AutoRun::setRegistered(on);
}

bool dispsettingwidget::isAutoRunRegistered() const
{
    return AutoRun::isRegistered();
}

void dispsettingwidget::switchLanguage(int index)
{
    qCDebug(lcSettings) << "dispsettingwidget::switchLanguage" << index;
    m_language.switchLanguage(index);
}

void dispsettingwidget::retranslate()
{
    m_title->setText(tr("Settings"));
    m_closeButton->setToolTip(tr("Close"));
    m_settingCaption->setText(tr("Setting:"));
    m_autoRunCaption->setText(tr("Auto Run:"));
    m_minimizeCaption->setText(tr("Minimize:"));
    m_unitCaption->setText(tr("Unit:"));
    m_languageCaption->setText(tr("Language:"));
    m_brightnessCaption->setText(tr("Brightness:"));
    m_versionCaption->setText(tr("Device Version"));
    m_firmwareCaption->setText(tr("Upgrade Firmware"));
    m_logoCaption->setText(tr("Upgrade Logo"));
    m_aboutCaption->setText(tr("About:"));
    m_expansionCaption->setText(tr("Expansion Screen Mode:"));
    for (int i = 0; i < LanguageTable::kCount; ++i) {
        const char* text = LanguageTable::comboText(i);
        m_languageBox->setItemText(i,
                                   LanguageTable::isTranslatable(i) ? tr(text) : QString::fromLatin1(text));
    }
}

void dispsettingwidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
    QWidget::changeEvent(event);
}

void dispsettingwidget::showEvent(QShowEvent* event)
{
    // The first time it opens it sits over the middle of the main window;
    // afterwards it stays where the user dragged it.
    if (!m_placed && parentWidget() && parentWidget()->window()->isVisible()) {
        const QRect owner = parentWidget()->window()->frameGeometry();
        move(owner.center() - rect().center());
        m_placed = true;
    }
    QWidget::showEvent(event);
}

void dispsettingwidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && event->pos().y() > 0 && event->pos().y() < kTitleHeight) {
        m_dragging = true;
        m_dragOffset = event->globalPos() - frameGeometry().topLeft();
    }
    QWidget::mousePressEvent(event);
}

void dispsettingwidget::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPos() - m_dragOffset);
    }
    QWidget::mouseMoveEvent(event);
}

void dispsettingwidget::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragging = false;
    QWidget::mouseReleaseEvent(event);
}
