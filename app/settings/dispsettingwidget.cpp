#include "dispsettingwidget.h"

#include "autorun.h"
#include "baseinfo.h"
#include "languagetable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QPixmap>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

Q_LOGGING_CATEGORY(lcSettings, "panelcast.settings")

namespace {

constexpr int kTitleHeight = 35;
constexpr int kBodyWidth = 602;
constexpr int kBodyHeight = 582;

} // namespace

dispsettingwidget::dispsettingwidget(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_language(this)
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

    grid->setColumnStretch(2, 1);
    grid->setRowStretch(6, 1);
    outer->addWidget(body);
}

void dispsettingwidget::loadPreferences()
{
    // A first start enables auto run; later the box shows what is really registered.
    if (!BaseInfo::autoRunState()) {
        setAutoRunRegistry(true);
        BaseInfo::setAutoRunState(true);
        m_autoRunBox->setChecked(true);
    }
    connect(m_autoRunBox, &QCheckBox::toggled, this, &dispsettingwidget::setAutoRunRegistry);
    m_autoRunBox->setChecked(isAutoRunRegistered());

    connect(m_minimizeBox, &QCheckBox::toggled, this, [](bool on) { BaseInfo::setMinimizeState(on); });

    const int unit = BaseInfo::tempUnit();
    m_unitBox->setCurrentIndex(unit == 1 ? 1 : 0);
    connect(m_unitBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [](int index) { BaseInfo::setTempUnit(index); });

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
