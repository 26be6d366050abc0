#include "readoutitempanel.h"

#include "dispcolorselectbutton.h"
#include "dispscene.h"
#include "dispwidget.h"
#include "panelslog.h"
#include "sensorcatalogue.h"
#include "themerecordreader.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDataStream>
#include <QFormLayout>
#include <QGraphicsProxyWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// An item holds at least its name's length, geometry, block length, opacity,
// visibility and four integers.
constexpr int kMinItemBytes = 4 + 32 + 4 + 8 + 1 + 16;
const char* const kReadingType = "readingType";
const char* const kSensorClass = "sensorClass";
const char* const kSubClass = "subClass";

int intProperty(const DispWidget* widget, const char* name)
{
    return widget->property(name).toInt();
}

} // namespace

ReadoutItemPanel::ReadoutItemPanel(const QString& title, int storeSlot, const QString& buttonText,
                                   const QString& buttonImage, QWidget* parent)
    : QWidget(parent), m_link(
                           storeSlot, [this](QGraphicsItem* item) { onSceneSelected(item); },
                           [this](QGraphicsItem* item) { onSceneDeleted(item); }),
      m_buttonText(buttonText), m_buttonImage(buttonImage)
{
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("ReadoutItemPanel { background-color: #030303; border-radius: 8px; }"
                                 "QWidget { color: white; font-family: 'Arial'; }"
                                 "QListWidget { background-color: #1d1d1d; }"
                                 "QComboBox, QSpinBox { background-color: #202020; }"));
    auto* layout = new QVBoxLayout(this);

    auto* header = new QWidget(this);
    header->setFixedSize(355, 30);
    auto* headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(0, 0, 0, 0);
    headerLayout->addWidget(new QLabel(title, header));
    m_showAll = new QCheckBox(header);
    m_showAll->setObjectName(QStringLiteral("showAll"));
    headerLayout->addStretch();
    headerLayout->addWidget(m_showAll);
    connect(m_showAll, &QCheckBox::toggled, this, &ReadoutItemPanel::setShowAll);
    layout->addWidget(header);

    m_strip = new QListWidget(this);
    m_strip->setObjectName(QStringLiteral("itemStrip"));
    m_strip->setFixedSize(355, 70);
    m_strip->setFlow(QListView::LeftToRight);
    m_strip->setFrameShape(QFrame::NoFrame);
    layout->addWidget(m_strip);

    m_form = new QFormLayout;
    layout->addLayout(m_form);
    layout->addStretch();

    m_selectItem = new QComboBox(this);
    m_selectItem->setObjectName(QStringLiteral("selectItem"));
    for (int type = 0; type < DisplayTypes::kCount; ++type) {
        m_selectItem->addItem(DisplayTypes::name(type));
    }
    m_form->addRow(tr("Select Item:"), m_selectItem);

    m_backColor = new DispColorSelectButton(QString(), Qt::gray, this);
    m_foreColor = new DispColorSelectButton(QString(), Qt::green, this);
    m_gradientColor = new DispColorSelectButton(QString(), Qt::red, this);
    m_transparent = new QCheckBox(tr("Transparent"), this);
    m_backColor->setObjectName(QStringLiteral("backColor"));
    m_foreColor->setObjectName(QStringLiteral("foreColor"));
    m_gradientColor->setObjectName(QStringLiteral("gradientColor"));
    m_transparent->setObjectName(QStringLiteral("transparent"));
    m_opacity = new QSlider(Qt::Horizontal, this);
    m_opacity->setObjectName(QStringLiteral("opacity"));
    m_opacity->setRange(0, 100);
    m_opacity->setValue(100);
    m_opacityLabel = new QLabel(QStringLiteral("100%"), this);
    connect(m_opacity, &QSlider::valueChanged, this, [this](int value) {
        m_opacityLabel->setText(QString::number(value) + QLatin1Char('%'));
        if (!m_loading) {
            editCurrent<DispWidget>([value](DispWidget* widget) { widget->setOpacity(value / 100.0); });
        }
    });
    connect(m_selectItem, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
        if (!m_loading && index >= 0) {
            editCurrent<DispWidget>([this, index](DispWidget* widget) { setSensorType(widget, index); });
        }
    });
    rebuildStrip();
}

void ReadoutItemPanel::addOpacityRow()
{
    auto* row = new QHBoxLayout;
    row->addWidget(m_opacity);
    row->addWidget(m_opacityLabel);
    m_form->addRow(tr("TransParent:"), row);
}

