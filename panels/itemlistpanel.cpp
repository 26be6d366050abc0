#include "itemlistpanel.h"

#include "baseinfo.h"
#include "dispcolorselectbutton.h"
#include "dispfontselectbutton.h"
#include "opacityrow.h"
#include "panelslog.h"
#include "themerecordreader.h"
#include "themevalues.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <functional>

namespace {

constexpr int kEntrySide = 48;

} // namespace

ItemListPanel::ItemListPanel(qint32 tag, int storeSlot, int limit, QWidget* parent)
    : QWidget(parent), m_tag(tag), m_limit(limit),
      m_link(
          storeSlot, [this](QGraphicsItem* item) { onSceneSelected(item); },
          [this](QGraphicsItem* item) { onSceneDeleted(item); })
{
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral(
        "ItemListPanel, QWidget#panelBody { background: #030303; border-radius: 8px; }"
        "QLabel, QCheckBox { color: white; font-family: 'Arial'; font-size: 13px; }"
        "QListWidget { background: transparent; border: none; }"
        "QToolButton#entryButton { color: white; background: #202020; border: 1px solid #3a3a3a;"
        " border-radius: 6px; font-size: 12px; }"
        "QToolButton#entryButton:checked { background: rgb(166, 135, 85); }"
        "QPushButton#addButton { color: white; background: #1d1d1d; border: 1px dashed #5a5a5a;"
        " border-radius: 6px; }"
        "QLineEdit, QPlainTextEdit, QComboBox { color: white; background: #202020; border: 1px solid #3a3a3a;"
        " border-radius: 4px; font-family: 'Arial'; font-size: 13px; }"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 8, 4, 8);
    layout->setSpacing(6);

    auto* header = new QWidget(this);
    header->setFixedSize(355, 30);
    auto* headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(0, 0, 0, 0);
    m_title = new QLabel(header);
    m_title->setObjectName(QStringLiteral("panelTitle"));
    m_title->setStyleSheet(QStringLiteral("font-size: 16px;"));
    m_showAllBox = new QCheckBox(header);
    m_showAllBox->setObjectName(QStringLiteral("showAllBox"));
    headerLayout->addWidget(m_title);
    headerLayout->addStretch();
    headerLayout->addWidget(m_showAllBox);
    connect(m_showAllBox, &QCheckBox::toggled, this, &ItemListPanel::onShowAllToggled);
    layout->addWidget(header);

    m_strip = new QListWidget(this);
    m_strip->setObjectName(QStringLiteral("itemStrip"));
    m_strip->setFixedSize(355, 70);
    m_strip->setFlow(QListView::LeftToRight);
    m_strip->setWrapping(false);
    m_strip->setSpacing(3);
    m_strip->setFrameShape(QFrame::NoFrame);
    m_strip->setSelectionMode(QAbstractItemView::NoSelection);
    m_strip->setFocusPolicy(Qt::NoFocus);
    m_addButton = new QPushButton(tr("Add"), m_strip);
    m_addButton->setObjectName(QStringLiteral("addButton"));
    m_addButton->setFixedSize(kEntrySide, kEntrySide);
    auto* addEntry = new QListWidgetItem(m_strip);
    addEntry->setSizeHint(QSize(kEntrySide, kEntrySide));
    m_strip->setItemWidget(addEntry, m_addButton);
    layout->addWidget(m_strip);

    m_controls = new QVBoxLayout;
    m_controls->setSpacing(6);
    layout->addLayout(m_controls);
    layout->addStretch();
}

ItemListPanel::~ItemListPanel() = default;

void ItemListPanel::setupList(const QString& title, const QString& entryText, const QString& image,
                              const QString& checkedImage)
{
    m_title->setText(title);
    m_entryText = entryText;
    m_image = image;
    m_checkedImage = checkedImage;
}

QFont ItemListPanel::initialFont()
{
    QFont font(BaseInfo::languageType() == 1 ? QStringLiteral("微软雅黑")
                                             : QStringLiteral("Microsoft YaHei"));
    font.setPointSize(22);
    return font;
}

