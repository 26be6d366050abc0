#include "dispbackgroundbox.h"

#include "backgroundrecord.h"
#include "datadir.h"
#include "dispcolorselectbutton.h"
#include "dispimagewidget.h"
#include "dispscene.h"
#include "panelslog.h"
#include "thememedia.h"
#include "themerecordreader.h"
#include "themetags.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDataStream>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const char* const kBackgroundName = "image_background";

} // namespace

dispbackgroundbox::dispbackgroundbox(QWidget* parent) : QWidget(parent), m_link(-1, {}, {})
{
    // Dark like the other panels; the inputs keep their own look.
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(
        QStringLiteral("dispbackgroundbox { background: #030303; border-radius: 8px; }"
                       "QLabel { color: white; font-family: 'Arial'; font-size: 13px; }"
                       "QPushButton#backgroundHeader { color: white; font-size: 16px; border: none; }"));
    m_header = new QPushButton(tr("Background Display"), this);
    m_header->setFlat(true);
    m_header->setObjectName(QStringLiteral("backgroundHeader"));
    m_shownBox = new QCheckBox(this);
    m_shownBox->setObjectName(QStringLiteral("backgroundShownBox"));
    m_shownBox->setChecked(true);
    m_shownBox->setStyleSheet(
        QStringLiteral("QCheckBox::indicator{width:40px;height:40px;}"
                       "QCheckBox::indicator:unchecked{image:url(:/images/home/vedio_bg.png);}"
                       "QCheckBox::indicator:checked{image:url(:/images/home/vedio_bg_pressed.png);}"));
    auto* headerRow = new QHBoxLayout;
    headerRow->addWidget(m_header);
    headerRow->addStretch();
    headerRow->addWidget(m_shownBox);

    m_typeBox = new QComboBox(this);
    m_typeBox->setObjectName(QStringLiteral("backgroundTypeBox"));
    m_typeBox->addItems({tr("Color"), tr("Picture"), tr("Video")});

    m_tabs = new QStackedWidget(this);
    auto* colourPage = new QWidget;
    auto* colourRow = new QHBoxLayout(colourPage);
    colourRow->addWidget(new QLabel(tr("Color:")));
    m_colorButton =
        new DispColorSelectButton(QStringLiteral(":/images/textpointer.png"), Qt::black, colourPage);
    m_colorButton->setFixedSize(30, 48);
    colourRow->addWidget(m_colorButton);
    colourRow->addStretch();
    m_tabs->addWidget(colourPage);
    const auto mediaPage = [this](QLineEdit*& edit) {
        auto* page = new QWidget;
        auto* row = new QHBoxLayout(page);
        row->addWidget(new QLabel(tr("Path:")));
        edit = new QLineEdit;
        edit->setReadOnly(true);
        edit->setFixedSize(170, 28);
        row->addWidget(edit);
        auto* browseButton = new QToolButton;
        browseButton->setText(QStringLiteral("..."));
        connect(browseButton, &QToolButton::clicked, this, &dispbackgroundbox::browse);
        row->addWidget(browseButton);
        row->addStretch();
        m_tabs->addWidget(page);
    };
    mediaPage(m_pictureEdit);
    mediaPage(m_videoEdit);

    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(new QLabel(tr("Type:")));
    typeRow->addWidget(m_typeBox);
    typeRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(headerRow);
    layout->addLayout(typeRow);
    layout->addWidget(m_tabs);
    layout->addStretch();

    connect(m_header, &QPushButton::clicked, this, &dispbackgroundbox::selectBackground);
    connect(m_shownBox, &QCheckBox::toggled, this, &dispbackgroundbox::shownToggled);
    connect(m_typeBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &dispbackgroundbox::typeChosen);
    connect(m_colorButton, &DispColorSelectButton::colorChanged, this, &dispbackgroundbox::colourChosen);
}

qint32 dispbackgroundbox::themeTag() const
{
    return BackgroundTag;
}

DispImageWidget* dispbackgroundbox::backgroundWidget() const
{
    DispScene* s = m_link.scene();
    return s != nullptr ? qobject_cast<DispImageWidget*>(s->findWidgetByName(QLatin1String(kBackgroundName)))
                        : nullptr;
}

int dispbackgroundbox::type() const
{
    return m_link.backgroundState().type;
}

QString dispbackgroundbox::picturePath() const
{
    return m_link.backgroundState().path;
}

