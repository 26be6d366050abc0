#include "disphomepage.h"

#include "dispreadoutmenu.h"

#include "baseinfo.h"
#include "coloradjustwidget.h"
#include "devicemodels.h"
#include "devicescanner.h"
#include "dispbackgroundbox.h"
#include "dispclippingwidget.h"
#include "dispscene.h"
#include "dispsceneview.h"
#include "dispsensormanager.h"
#include "dispsettingwidget.h"
#include "dispthemelist.h"
#include "dispwidget.h"
#include "editorpanels.h"
#include "officialthemes.h"
#include "segparaminfo.h"
#include "segscene.h"
#include "systemportenumerator.h"
#include "themedialogs.h"
#include "themestorage.h"
#include "themetags.h"
#include "transport.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QGraphicsView>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLoggingCategory>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

Q_LOGGING_CATEGORY(lcHome, "panelcast.home")

namespace {

// The panel selector's entries, in record (tag) order.
struct PanelEntry
{
    const char* name;
    const char* title;
};
constexpr PanelEntry kPanelEntries[] = {
    {"customText", QT_TRANSLATE_NOOP("DispHomePage", "Custom Text")},
    {"systemSensor", QT_TRANSLATE_NOOP("DispHomePage", "System Info")},
    {"timeDisplay", QT_TRANSLATE_NOOP("DispHomePage", "Time")},
    {"iconDisplay", QT_TRANSLATE_NOOP("DispHomePage", "Icon")},
    {"arcDisplay", QT_TRANSLATE_NOOP("DispHomePage", "Arc")},
    {"barDisplay", QT_TRANSLATE_NOOP("DispHomePage", "Bar")},
    {"backgroundDisplay", QT_TRANSLATE_NOOP("DispHomePage", "Background")},
    {"captureDisplay", QT_TRANSLATE_NOOP("DispHomePage", "Screen Capture")},
};
constexpr int kPanelCount = int(sizeof(kPanelEntries) / sizeof(kPanelEntries[0]));

const QString kLabelStyle = QStringLiteral("color: white; font-family: 'Arial'; font-size: 14px;");

QToolButton* makeImageButton(QWidget* parent, const QString& image, const QSize& size, const char* name)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFixedSize(size);
    button->setStyleSheet(QStringLiteral("QToolButton { border: none; border-image: url(%1); }").arg(image));
    return button;
}

QToolButton* makeModeButton(QWidget* parent, const QString& image, const QString& checkedImage,
                            const char* name)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setCheckable(true);
    button->setFixedSize(40, 40);
    button->setStyleSheet(QStringLiteral("QToolButton { border: none; border-image: url(%1); }"
                                         "QToolButton:checked { border-image: url(%2); }")
                              .arg(image, checkedImage));
    return button;
}

} // namespace

DispHomePage::DispHomePage(DispScene* placeholderScene, QWidget* parent)
    : DispHomePage(placeholderScene, std::make_unique<SystemPortEnumerator>(), nullptr, parent)
{
}