void ItemListPanel::addStyleControls(QGridLayout* grid, int row)
{
    m_style.color =
        new DispColorSelectButton(QStringLiteral(":/images/textpointer.png"), QColor(255, 200, 0), this);
    m_style.color->setObjectName(QStringLiteral("colorButton"));
    m_style.color->setFixedSize(30, 48);
    m_style.font = new DispFontSelectButton(this);
    m_style.font->setObjectName(QStringLiteral("fontButton"));
    m_style.font->setFixedSize(164, 34);
    m_style.font->setFont(initialFont());
    m_style.opacity = new OpacityRow(this);
    grid->addWidget(m_style.color, row, 0);
    grid->addWidget(m_style.font, row, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(m_style.opacity, row + 1, 0, 1, 3);
    const auto editCurrent = [this](const std::function<void(QGraphicsItem*)>& change) {
        if (QGraphicsItem* item = currentItem()) {
            change(item);
            edited();
        }
    };
    connect(m_style.color, &DispColorSelectButton::colorChanged, this,
            [this, editCurrent](const QColor& color) {
                editCurrent([&](QGraphicsItem* item) { applyColor(item, color); });
            });
    connect(m_style.font, &DispFontSelectButton::fontChanged, this, [this, editCurrent](const QFont& font) {
        editCurrent([&](QGraphicsItem* item) { applyFont(item, font); });
    });
    connect(m_style.opacity, &OpacityRow::opacityChanged, this, [this, editCurrent](double opacity) {
        editCurrent([&](QGraphicsItem* item) { applyOpacity(item, opacity); });
    });
}

void ItemListPanel::applyColor(QGraphicsItem* item, const QColor& color)
{
    Q_UNUSED(item)
    Q_UNUSED(color)
}

void ItemListPanel::applyFont(QGraphicsItem* item, const QFont& font)
{
    Q_UNUSED(item)
    Q_UNUSED(font)
}

void ItemListPanel::applyOpacity(QGraphicsItem* item, double opacity)
{
    item->setOpacity(opacity);
}

bool ItemListPanel::ItemFields::read(ThemeRecordReader& in)
{
    return in.readString(name) && in.readPointF(position) && readThemeColor(in, color) &&
           readThemeFont(in, font) && in.readString(text) && in.readDouble(opacity);
}

void ItemListPanel::ItemFields::place(QGraphicsObject* item, const QString& typeWord) const
{
    if (saneName(name, typeWord)) {
        item->setObjectName(name);
    } else {
        qCWarning(lcPanels).noquote() << "ItemListPanel: name refused:" << name.left(64);
    }
    if (sanePosition(position)) {
        item->setPos(position);
    }
    item->setOpacity(saneOpacity(opacity));
}

void ItemListPanel::setShowAllText(const QString& text)
{
    m_showAllBox->setText(text);
}

int ItemListPanel::itemCount()
{
    return m_link.store().items.size();
}

QList<QGraphicsItem*> ItemListPanel::items()
{
    return m_link.store().items;
}

int ItemListPanel::currentIndex()
{
    return m_link.store().current;
}

QGraphicsItem* ItemListPanel::currentItem()
{
    const DispScene::PanelStore& store = m_link.store();
    return store.items.value(store.current, nullptr);
}

bool ItemListPanel::showAll()
{
    return m_link.store().shown;
}

void ItemListPanel::attachScene(DispScene* scene)
{
    m_link.attach(scene);
    rebuildEntries();
}

void ItemListPanel::pointAtScene(DispScene* scene)
{
    m_link.point(scene);
    m_link.prune();
}

void ItemListPanel::clearTheme()
{
    m_link.prune();
    DispScene::PanelStore& store = m_link.store();
    const QList<QGraphicsItem*> all = store.items;
    store.items.clear();
    store.counter = 0;
    store.current = -1;
    for (QGraphicsItem* item : all) {
        removeItemWidgets(item);
    }
    rebuildEntries();
}

void ItemListPanel::rebuildEntries()
{
    for (QToolButton* button : m_buttons) {
        delete m_strip->takeItem(0);
        button->deleteLater();
    }
    m_buttons.clear();
    DispScene::PanelStore& store = m_link.store();
    store.counter = store.items.size();
    for (int i = 0; i < store.items.size(); ++i) {
        appendEntry();
    }
    {
        const QSignalBlocker blocker(m_showAllBox);
        m_showAllBox->setChecked(store.shown);
    }
    if (store.items.isEmpty()) {
        controlsCleared();
    } else {
        makeCurrent(qBound(0, store.current, store.items.size() - 1));
        showCurrent();
    }
}

QToolButton* ItemListPanel::makeButton()
{
    auto* button = new QToolButton(m_strip);
    button->setObjectName(QStringLiteral("entryButton"));
    button->setCheckable(true);
    button->setText(m_entryText);
    button->setFixedSize(kEntrySide, kEntrySide);
    if (!m_image.isEmpty()) {
        button->setStyleSheet(QStringLiteral("QToolButton#entryButton { border-image: url(%1); }"
                                             "QToolButton#entryButton:checked { border-image: url(%2); }")
                                  .arg(m_image, m_checkedImage.isEmpty() ? m_image : m_checkedImage));
    }
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QToolButton::clicked, this, [this, button] { entryClicked(m_buttons.indexOf(button)); });
    connect(button, &QToolButton::customContextMenuRequested, this, [this, button](const QPoint& at) {
        // Only the current item offers its Delete action.
        const int index = m_buttons.indexOf(button);
        if (index != currentIndex()) {
            return;
        }
        QMenu menu(button);
        QAction* remove = menu.addAction(tr("Delete"));
        if (menu.exec(button->mapToGlobal(at)) == remove) {
            deleteEntry(m_buttons.indexOf(button));
        }
    });
    return button;
}

void ItemListPanel::appendEntry()
{
    QToolButton* button = makeButton();
    auto* entry = new QListWidgetItem;
    entry->setSizeHint(QSize(kEntrySide, kEntrySide));
    m_strip->insertItem(m_buttons.size(), entry);
    m_strip->setItemWidget(entry, button);
    m_buttons.append(button);
}