DispScene::PanelStore& ReadoutItemPanel::store()
{
    return m_link.store();
}

QList<DispWidget*> ReadoutItemPanel::items()
{
    QList<DispWidget*> list;
    for (QGraphicsItem* item : qAsConst(store().items)) {
        list.append(static_cast<DispWidget*>(item));
    }
    return list;
}

DispWidget* ReadoutItemPanel::currentItem()
{
    DispScene::PanelStore& kept = store();
    return static_cast<DispWidget*>(kept.items.value(kept.current, nullptr));
}

bool ReadoutItemPanel::showAll()
{
    return store().shown;
}

void ReadoutItemPanel::attachScene(DispScene* scene)
{
    m_link.attach(scene);
    rebuildStrip();
    updateAttribute();
}

void ReadoutItemPanel::pointAtScene(DispScene* scene)
{
    m_link.point(scene);
}

DispWidget* ReadoutItemPanel::addItem()
{
    DispScene* scene = m_link.scene();
    DispScene::PanelStore& kept = store();
    if (scene == nullptr || kept.items.size() >= kMaxItems) {
        return nullptr;
    }
    if (kept.items.isEmpty() && !kept.shown) {
        setShowAll(true);
    }
    DispWidget* widget = newWidget(scene);
    if (widget == nullptr) {
        return nullptr;
    }
    prepareNewItem(widget);
    widget->setProperty(kReadingType, 1);
    widget->setProperty(kSensorClass, 11);
    widget->setProperty(kSubClass, 10);
    setSensorType(widget, 0);
    kept.items.append(widget);
    kept.counter = kept.items.size();
    kept.current = kept.items.size() - 1;
    rebuildStrip();
    return widget;
}

void ReadoutItemPanel::createNewItemBox()
{
    if (addItem() != nullptr) {
        updateAttribute();
        m_link.edited();
    }
}

void ReadoutItemPanel::itemButtonsSlot()
{
    const int index = m_buttons.indexOf(qobject_cast<QToolButton*>(sender()));
    if (index >= 0) {
        setCurrent(index);
    }
}

void ReadoutItemPanel::setCurrent(int index)
{
    store().current = index;
    for (int i = 0; i < m_buttons.size(); ++i) {
        m_buttons[i]->setChecked(i == index);
    }
    updateAttribute();
}

void ReadoutItemPanel::removeItemAt(int index, bool deleteWidget)
{
    DispScene::PanelStore& kept = store();
    if (index < 0 || index >= kept.items.size()) {
        return;
    }
    QGraphicsItem* item = kept.items.takeAt(index);
    if (deleteWidget && m_link.scene() != nullptr && item->scene() == m_link.scene()) {
        m_link.scene()->removeItem(item);
        static_cast<DispWidget*>(item)->deleteLater();
    }
    kept.counter = kept.items.size();
    kept.current = kept.items.isEmpty() ? -1 : 0;
    qCDebug(lcPanels).noquote() << "listWidget row: " << index;
    rebuildStrip();
    updateAttribute();
}

void ReadoutItemPanel::deleteCurrentItem()
{
    removeItemAt(store().current, true);
}

void ReadoutItemPanel::setShowAll(bool shown)
{
    store().shown = shown;
    if (m_showAll->isChecked() != shown) {
        const QSignalBlocker block(m_showAll);
        m_showAll->setChecked(shown);
    }
    for (DispWidget* widget : items()) {
        widget->setVisible(shown);
    }
}

void ReadoutItemPanel::rebuildStrip()
{
    m_strip->clear();
    m_buttons.clear();
    DispScene::PanelStore& kept = store();
    for (int i = 0; i < kept.items.size(); ++i) {
        auto* button = new QToolButton;
        button->setText(m_buttonText);
        button->setCheckable(true);
        button->setChecked(i == kept.current);
        button->setFixedSize(48, 48);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setIcon(QIcon(m_buttonImage));
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QToolButton::clicked, this, &ReadoutItemPanel::itemButtonsSlot);
        connect(button, &QWidget::customContextMenuRequested, this, [this, button](const QPoint& at) {
            // Offered only on the current item's button.
            if (m_buttons.indexOf(button) != store().current) {
                return;
            }
            QMenu menu(button);
            menu.addAction(tr("Delete"), this, &ReadoutItemPanel::deleteCurrentItem);
            menu.exec(button->mapToGlobal(at));
        });
        auto* entry = new QListWidgetItem(m_strip);
        entry->setSizeHint(QSize(48, 48));
        m_strip->setItemWidget(entry, button);
        m_buttons.append(button);
    }
    auto* add = new QPushButton(tr("Add"));
    add->setObjectName(QStringLiteral("addButton"));
    add->setFixedSize(48, 48);
    connect(add, &QPushButton::clicked, this, &ReadoutItemPanel::createNewItemBox);
    auto* entry = new QListWidgetItem(m_strip);
    entry->setSizeHint(QSize(48, 48));
    m_strip->setItemWidget(entry, add);
    const QSignalBlocker block(m_showAll);
    m_showAll->setChecked(kept.shown);
}