DispHomePage::DispHomePage(DispScene* placeholderScene, std::unique_ptr<PortEnumerator> enumerator,
                           std::unique_ptr<ThemeDialogs> dialogs, QWidget* parent)
    : QWidget(parent), m_placeholderScene(placeholderScene), m_currentScene(placeholderScene),
      m_dialogs(dialogs ? std::move(dialogs) : ThemeDialogs::create(this))
{
    setObjectName(QStringLiteral("homePage"));
    setStyleSheet(QStringLiteral("font-family: 'Arial';"));

    m_sensorManager = std::make_unique<DispSensorManager>();
    m_sensorManager->start(QThread::InheritPriority);
    m_segmentScene = new SegScene(m_sensorManager.get(), this);
    m_settingPage = new dispsettingwidget(this, m_sensorManager.get());
    m_settingPage->hide();
    connect(m_settingPage, &dispsettingwidget::brightnessChanged, this, &DispHomePage::forwardBrightness);

    m_storage = new ThemeStorage(m_dialogs.get(), this);
    m_storage->setHost(this);
    PanelEnvironment environment;
    environment.sensors = m_sensorManager.get();
    environment.parent = this;
    m_panels = std::make_unique<EditorPanels>(environment);
    m_panels->installInto(*m_storage);
    // The clipping tool fits a chosen background picture or video to the
    // device before the background panel takes it.
    m_clippingTool = new dispClippingWidget(480, 480, this);
    m_clippingTool->hide();
    dispbackgroundbox* background = m_panels->backgroundPanel();
    connect(background, &dispbackgroundbox::clipRequested, m_clippingTool,
            [this](int imageType, const QString& input, const QString& output, const QSize& frame) {
                m_clippingTool->open(imageType, input, output, frame);
            });
    connect(m_clippingTool, &dispClippingWidget::updateBackgroundPath, background,
            &dispbackgroundbox::setClippedMedia);
    m_panels->attach(m_currentScene, 0, 0);

    buildLayout();
    m_storage->setThemeLists(m_officialList, m_personalList);
    // Gauges, charts, clocks and 3D texts are edited from the context menu.
    connect(m_view, &DispSceneView::contextMenuAboutToShow, this,
            [this](QMenu* menu, QGraphicsItem* item) { DispReadoutMenu::extend(menu, item, this); });
    connect(m_storage, &ThemeStorage::currentThemePathChanged, this, [this](const QString& path) {
        if (m_currentDisplay != nullptr) {
            m_currentDisplay->themePath = path;
        }
    });
    connect(m_effectsPanel, &ColorAdjustWidget::updateCurrentParam, this,
            &DispHomePage::updateCurrentSegParamInfo);
    connect(m_effectsPanel, &ColorAdjustWidget::updateCurrentParam, m_segmentScene,
            &SegScene::updateEffectParam);
    connect(m_officialList, &DispThemeList::updateThemeName, m_storage, &ThemeStorage::openTheme);
    connect(m_personalList, &DispThemeList::updateThemeName, m_storage, &ThemeStorage::openTheme);

    connect(this, &DispHomePage::deviceInserted, this, &DispHomePage::onDevInserted);
    connect(this, &DispHomePage::deviceRemoved, this, &DispHomePage::clearDeviceInfo);

    m_scanner = new DeviceScanner(std::move(enumerator), this);
    connect(m_scanner, &DeviceScanner::deviceInserted, this, &DispHomePage::deviceInserted);
    connect(m_scanner, &DeviceScanner::deviceRemoved, this, &DispHomePage::deviceRemoved);
    m_scanner->start();

    m_previewTimer.setInterval(kPreviewIntervalMs);
    connect(&m_previewTimer, &QTimer::timeout, this, &DispHomePage::updateFrame);
    m_previewTimer.start();
    m_rightTabs->setCurrentIndex(1);
    retranslate();
}

DispHomePage::~DispHomePage()
{
    m_scanner->stop();
    releaseAllDevices();
}

void DispHomePage::buildLayout()
{
    auto* grid = new QGridLayout(this);
    grid->setSpacing(20);
    grid->setContentsMargins(2, 8, 2, 2);

    // Column 0: the editing area.
    auto* editing = new QWidget(this);
    editing->setObjectName(QStringLiteral("cont_1"));
    editing->setAttribute(Qt::WA_StyledBackground);
    auto* editingLayout = new QVBoxLayout(editing);
    editingLayout->setContentsMargins(0, 0, 0, 0);
    editingLayout->setSpacing(12);

    auto* modeRow = new QHBoxLayout;
    modeRow->setSpacing(10);
    m_standardButton = makeModeButton(editing, QStringLiteral(":/images/home/standard.png"),
                                      QStringLiteral(":/images/home/standard_pressed.png"), "standardButton");
    m_customButton = makeModeButton(editing, QStringLiteral(":/images/home/custom.png"),
                                    QStringLiteral(":/images/home/custom_pressed.png"), "customButton");
    m_modeGroup = new QButtonGroup(this);
    m_modeGroup->addButton(m_standardButton, 0);
    m_modeGroup->addButton(m_customButton, 1);
    m_standardButton->setChecked(true);
    connect(m_modeGroup, &QButtonGroup::idClicked, this, &DispHomePage::homePageStackSelect);
    modeRow->addWidget(m_standardButton);
    modeRow->addWidget(m_customButton);
    modeRow->addSpacing(8);
    m_themeActions = buildThemeActions();
    modeRow->addWidget(m_themeActions);
    modeRow->addStretch();
    editingLayout->addLayout(modeRow);

    auto* work = new QHBoxLayout;
    work->setSpacing(12);
    m_view = new DispSceneView(m_currentScene, editing);
    m_view->setObjectName(QStringLiteral("homeView"));
    m_view->setStyleSheet(QStringLiteral("QGraphicsView { background-color: #202020; border: none; }"));
    m_view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* viewColumn = new QVBoxLayout;
    viewColumn->setSpacing(6);
    viewColumn->addWidget(m_view, 1);
    viewColumn->addWidget(buildZoomBar(editing));
    work->addLayout(viewColumn, 1);

    m_modeStack = new QStackedWidget(editing);
    m_modeStack->setObjectName(QStringLiteral("modeStack"));
    m_modeStack->setFixedWidth(390);
    m_modeStack->addWidget(buildThemeLists());
    m_modeStack->addWidget(buildPanelSelector());
    work->addWidget(m_modeStack);
    editingLayout->addLayout(work, 1);

    grid->addWidget(editing, 0, 0);
    grid->addWidget(buildRightTabs(), 0, 1);
    grid->setColumnStretch(0, 1);
}