void ItemListPanel::makeCurrent(int index)
{
    DispScene::PanelStore& store = m_link.store();
    store.current = index;
    for (int i = 0; i < m_buttons.size(); ++i) {
        m_buttons.at(i)->setChecked(i == index);
    }
}

void ItemListPanel::showCurrent()
{
    if (QGraphicsItem* item = currentItem()) {
        fillControls(item);
    } else {
        controlsCleared();
    }
}

QGraphicsItem* ItemListPanel::addItem()
{
    DispScene* scene = m_link.scene();
    if (scene == nullptr || itemCount() >= m_limit) {
        return nullptr;
    }
    if (itemCount() == 0 && !m_showAllBox->isChecked()) {
        m_showAllBox->setChecked(true);
    }
    QGraphicsItem* item = createItem(scene);
    if (item == nullptr) {
        return nullptr;
    }
    DispScene::PanelStore& store = m_link.store();
    setItemShown(item, store.shown);
    store.items.append(item);
    store.counter = store.items.size();
    appendEntry();
    makeCurrent(store.items.size() - 1);
    showCurrent();
    return item;
}

void ItemListPanel::entryClicked(int index)
{
    QGraphicsItem* item = m_link.store().items.value(index, nullptr);
    if (item == nullptr) {
        return;
    }
    makeCurrent(index);
    if (DispScene* scene = m_link.scene()) {
        scene->clearSelection();
        item->setSelected(true);
    }
    fillControls(item);
    edited();
}

void ItemListPanel::deleteEntry(int index)
{
    QGraphicsItem* item = m_link.store().items.value(index, nullptr);
    if (item == nullptr) {
        return;
    }
    dropEntry(index);
    removeItemWidgets(item);
}

void ItemListPanel::dropEntry(int index)
{
    DispScene::PanelStore& store = m_link.store();
    QGraphicsItem* current = currentItem();
    store.items.removeAt(index);
    store.counter = store.items.size();
    delete m_strip->takeItem(index);
    m_buttons.takeAt(index)->deleteLater();
    qCDebug(lcPanels).noquote() << "listWidget row: " << index;
    const int kept = store.items.indexOf(current);
    makeCurrent(kept >= 0 ? kept : (store.items.isEmpty() ? -1 : 0));
    showCurrent();
}

void ItemListPanel::onShowAllToggled(bool shown)
{
    m_link.store().shown = shown;
    showAllChanged(shown);
}

void ItemListPanel::showAllChanged(bool shown)
{
    for (QGraphicsItem* item : m_link.store().items) {
        setItemShown(item, shown);
    }
}

void ItemListPanel::onSceneSelected(QGraphicsItem* sceneItem)
{
    const int index = m_link.store().items.indexOf(itemFor(DispScene::namedItem(sceneItem)));
    if (index >= 0) {
        makeCurrent(index);
        showCurrent();
    }
}

void ItemListPanel::onSceneDeleted(QGraphicsItem* sceneItem)
{
    QGraphicsItem* item = itemFor(DispScene::namedItem(sceneItem));
    const int index = m_link.store().items.indexOf(item);
    if (index < 0) {
        return;
    }
    dropEntry(index);
    itemDeletedOnScene(item);
}

void ItemListPanel::setItemShown(QGraphicsItem* item, bool shown)
{
    item->setVisible(shown);
}

void ItemListPanel::removeItemWidgets(QGraphicsItem* item)
{
    if (item->scene() != nullptr) {
        item->scene()->removeItem(item);
    }
    if (QGraphicsObject* object = item->toGraphicsObject()) {
        object->deleteLater();
    }
}

QGraphicsItem* ItemListPanel::itemFor(QGraphicsItem* sceneItem)
{
    return sceneItem;
}

bool ItemListPanel::saneName(const QString& name, const QString& typeWord)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_]{1,64}$"));
    return name.startsWith(typeWord) && plain.match(name).hasMatch();
}

bool ItemListPanel::sanePosition(const QPointF& position)
{
    return std::isfinite(position.x()) && std::isfinite(position.y()) &&
           std::abs(position.x()) <= kMaxCoordinate && std::abs(position.y()) <= kMaxCoordinate;
}

double ItemListPanel::saneOpacity(double opacity)
{
    return std::isnan(opacity) ? 1.0 : qBound(0.0, opacity, 1.0);
}

bool ItemListPanel::readHeader(ThemeRecordReader& in, bool& shown, qint32& count, int minItemBytes)
{
    m_refusalLogged = false;
    return in.readBool(shown) && in.readCount(count, minItemBytes);
}

bool ItemListPanel::roomForRecordItem()
{
    if (itemCount() < m_limit) {
        return true;
    }
    if (!m_refusalLogged) {
        m_refusalLogged = true;
        qCWarning(lcPanels).noquote() << metaObject()->className() << ": more than" << m_limit
                                      << "items in the record, the rest is not loaded";
    }
    return false;
}

void ItemListPanel::finishRead(bool shown)
{
    if (itemCount() > 0) {
        m_showAllBox->setChecked(shown);
    }
    showCurrent();
}