void ReadoutItemPanel::updateAttribute()
{
    DispWidget* widget = currentItem();
    if (widget == nullptr) {
        return;
    }
    m_loading = true;
    m_selectItem->setCurrentIndex(sensorType(widget));
    m_opacity->setValue(int(std::lround(widget->opacity() * 100)));
    m_opacityLabel->setText(QString::number(m_opacity->value()) + QLatin1Char('%'));
    loadKindControls(widget);
    m_loading = false;
}

void ReadoutItemPanel::onSceneSelected(QGraphicsItem* item)
{
    const int index = store().items.indexOf(DispScene::namedItem(item));
    if (index >= 0) {
        setCurrent(index);
    }
}

void ReadoutItemPanel::onSceneDeleted(QGraphicsItem* item)
{
    // The scene deletes the widget itself.
    removeItemAt(store().items.indexOf(DispScene::namedItem(item)), false);
}

void ReadoutItemPanel::clearTheme()
{
    // A theme load has already taken the scene's arcs and bars away.
    m_link.prune();
    DispScene::PanelStore& kept = store();
    while (!kept.items.isEmpty()) {
        removeItemAt(kept.items.size() - 1, true);
    }
    kept.counter = 0;
    kept.current = -1;
}

void ReadoutItemPanel::writeThemeRecord(QDataStream& out, const QString& resourceFolder)
{
    Q_UNUSED(resourceFolder)
    const QList<DispWidget*> list = items();
    out << store().shown << qint32(list.size());
    for (DispWidget* widget : list) {
        out << widget->objectName() << QRectF(widget->pos(), QSizeF(widget->contentWidget()->size()));
        writeKindFields(out, widget);
        out << double(widget->opacity()) << widget->isVisible() << qint32(sensorType(widget))
            << qint32(intProperty(widget, kReadingType)) << qint32(intProperty(widget, kSensorClass))
            << qint32(intProperty(widget, kSubClass));
    }
}

void ReadoutItemPanel::readThemeRecord(ThemeRecordReader& in, const QString& themeFolder)
{
    Q_UNUSED(themeFolder)
    bool shown = false;
    qint32 count = 0;
    if (!in.readBool(shown) || !in.readCount(count, kMinItemBytes)) {
        return;
    }
    for (qint32 i = 0; i < count; ++i) {
        QString name;
        QRectF geometry;
        KindFields fields;
        double opacity = 1.0;
        bool visible = true;
        qint32 numbers[4] = {0, 0, 0, 0};
        if (!in.readString(name) || !in.readRectF(geometry) || !readKindFields(in, &fields) ||
            !in.readDouble(opacity) || !in.readBool(visible)) {
            return;
        }
        for (qint32& number : numbers) {
            if (!in.readInt32(number)) {
                return;
            }
        }
        if (numbers[0] < 0 || numbers[0] >= DisplayTypes::kCount) {
            in.fail(QStringLiteral("display type %1").arg(numbers[0]));
            return;
        }
        DispWidget* widget = addItem();
        if (widget == nullptr) {
            return; // no scene, or the 20 items are there
        }
        if (!name.isEmpty()) {
            widget->setObjectName(name);
        }
        applyKindFields(widget, fields, geometry.size());
        if (std::isfinite(geometry.left()) && std::isfinite(geometry.top())) {
            widget->moveBy(geometry.left(), geometry.top());
        }
        widget->setOpacity(std::isfinite(opacity) ? std::clamp(opacity, 0.0, 1.0) : 1.0);
        widget->setVisible(visible);
        widget->setProperty(kReadingType, numbers[1]);
        widget->setProperty(kSensorClass, numbers[2]);
        widget->setProperty(kSubClass, numbers[3]);
        setSensorType(widget, numbers[0]);
    }
    if (count > 0) {
        store().shown = shown;
        const QSignalBlocker block(m_showAll);
        m_showAll->setChecked(shown);
    }
    updateAttribute();
}