QWidget* DispHomePage::buildZoomBar(QWidget* parent)
{
    auto* bar = new QWidget(parent);
    bar->setObjectName(QStringLiteral("zoomBar"));
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    const QString style = QStringLiteral(
        "QToolButton { color: white; background: #202020; border: 1px solid #3a3a3a; border-radius: 4px;"
        " font-family: 'Arial'; font-size: 13px; min-width: 34px; min-height: 24px; }"
        "QToolButton:pressed { background: rgb(166, 135, 85); }");
    const auto addButton = [&](const QString& text, const char* name, void (DispSceneView::*slot)()) {
        auto* button = new QToolButton(bar);
        button->setObjectName(QString::fromLatin1(name));
        button->setText(text);
        button->setStyleSheet(style);
        connect(button, &QToolButton::clicked, m_view, slot);
        layout->addWidget(button);
        return button;
    };
    m_zoomOutButton = addButton(QStringLiteral("\u2212"), "zoomOutButton", &DispSceneView::zoomOut);
    m_zoomInButton = addButton(QStringLiteral("+"), "zoomInButton", &DispSceneView::zoomIn);
    m_zoomActualButton = addButton(QStringLiteral("1:1"), "zoomActualButton", &DispSceneView::zoomActual);
    m_zoomFitButton = addButton(QString(), "zoomFitButton", &DispSceneView::zoomToFit);
    m_zoomLabel = new QLabel(bar);
    m_zoomLabel->setObjectName(QStringLiteral("zoomLabel"));
    m_zoomLabel->setStyleSheet(QStringLiteral("color: #c0c0c0; font-size: 13px;"));
    const auto showZoom = [this](double factor) {
        m_zoomLabel->setText(QStringLiteral("%1 %").arg(qRound(factor * 100)));
    };
    connect(m_view, &DispSceneView::zoomChanged, this, showZoom);
    showZoom(m_view->zoom());
    layout->addSpacing(6);
    layout->addWidget(m_zoomLabel);
    layout->addStretch();
    return bar;
}

QWidget* DispHomePage::buildThemeActions()
{
    auto* actions = new QWidget(this);
    actions->setObjectName(QStringLiteral("themeActions"));
    auto* layout = new QHBoxLayout(actions);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    const QString fieldStyle =
        QStringLiteral("color: white; background: #202020; border: 1px solid #3a3a3a; border-radius: 4px;"
                       " font-family: 'Arial'; font-size: 13px; padding-left: 6px;");

    m_angleCaption = new QLabel(actions);
    m_angleCaption->setStyleSheet(kLabelStyle);
    m_angleBox = new QComboBox(actions);
    m_angleBox->setObjectName(QStringLiteral("angleBox"));
    m_angleBox->setFixedSize(90, 32);
    m_angleBox->setStyleSheet(QStringLiteral("QComboBox { %1 }").arg(fieldStyle));
    m_angleBox->addItems(
        {QStringLiteral("0"), QStringLiteral("90"), QStringLiteral("180"), QStringLiteral("270")});
    connect(m_angleBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &DispHomePage::onAngleChanged);

    m_saveCaption = new QLabel(actions);
    m_saveCaption->setStyleSheet(kLabelStyle);
    m_themeNameEdit = new QLineEdit(actions);
    m_themeNameEdit->setObjectName(QStringLiteral("themeNameEdit"));
    m_themeNameEdit->setFixedSize(120, 32);
    m_themeNameEdit->setStyleSheet(QStringLiteral("QLineEdit { %1 }").arg(fieldStyle));
    m_saveButton = makeImageButton(actions, QStringLiteral(":/images/save.png"), QSize(32, 32), "saveButton");
    connect(m_saveButton, &QToolButton::clicked, this, [this] { m_storage->save(m_themeNameEdit->text()); });

    m_exportCaption = new QLabel(actions);
    m_exportCaption->setStyleSheet(kLabelStyle);
    m_exportButton =
        makeImageButton(actions, QStringLiteral(":/images/export.png"), QSize(52, 32), "exportButton");
    connect(m_exportButton, &QToolButton::clicked, m_storage, &ThemeStorage::exportTheme);

    m_importCaption = new QLabel(actions);
    m_importCaption->setStyleSheet(kLabelStyle);
    m_importButton =
        makeImageButton(actions, QStringLiteral(":/images/import.png"), QSize(52, 32), "importButton");
    connect(m_importButton, &QToolButton::clicked, m_storage, QOverload<>::of(&ThemeStorage::importTheme));

    layout->addWidget(m_angleCaption);
    layout->addWidget(m_angleBox);
    layout->addSpacing(2);
    layout->addWidget(m_saveCaption);
    layout->addWidget(m_themeNameEdit);
    layout->addWidget(m_saveButton);
    layout->addSpacing(2);
    layout->addWidget(m_exportCaption);
    layout->addWidget(m_exportButton);
    layout->addSpacing(2);
    layout->addWidget(m_importCaption);
    layout->addWidget(m_importButton);
    return actions;
}