QString dispbackgroundbox::videoPath() const
{
    return m_link.backgroundState().secondPath;
}

QString& dispbackgroundbox::mediaPathOf(int type)
{
    DispScene::BackgroundState& state = m_link.backgroundState();
    return type == VideoType ? state.secondPath : state.path;
}

void dispbackgroundbox::attachScene(DispScene* scene)
{
    m_link.attach(scene);
    ensureBackground();
    showState();
}

void dispbackgroundbox::pointAtScene(DispScene* scene)
{
    m_link.point(scene);
}

void dispbackgroundbox::ensureBackground()
{
    DispScene* s = m_link.scene();
    if (s == nullptr || backgroundWidget() != nullptr) {
        return;
    }
    DispImageWidget* widget = s->addImageWidget(QStringLiteral("_background"), QPointF(0, 0));
    if (widget == nullptr) {
        return;
    }
    widget->setFlag(QGraphicsItem::ItemIsMovable, false);
    widget->setFlag(QGraphicsItem::ItemIsSelectable, false);
    widget->setZValue(-1.0);
    widget->setVisible(m_link.backgroundState().shown);
    fitBackground();
    // A new background shows the panel's colour until a theme or the user
    // gives it a picture or a video.
    widget->setHold(true);
    widget->fillColor(m_link.backgroundState().color);
}

void dispbackgroundbox::fitBackground()
{
    DispImageWidget* widget = backgroundWidget();
    DispScene* s = m_link.scene();
    if (widget == nullptr || s == nullptr) {
        return;
    }
    widget->setPos(0, 0);
    widget->setImageGeometry(s->sceneRect());
}

void dispbackgroundbox::applyMode()
{
    DispImageWidget* widget = backgroundWidget();
    if (widget == nullptr) {
        return;
    }
    const DispScene::BackgroundState& state = m_link.backgroundState();
    if (state.type == ColourType) {
        widget->setHold(true);
        widget->fillColor(state.color);
        return;
    }
    const QString path = state.type == VideoType ? state.secondPath : state.path;
    if (!path.isEmpty() && QFileInfo::exists(path)) {
        widget->setHold(false);
        widget->setMediaPath(path, true);
    }
}

void dispbackgroundbox::showState()
{
    const DispScene::BackgroundState& state = m_link.backgroundState();
    const QSignalBlocker typeBlocker(m_typeBox);
    const QSignalBlocker shownBlocker(m_shownBox);
    m_typeBox->setCurrentIndex(qBound(0, state.type, 2));
    m_tabs->setCurrentIndex(qBound(0, state.type, 2));
    m_colorButton->setColor(state.color);
    m_pictureEdit->setText(state.path);
    m_videoEdit->setText(state.secondPath);
    m_shownBox->setChecked(state.shown);
}

void dispbackgroundbox::updateAttribute()
{
    showState();
}

void dispbackgroundbox::clearTheme()
{
    ensureBackground();
}

void dispbackgroundbox::typeChosen(int type)
{
    m_tabs->setCurrentIndex(type);
    m_link.backgroundState().type = type;
    applyMode();
    m_link.edited();
}

void dispbackgroundbox::colourChosen(const QColor& color)
{
    m_link.backgroundState().color = color;
    if (DispImageWidget* widget = backgroundWidget()) {
        widget->setHold(true);
        widget->fillColor(color);
    }
    m_link.edited();
}

void dispbackgroundbox::shownToggled(bool shown)
{
    m_link.backgroundState().shown = shown;
    if (DispImageWidget* widget = backgroundWidget()) {
        widget->setVisible(shown);
    }
}

void dispbackgroundbox::setActive(bool active)
{
    m_shownBox->setChecked(active);
    shownToggled(active);
}

void dispbackgroundbox::selectBackground()
{
    DispImageWidget* widget = backgroundWidget();
    DispScene* s = m_link.scene();
    if (widget == nullptr || s == nullptr) {
        return;
    }
    s->clearSelection();
    widget->setSelected(true);
    s->startDeselectCountdown();
}

int dispbackgroundbox::rotation() const
{
    return m_link.backgroundState().rotation;
}

void dispbackgroundbox::setDeviceSize(int width, int height)
{
    m_width = width;
    m_height = height;
}