QWidget* DispHomePage::buildThemeLists()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("cont_2"));
    page->setAttribute(Qt::WA_StyledBackground);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);

    const QString buttonStyle =
        QStringLiteral("QPushButton { color: white; background: #202020; border: none; border-radius: 6px;"
                       " font-family: 'Arial'; font-size: 14px; }"
                       "QPushButton:checked { background: rgb(166, 135, 85); }");
    auto* buttons = new QHBoxLayout;
    m_officialButton = new QPushButton(page);
    m_officialButton->setObjectName(QStringLiteral("officialButton"));
    m_personalButton = new QPushButton(page);
    m_personalButton->setObjectName(QStringLiteral("personalButton"));
    for (QPushButton* button : {m_officialButton, m_personalButton}) {
        button->setCheckable(true);
        button->setFixedSize(130, 40);
        button->setStyleSheet(buttonStyle);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    layout->addLayout(buttons);

    m_themeListStack = new QStackedWidget(page);
    m_officialList = new DispThemeList(m_themeListStack, m_dialogs.get());
    m_officialList->setObjectName(QStringLiteral("officialThemeList"));
    m_personalList = new DispThemeList(m_themeListStack, m_dialogs.get());
    m_personalList->setObjectName(QStringLiteral("personalThemeList"));
    for (DispThemeList* list : {m_officialList, m_personalList}) {
        list->listWidget()->setStyleSheet(
            QStringLiteral("QListWidget { background: #030303; color: white; border: none; outline: none; }"
                           "QListWidget::item:selected { background: rgb(166, 135, 85); }"));
    }
    m_themeListStack->addWidget(m_officialList);
    m_themeListStack->addWidget(m_personalList);
    layout->addWidget(m_themeListStack, 1);

    m_themeListGroup = new QButtonGroup(this);
    m_themeListGroup->addButton(m_officialButton, 0);
    m_themeListGroup->addButton(m_personalButton, 1);
    connect(m_themeListGroup, &QButtonGroup::idClicked, m_themeListStack, &QStackedWidget::setCurrentIndex);
    m_officialButton->setChecked(true);
    return page;
}

QWidget* DispHomePage::buildPanelSelector()
{
    m_panelSelector = new QListWidget(this);
    m_panelSelector->setObjectName(QStringLiteral("panelSelector"));
    // 390 wide; as tall as the page leaves (the entries scroll).
    m_panelSelector->setFixedWidth(390);
    m_panelSelector->setSpacing(3);
    m_panelSelector->setStyleSheet(
        QStringLiteral("QListWidget { background: #030303; border: none; border-radius: 8px; outline: none; }"
                       "QListWidget::item { background: #202020; border-radius: 6px; }"
                       "QListWidget::item:selected { background: rgb(166, 135, 85); }"));
    for (const PanelEntry& entry : kPanelEntries) {
        auto* item = new QListWidgetItem(m_panelSelector);
        item->setData(Qt::UserRole, QString::fromLatin1(entry.name));
        item->setSizeHint(QSize(379, 116));
        auto* header = new QLabel(m_panelSelector);
        header->setObjectName(QString::fromLatin1(entry.name));
        header->setStyleSheet(QStringLiteral("color: white; font-family: 'Arial'; font-size: 16px;"
                                             " padding-left: 20px; background: transparent;"));
        m_panelSelector->setItemWidget(item, header);
        m_panelHeaders.append(header);
    }
    connect(m_panelSelector, &QListWidget::currentRowChanged, this, &DispHomePage::switchPanelTab);
    return m_panelSelector;
}

QWidget* DispHomePage::buildRightTabs()
{
    m_rightTabs = new QTabWidget(this);
    m_rightTabs->setObjectName(QStringLiteral("rightTabs"));
    // The preview and the panels below it, with room for the panels' scroll bar.
    m_rightTabs->setFixedWidth(kPreviewSide + 24);
    m_rightTabs->tabBar()->hide();
    m_rightTabs->setStyleSheet(QStringLiteral("QTabWidget::pane { border: none; }"));

    // The lighting-effect panel of seven-segment devices.
    m_effectsPanel = new ColorAdjustWidget(m_segmentScene, m_rightTabs);
    m_effectsPanel->setObjectName(QStringLiteral("effectsPanel"));
    m_rightTabs->addTab(m_effectsPanel, QString());

    m_displayPage = new QWidget(m_rightTabs);
    m_displayPage->setObjectName(QStringLiteral("displayPage"));
    auto* layout = new QVBoxLayout(m_displayPage);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    m_previewCaption = new QLabel(m_displayPage);
    m_previewCaption->setStyleSheet(kLabelStyle);
    m_previewLabel = new QLabel(m_displayPage);
    m_previewLabel->setObjectName(QStringLiteral("previewLabel"));
    // The scene view shows the panel large; the preview is a glance, so it
    // leaves the editor below it room in the 800-pixel window.
    m_previewLabel->setFixedSize(kPreviewSide, kPreviewBoxHeight);
    m_previewLabel->setAlignment(Qt::AlignCenter);
    m_previewLabel->setStyleSheet(QStringLiteral("background-color: #030303; border-radius: 8px;"));
    layout->addWidget(m_previewCaption);
    layout->addWidget(m_previewLabel, 0, Qt::AlignHCenter);

    // The eight editor panels, one tab each, in record order.
    m_panelTabs = new QStackedWidget(m_displayPage);
    m_panelTabs->setObjectName(QStringLiteral("panelTabs"));
    for (int i = 0; i < kPanelCount; ++i) {
        QWidget* editor = m_panels->inTagOrder()[size_t(i)]->editor();
        if (editor == nullptr) {
            // A panel not built yet shows its title.
            auto* title = new QLabel(m_panelTabs);
            title->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            title->setStyleSheet(QStringLiteral("color: #c0c0c0; background: #030303; border-radius: 8px;"
                                                " padding: 12px; font-size: 14px;"));
            m_panelTitles.insert(i, title);
            editor = title;
        }
        editor->setObjectName(QString::fromLatin1(kPanelEntries[i].name) + QLatin1String("Panel"));
        m_panelTabs->addWidget(editor);
    }
    // The panels scroll when the window is too low to show them whole.
    auto* panelScroll = new QScrollArea(m_displayPage);
    panelScroll->setObjectName(QStringLiteral("panelScroll"));
    panelScroll->setWidget(m_panelTabs);
    panelScroll->setWidgetResizable(true);
    panelScroll->setFrameShape(QFrame::NoFrame);
    panelScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    panelScroll->setMinimumHeight(120);
    panelScroll->setStyleSheet(QStringLiteral("QScrollArea { background: transparent; }"));
    layout->addWidget(panelScroll, 1);
    m_rightTabs->addTab(m_displayPage, QString());
    return m_rightTabs;
}

void DispHomePage::retranslate()
{
    m_standardButton->setToolTip(tr("Standard Default"));
    m_customButton->setToolTip(tr("Custom Theme"));
    m_officialButton->setText(tr("Official Theme"));
    m_personalButton->setText(tr("Personal Theme"));
    m_angleCaption->setText(tr("Angle:"));
    m_zoomFitButton->setText(tr("Fit"));
    m_zoomInButton->setToolTip(tr("Zoom in (Ctrl+wheel)"));
    m_zoomOutButton->setToolTip(tr("Zoom out (Ctrl+wheel)"));
    m_zoomActualButton->setToolTip(tr("Actual size"));
    m_zoomFitButton->setToolTip(tr("Fit the panel into the view"));
    m_saveCaption->setText(tr("Save As:"));
    m_exportCaption->setText(tr("Export:"));
    m_importCaption->setText(tr("Import:"));
    m_previewCaption->setText(tr("Preview"));
    for (int i = 0; i < kPanelCount; ++i) {
        const QString title = tr(kPanelEntries[i].title);
        m_panelHeaders.at(i)->setText(title);
        if (QLabel* placeholder = m_panelTitles.value(i)) {
            placeholder->setText(title);
        }
    }
}

void DispHomePage::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
    QWidget::changeEvent(event);
}

DisplayDeviceContext* DispHomePage::findDisplay(const QString& com) const
{
    for (const auto& context : m_displays) {
        if (context->port == com) {
            return context.get();
        }
    }
    return nullptr;
}

DigitalDeviceContext* DispHomePage::findDigital(const QString& com) const
{
    for (const auto& context : m_digitals) {
        if (context->port == com) {
            return context.get();
        }
    }
    return nullptr;
}

void DispHomePage::onDevInserted(QString com, int vid, int pid)
{
    qCDebug(lcHome).noquote() << "insert com: " << com;
    if (DeviceModels::isDisplay(vid, pid)) {
        if (findDisplay(com) != nullptr) {
            return;
        }
        auto context = std::make_unique<DisplayDeviceContext>();
        context->port = com;
        context->vendorId = vid;
        context->productId = pid;
        context->scene = new DispScene(m_sensorManager.get(), this);
        Transport* transport = context->transport();
        transport->setObjectName(QStringLiteral("Transport ") + com);
        transport->openDevice(com, vid, pid);
        connect(transport, &Transport::searchDeviceFinish, this, &DispHomePage::onSearchDeviceFinish);
        connect(transport, &Transport::deviceInfo, m_settingPage, &dispsettingwidget::setDeviceVersion);
        connect(transport, &Transport::updateFirmwareState, m_settingPage,
                &dispsettingwidget::onUpgradeState);
        m_displays.push_back(std::move(context));
    } else if (DeviceModels::isDigital(vid, pid)) {
        if (findDigital(com) != nullptr) {
            return;
        }
        auto context = std::make_unique<DigitalDeviceContext>();
        context->port = com;
        context->info = new SegParamInfo(m_segmentScene, this);
        if (!context->info->open(com)) {
            delete context->info;
            return;
        }
        m_digitals.push_back(std::move(context));
        selectDigital(m_digitals.back().get());
        listDevice(true, com, 0, 0);
    }
}