void dispbackgroundbox::setRotation(int quarterTurns)
{
    if (quarterTurns < 0 || quarterTurns > 3) {
        return;
    }
    m_link.backgroundState().rotation = quarterTurns;
    DispScene* s = m_link.scene();
    if (s == nullptr || m_width <= 0 || m_height <= 0 || m_width == m_height ||
        backgroundWidget() == nullptr) {
        return;
    }
    const bool sideways = quarterTurns % 2 != 0;
    s->resizeScene(sideways ? m_height : m_width, sideways ? m_width : m_height);
    fitBackground();
}

QSize dispbackgroundbox::frameSize() const
{
    return rotation() % 2 != 0 ? QSize(m_height, m_width) : QSize(m_width, m_height);
}

void dispbackgroundbox::browse()
{
    const int kind = m_typeBox->currentIndex();
    const QString filter = kind == PictureType ? tr("Picture Files (*.png *.jpg *.bmp)")
                                               : tr("Video Files (*.gif *webp *.mp4 *.mkv)");
    chooseMedia(kind, QFileDialog::getOpenFileName(nullptr, tr("Open Image"), QString(), filter));
}

void dispbackgroundbox::chooseMedia(int kind, const QString& path)
{
    if (path.isEmpty() || (kind != PictureType && kind != VideoType) || m_width <= 0 || m_height <= 0) {
        return;
    }
    const QString output = Panelcast::dataDirectory() + QStringLiteral("/themes/") +
                           QString::number(m_width) + QString::number(m_height) + QStringLiteral("/bg_") +
                           QFileInfo(path).fileName();
    emit clipRequested(kind, path, output, frameSize());
}

void dispbackgroundbox::setClippedMedia(int imageType, const QString& path)
{
    if ((imageType != PictureType && imageType != VideoType) || path.isEmpty()) {
        return;
    }
    mediaPathOf(imageType) = path;
    m_link.backgroundState().type = imageType;
    showState();
    applyMode();
    m_link.edited();
}

void dispbackgroundbox::stopMedia()
{
    qCDebug(lcPanels) << "dispbackgroundbox::clearThread";
    if (DispImageWidget* widget = backgroundWidget()) {
        widget->stopDecoder();
    }
}

void dispbackgroundbox::pointMediaAt(const QString& stem)
{
    const int kind = type();
    if (kind != PictureType && kind != VideoType) {
        return;
    }
    QString& path = mediaPathOf(kind);
    if (path.isEmpty()) {
        return;
    }
    const QFileInfo info(stem);
    path = info.absolutePath() + QStringLiteral("/theme_") + info.fileName() + QStringLiteral("/res") +
           QLatin1Char('/') + QFileInfo(path).fileName();
    showState();
    // The copy in the new theme plays from now on; the file it came from
    // may be tidied away.
    if (QFileInfo::exists(path)) {
        applyMode();
    }
}

void dispbackgroundbox::writeThemeRecord(QDataStream& out, const QString& resourceFolder)
{
    const DispScene::BackgroundState& state = m_link.backgroundState();
    qCDebug(lcPanels).noquote() << "save rotate: " << state.rotation;
    BackgroundRecord record;
    record.kind = state.type;
    record.colour = state.color;
    record.rotation = state.rotation;
    record.visible = state.shown;
    record.fileName = QLatin1String("");
    const QString media = state.type == PictureType ? state.path
                          : state.type == VideoType ? state.secondPath
                                                    : QString();
    if (!media.isEmpty()) {
        record.fileName = ThemeMedia::storeInResources(media, resourceFolder);
    }
    record.write(out);
}

void dispbackgroundbox::readThemeRecord(ThemeRecordReader& in, const QString& themeFolder)
{
    DispScene::BackgroundState& state = m_link.backgroundState();
    state.path.clear();
    state.secondPath.clear();
    BackgroundRecord record;
    if (!record.read(in)) {
        showState();
        return;
    }
    state.type = record.kind;
    state.color = record.colour;
    state.rotation = record.rotation;
    state.shown = record.visible;
    if (record.kind != ColourType) {
        mediaPathOf(record.kind) = ThemeMedia::resourcePath(themeFolder, record.fileName);
    }
    showState();
    ensureBackground();
    DispScene* s = m_link.scene();
    if (s != nullptr && m_width > 0 && m_height > 0) {
        const bool sideways = record.rotation % 2 != 0;
        s->resizeScene(sideways ? m_height : m_width, sideways ? m_width : m_height);
    }
    if (DispImageWidget* widget = backgroundWidget()) {
        widget->setVisible(record.visible);
        fitBackground();
    }
    applyMode();
}