void DispHomePage::onSearchDeviceFinish(QString com)
{
    DisplayDeviceContext* context = findDisplay(com);
    if (context == nullptr) {
        return;
    }
    const int w = context->transport()->panelWidth();
    const int h = context->transport()->panelHeight();
    qCDebug(lcHome).noquote() << "DispHomePage::onSearchDeviceFinish: " << com << w << h;
    // A second answer to the search (the device was asked again) lists nothing twice.
    if (w <= 0 || h <= 0 || context->identified()) {
        return;
    }
    context->officialLibrary = ThemeStorage::libraryFolder(w, h, false);
    context->personalLibrary = ThemeStorage::libraryFolder(w, h, true);
    context->scene->setSceneSize(w, h);
    context->width = w;
    context->height = h;

    m_currentDisplay = context;
    m_currentDigital = nullptr;
    setThemeEditingVisible(true);
    OfficialThemes::installFor(w, h);
    m_storage->setDevice(w, h, QString());
    context->themePath = m_personalList->firstThemeFile();
    showScene(context->scene);
    m_panels->attach(context->scene, w, h);

    const QString stored = BaseInfo::themePath(BaseInfo::sizeGroup(w, h));
    QString chosen;
    if (!stored.isEmpty() && QFileInfo(stored).isFile()) {
        chosen = stored;
    } else if (!context->themePath.isEmpty() && QFileInfo(context->themePath).isFile()) {
        chosen = context->themePath;
    } else if (!m_officialList->firstThemeFile().isEmpty()) {
        // A first display of this size opens the first official theme, not an empty scene.
        chosen = m_officialList->firstThemeFile();
    }
    if (!chosen.isEmpty()) {
        context->themePath = chosen;
        m_themeNameEdit->setText(QFileInfo(chosen).completeBaseName());
        m_storage->setCurrentThemePath(chosen);
        m_storage->loadTheme(chosen);
    } else {
        m_themeNameEdit->clear();
        context->scene->clearWidgets();
        m_panels->clearAll();
        context->scene->clearSelection();
    }
    applyRotation();
    m_panels->fitCaptureToScene();
    ThemeStorage::removeStrayFiles(ThemeStorage::resolutionFolder(w, h));

    m_rightTabs->setCurrentIndex(1);
    listDevice(true, com, w, h);
    m_displayPage->show();
}

void DispHomePage::showScene(QGraphicsScene* scene)
{
    if (auto* dispScene = qobject_cast<DispScene*>(scene)) {
        m_currentScene = dispScene;
    }
    m_view->showScene(scene);
}

void DispHomePage::updateSelectDevice(QString com, bool type)
{
    qCDebug(lcHome).noquote() << "DispHomePage::updateSelectDevice: " << com << type;
    if (!type) {
        if (DigitalDeviceContext* context = findDigital(com)) {
            selectDigital(context);
        }
        return;
    }
    DisplayDeviceContext* context = findDisplay(com);
    if (context != nullptr && context->identified()) {
        selectDisplay(context);
    }
}

void DispHomePage::setThemeEditingVisible(bool visible)
{
    // A seven-segment device has no themes: its effects panel stands in for them.
    m_standardButton->setVisible(visible);
    m_customButton->setVisible(visible);
    m_themeActions->setVisible(visible);
    m_modeStack->setVisible(visible);
}

void DispHomePage::selectDisplay(DisplayDeviceContext* context)
{
    setThemeEditingVisible(true);
    m_themeNameEdit->setText(QFileInfo(context->themePath).completeBaseName());
    showScene(context->scene);
    m_currentDisplay = context;
    m_currentDigital = nullptr;
    m_storage->setDevice(context->width, context->height, context->themePath);
    // The scene keeps each panel's state, unsaved edits and rotation included.
    m_panels->attach(context->scene, context->width, context->height);
    const QSignalBlocker blocker(m_angleBox);
    m_angleBox->setCurrentIndex(m_panels->rotation());
    showBackgroundOrCaptureTab();
    m_rightTabs->setCurrentIndex(1);
    m_displayPage->show();
}

void DispHomePage::showBackgroundOrCaptureTab()
{
    const DispWidget* background = m_currentScene->findWidgetByName(QStringLiteral("image_background"));
    if (background != nullptr) {
        m_panels->setBackgroundActive(background->isVisible());
        switchPanelTab(background->isVisible() ? kBackgroundPanelIndex : kCapturePanelIndex);
    }
}

void DispHomePage::selectDigital(DigitalDeviceContext* context)
{
    setThemeEditingVisible(false);
    m_currentDigital = context;
    showScene(m_segmentScene);
    const SegEffectParams params = context->info->params();
    m_effectsPanel->setCurrentParam(params.type, params.onoff, params.color, params.light, params.function,
                                    params.angle);
    m_segmentScene->updateEffectParam(params.type, params.onoff, params.color, params.light, params.function,
                                      params.angle);
    m_rightTabs->setCurrentIndex(0);
    m_displayPage->hide();
}

void DispHomePage::updateCurrentSegParamInfo(quint32 type, qint32 onOff, quint32 color, quint32 light,
                                             qint32 function, double angle)
{
    if (m_currentDigital != nullptr) {
        m_currentDigital->info->updateEffectParam(type, onOff, color, light, function, angle);
    }
}

void DispHomePage::showPlaceholder()
{
    setThemeEditingVisible(true);
    m_currentDisplay = nullptr;
    m_currentDigital = nullptr;
    m_storage->clearDevice();
    m_officialList->clearThemeList();
    m_personalList->clearThemeList();
    m_themeNameEdit->clear();
    showScene(m_placeholderScene);
    m_panels->attach(m_placeholderScene, 0, 0);
    m_previewLabel->clear();
    m_previewKey = 0;
    m_previewImage = QImage();
}

void DispHomePage::onDevRemoved(QString com)
{
    if (findDisplay(com) != nullptr) {
        qCDebug(lcHome).noquote() << "removed device, com: " << com;
    }
}

void DispHomePage::clearDeviceInfo(QString com, int vid, int pid)
{
    qCDebug(lcHome).noquote() << "clearDeviceInfo: " << com << ", " << vid << ", " << pid;
    if (DeviceModels::isDigital(vid, pid)) {
        DigitalDeviceContext* context = findDigital(com);
        if (context == nullptr) {
            return;
        }
        if (m_currentDigital == context) {
            m_currentDigital = nullptr;
        }
        delete context->info;
        m_digitals.erase(std::find_if(m_digitals.begin(), m_digitals.end(),
                                      [context](const auto& entry) { return entry.get() == context; }));
        listDevice(false, com, 0, 0);
    } else if (DeviceModels::isDisplay(vid, pid)) {
        DisplayDeviceContext* context = findDisplay(com);
        if (context == nullptr) {
            return;
        }
        qCDebug(lcHome).noquote() << "remove com: " << com;
        const int w = context->width;
        const int h = context->height;
        if (m_currentDisplay == context) {
            m_currentDisplay = nullptr;
            m_storage->clearDevice();
            showScene(m_placeholderScene);
        }
        releaseDisplay(context);
        m_officialList->clearThemeList();
        m_personalList->clearThemeList();
        m_displays.erase(std::find_if(m_displays.begin(), m_displays.end(),
                                      [context](const auto& entry) { return entry.get() == context; }));
        listDevice(false, com, w, h);
    } else {
        return;
    }

    // The device list makes its last entry current; the page edits that
    // same device, display or digital.
    const QString last = m_listedPorts.isEmpty() ? QString() : m_listedPorts.last();
    if (DisplayDeviceContext* display = findDisplay(last)) {
        selectDisplay(display);
    } else if (DigitalDeviceContext* digital = findDigital(last)) {
        m_panels->attach(m_placeholderScene, 0, 0);
        selectDigital(digital);
        return;
    } else {
        showPlaceholder();
    }
    m_rightTabs->setCurrentIndex(1);
    m_displayPage->show();
}

void DispHomePage::listDevice(bool state, const QString& com, int w, int h)
{
    m_listedPorts.removeAll(com);
    if (state) {
        m_listedPorts.append(com);
    }
    emit updateDeviceList(state, com, w, h);
}

void DispHomePage::releaseDisplay(DisplayDeviceContext* context)
{
    // The panels let go of the scene's items before it goes away; the next
    // attach shows another scene.
    m_panels->pointAt(context->scene);
    m_panels->stopMedia();
    // The thread stops before the objects it uses go away.
    context->scene->clearThread();
    m_panels->clearItemPanels();
    if (m_settingPage->transport() == context->transport()) {
        m_settingPage->setDevice(nullptr, nullptr);
    }
    delete context->scene;
    context->scene = nullptr;
}

bool DispHomePage::uploadRunning() const
{
    return std::any_of(m_displays.begin(), m_displays.end(),
                       [](const auto& context) { return context->transport()->uploadPending(); });
}

void DispHomePage::cancelUploads()
{
    for (const auto& context : m_displays) {
        context->transport()->cancelUpload();
    }
}

void DispHomePage::releaseAllDevices()
{
    qCDebug(lcHome) << "DispHomePage::releaseAllDevices";
    m_currentDisplay = nullptr;
    m_currentDigital = nullptr;
    if (m_view != nullptr) {
        showScene(m_placeholderScene);
    }
    for (const auto& context : m_displays) {
        releaseDisplay(context.get());
    }
    m_displays.clear();
    m_panels->attach(m_view != nullptr ? m_currentScene : nullptr, 0, 0);
    m_listedPorts.clear();
    for (const auto& context : m_digitals) {
        delete context->info;
    }
    m_digitals.clear();
}

void DispHomePage::openSettingPage()
{
    qCDebug(lcHome) << "DispHomePage::openSettingPage";
    if (m_currentDisplay != nullptr) {
        m_settingPage->setDevice(m_currentDisplay->scene, m_currentDisplay->transport());
        m_settingPage->setExpansionTicked(m_currentDisplay->transport()->expansionMode() != 0);
    }
    m_settingPage->show();
    m_settingPage->raise();
    m_settingPage->activateWindow();
}

void DispHomePage::forwardBrightness(int percent)
{
    for (const auto& context : m_displays) {
        context->transport()->setBrightness(percent);
    }
}

void DispHomePage::homePageStackSelect(int index)
{
    m_view->horizontalScrollBar()->setValue(0);
    m_view->verticalScrollBar()->setValue(0);
    if (index < 0 || index >= m_modeStack->count()) {
        return;
    }
    m_modeStack->setCurrentIndex(index);
    if (QAbstractButton* button = m_modeGroup->button(index)) {
        button->setChecked(true);
    }
}

void DispHomePage::switchPanelTab(int index)
{
    if (index >= 0 && index < m_panelTabs->count()) {
        m_panelTabs->setCurrentIndex(index);
    }
}

QSize DispHomePage::previewSize(const QSize& frameSize)
{
    const int w = frameSize.width();
    const int h = frameSize.height();
    if (w <= kPreviewSide && h <= kPreviewSide) {
        return frameSize;
    }
    if (w >= h) {
        return QSize(kPreviewSide, int(qint64(h) * kPreviewSide / w));
    }
    return QSize(int(qint64(w) * kPreviewSide / h), kPreviewSide);
}

void DispHomePage::updateFrame()
{
    // Drawn only where it can be seen, and once per new frame: an unchanged
    // scene keeps its frame, so a still theme costs the preview nothing.
    if (m_currentDisplay == nullptr || m_currentDigital != nullptr || !m_previewLabel->isVisible() ||
        window()->isMinimized()) {
        return;
    }
    const QImage frame = m_currentDisplay->scene->frameImage();
    if (frame.isNull() || frame.cacheKey() == m_previewKey) {
        return;
    }
    m_previewKey = frame.cacheKey();
    const QSize size = previewSize(frame.size());
    m_previewImage =
        size == frame.size() ? frame : frame.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // The page shows the preview within its box; previewImage() keeps the full preview size.
    const QSize box = m_previewLabel->size();
    const bool fits = m_previewImage.width() <= box.width() && m_previewImage.height() <= box.height();
    m_previewLabel->setPixmap(QPixmap::fromImage(
        fits ? m_previewImage : m_previewImage.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

QImage DispHomePage::previewImage() const
{
    return m_previewImage;
}

void DispHomePage::onAngleChanged(int index)
{
    if (index < 0 || index > 3) {
        return;
    }
    m_currentScene->setRotation(index);
    m_panels->setRotation(index);
}

void DispHomePage::clearSceneForLoad()
{
    m_currentScene->clearSelection();
    m_currentScene->clearWidgets();
    m_currentScene->resetPanelStoreCounters();
}

void DispHomePage::finishLoad()
{
    showBackgroundOrCaptureTab();
    m_currentScene->clearSelection();
}

void DispHomePage::stopDecodersForSave()
{
    QList<DispWidget*> media = m_currentScene->iconWidgets() + m_currentScene->maskWidgets();
    media.append(m_currentScene->findWidgetByName(QStringLiteral("image_background")));
    for (DispWidget* widget : media) {
        if (widget != nullptr) {
            widget->stopDecoder();
        }
    }
}

void DispHomePage::storeRotation()
{
    m_panels->setRotation(m_angleBox->currentIndex());
}

void DispHomePage::applyRotation()
{
    const int rotation = m_panels->rotation();
    m_currentScene->setRotation(rotation);
    m_panels->setRotation(rotation);
    const QSignalBlocker blocker(m_angleBox);
    m_angleBox->setCurrentIndex(rotation);
}

void DispHomePage::setThemeName(const QString& name)
{
    m_themeNameEdit->setText(name);
}

void DispHomePage::pointMediaAt(const QString& stem)
{
    m_panels->pointMediaAt(stem);
}

void DispHomePage::stopMediaPlayback()
{
    m_panels->stopMedia();
}
