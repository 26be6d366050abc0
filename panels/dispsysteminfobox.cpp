#include "dispsysteminfobox.h"

#include "dispcolorselectbutton.h"
#include "dispfontselectbutton.h"
#include "dispnumberwidget.h"
#include "dispscene.h"
#include "dispsysteminfoview.h"
#include "opacityrow.h"
#include "panelslog.h"
#include "sensorcatalogue.h"
#include "themerecordreader.h"
#include "themetags.h"
#include "themevalues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDataStream>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QToolButton>

namespace {

const char* const kCaptionProperty = "caption";
constexpr int kMaxNameLength = 256;

// One widget's fields in the record: the common ones and its visibility.
struct WidgetFields : ItemListPanel::ItemFields
{
    bool visible = true;

    bool read(ThemeRecordReader& in) { return ItemFields::read(in) && in.readBool(visible); }

    static void write(QDataStream& out, const DispNumberWidget* widget)
    {
        out << widget->objectName() << widget->pos() << widget->color() << widget->font() << widget->text()
            << widget->opacity() << widget->isVisible();
    }

    void apply(DispNumberWidget* widget) const
    {
        widget->setColor(color);
        widget->setFont(font);
        widget->setText(text.left(kMaxNameLength));
        place(widget, QStringLiteral("data"));
        widget->setVisible(visible);
    }
};

// Two widgets of at least a name, a position, a colour, a font, a text, an
// opacity and a flag each, then four integers.
constexpr int kMinItemBytes = 2 * (4 + 16 + 11 + 4 + 4 + 8 + 1) + 16;

DispNumberWidget* numberOf(QGraphicsItem* item)
{
    return item != nullptr ? qobject_cast<DispNumberWidget*>(item->toGraphicsObject()) : nullptr;
}

} // namespace

dispsysteminfobox::dispsysteminfobox(DispSensorManager* manager, QWidget* parent)
    : ItemListPanel(SystemInfoTag, SystemInfoStore, kMaxItems, parent), m_manager(manager)
{
    setupList(tr("System Info"), tr("Sensor"), QStringLiteral(":/images/home/data.png"),
              QStringLiteral(":/images/home/data_pressed.png"));
    setShowAllText(tr("Display Name:"));

    m_view = new dispsysteminfoview(manager, this);
    controlsLayout()->addWidget(m_view);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->addWidget(new QLabel(tr("Select Item:"), this), 0, 0);
    m_typeBox = new QComboBox(this);
    m_typeBox->setObjectName(QStringLiteral("typeBox"));
    m_typeBox->setFixedSize(165, 28);
    for (int type = 0; type < DisplayTypes::kCount; ++type) {
        m_typeBox->addItem(DisplayTypes::name(type));
    }
    grid->addWidget(m_typeBox, 0, 1, 1, 2, Qt::AlignLeft);

    grid->addWidget(new QLabel(tr("Custom Name:"), this), 1, 0);
    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("nameEdit"));
    m_nameEdit->setPlaceholderText(tr("Input Item Name"));
    m_nameEdit->setFixedSize(165, 28);
    grid->addWidget(m_nameEdit, 1, 1, 1, 2, Qt::AlignLeft);

    addStyleControls(grid, 2);
    controlsLayout()->addLayout(grid);

    connect(addButton(), &QPushButton::clicked, this, &dispsysteminfobox::createNewItemBox);
    connect(m_typeBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int type) {
        if (DispNumberWidget* number = currentNumber()) {
            number->setSensorType(quint32(type));
            number->refreshValue();
            edited();
        }
    });
    connect(m_nameEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (DispNumberWidget* caption = captionOf(currentItem())) {
            caption->setText(text);
            edited();
        }
    });
}

DispNumberWidget* dispsysteminfobox::captionOf(QGraphicsItem* item)
{
    DispNumberWidget* number = numberOf(item);
    if (number == nullptr) {
        return nullptr;
    }
    auto* caption = qobject_cast<DispNumberWidget*>(number->property(kCaptionProperty).value<QObject*>());
    // A caption the scene deleted on its own is gone from the scene first.
    return caption != nullptr && caption->scene() == number->scene() ? caption : nullptr;
}

void dispsysteminfobox::applyColor(QGraphicsItem* item, const QColor& color)
{
    for (DispNumberWidget* widget : {numberOf(item), captionOf(item)}) {
        if (widget != nullptr) {
            widget->setColor(color);
        }
    }
}

void dispsysteminfobox::applyFont(QGraphicsItem* item, const QFont& font)
{
    for (DispNumberWidget* widget : {numberOf(item), captionOf(item)}) {
        if (widget != nullptr) {
            widget->setFont(font);
        }
    }
}

void dispsysteminfobox::applyOpacity(QGraphicsItem* item, double opacity)
{
    item->setOpacity(opacity);
    if (DispNumberWidget* caption = captionOf(item)) {
        caption->setOpacity(opacity);
    }
}

DispNumberWidget* dispsysteminfobox::currentNumber()
{
    return numberOf(currentItem());
}

void dispsysteminfobox::createNewItemBox()
{
    addItem();
}

void dispsysteminfobox::itemButtonsSlot()
{
    entryClicked(entryButtons().indexOf(qobject_cast<QToolButton*>(sender())));
}

QGraphicsItem* dispsysteminfobox::createItem(DispScene* scene)
{
    DispNumberWidget* caption = scene->addNumberWidget(QString(), QPointF(0, 0));
    DispNumberWidget* number =
        caption != nullptr ? scene->addNumberWidget(QString(), QPointF(0, 0)) : nullptr;
    if (number == nullptr) {
        return nullptr;
    }
    QRandomGenerator* random = QRandomGenerator::global();
    const QColor color(int(random->bounded(255)), int(random->bounded(255)), int(random->bounded(255)));
    const QFont font = initialFont();
    caption->setColor(color);
    caption->setFont(font);
    caption->setText(QStringLiteral("Name: "));
    number->setColor(color);
    number->setFont(font);
    number->setPos(caption->labelSize().width(), 0);
    number->setSensorType(0);
    number->refreshValue();
    number->setProperty(kCaptionProperty, QVariant::fromValue<QObject*>(caption));
    return number;
}

void dispsysteminfobox::setItemShown(QGraphicsItem* item, bool shown)
{
    if (DispNumberWidget* caption = captionOf(item)) {
        caption->setVisible(shown);
    }
}

void dispsysteminfobox::showAllChanged(bool shown)
{
    if (QGraphicsItem* item = currentItem()) {
        setItemShown(item, shown);
        edited();
    }
}

void dispsysteminfobox::removeItemWidgets(QGraphicsItem* item)
{
    if (DispNumberWidget* caption = captionOf(item)) {
        ItemListPanel::removeItemWidgets(caption);
    }
    ItemListPanel::removeItemWidgets(item);
}

QGraphicsItem* dispsysteminfobox::itemFor(QGraphicsItem* sceneItem)
{
    if (sceneItem == nullptr) {
        return nullptr;
    }
    for (QGraphicsItem* item : items()) {
        if (item == sceneItem || captionOf(item) == sceneItem) {
            return item;
        }
    }
    return nullptr;
}

void dispsysteminfobox::itemDeletedOnScene(QGraphicsItem* item)
{
    // The scene deletes the selected widgets; the other one of the pair goes too.
    DispNumberWidget* caption = captionOf(item);
    if (caption != nullptr && !caption->isSelected()) {
        ItemListPanel::removeItemWidgets(caption);
    }
    if (!item->isSelected()) {
        ItemListPanel::removeItemWidgets(item);
    }
}

void dispsysteminfobox::updateAttribute()
{
    if (QGraphicsItem* item = currentItem()) {
        fillControls(item);
    }
}

void dispsysteminfobox::fillControls(QGraphicsItem* item)
{
    DispNumberWidget* number = numberOf(item);
    if (number == nullptr) {
        return;
    }
    const QSignalBlocker blocker(m_typeBox);
    m_typeBox->setCurrentIndex(int(number->sensorType()) < DisplayTypes::kCount ? int(number->sensorType())
                                                                                : 0);
    DispNumberWidget* caption = captionOf(item);
    m_nameEdit->setText(caption != nullptr ? caption->text() : QString());
    if (caption != nullptr) {
        const QSignalBlocker blockSwitch(showAllBox());
        showAllBox()->setChecked(caption->isVisible());
    }
    style().color->setColor(number->color());
    style().font->setFont(number->font());
    style().opacity->showOpacity(number->opacity());
}

void dispsysteminfobox::writeThemeRecord(QDataStream& out, const QString& resourceFolder)
{
    Q_UNUSED(resourceFolder)
    QList<DispNumberWidget*> pairs;
    for (QGraphicsItem* item : items()) {
        if (captionOf(item) != nullptr) {
            pairs << captionOf(item) << numberOf(item);
        }
    }
    out << showAllBox()->isChecked() << qint32(pairs.size() / 2);
    for (int i = 0; i < pairs.size(); i += 2) {
        WidgetFields::write(out, pairs.at(i));
        WidgetFields::write(out, pairs.at(i + 1));
        out << qint32(pairs.at(i + 1)->sensorType()) << kReadingType << kClass << kSubClass;
    }
}

void dispsysteminfobox::readThemeRecord(ThemeRecordReader& in, const QString& themeFolder)
{
    Q_UNUSED(themeFolder)
    bool shown = false;
    qint32 count = 0;
    if (!readHeader(in, shown, count, kMinItemBytes)) {
        return;
    }
    WidgetFields caption;
    for (qint32 i = 0; i < count; ++i) {
        WidgetFields number;
        qint32 type = 0;
        qint32 unused = 0;
        if (!caption.read(in) || !number.read(in) || !in.readInt32(type) || !in.readInt32(unused) ||
            !in.readInt32(unused) || !in.readInt32(unused)) {
            break;
        }
        if (!roomForRecordItem()) {
            continue;
        }
        DispNumberWidget* widget = numberOf(addItem());
        if (widget == nullptr) {
            break;
        }
        caption.apply(captionOf(widget));
        number.apply(widget);
        if (type >= 0 && type < DisplayTypes::kCount) {
            widget->setSensorType(quint32(type));
        } else {
            qCWarning(lcPanels).noquote() << "dispsysteminfobox: display type refused:" << type;
        }
    }
    finishRead(shown);
    // The switch stands for the current (last) item's caption, which keeps its own stored state.
    if (DispNumberWidget* last = captionOf(currentItem())) {
        last->setVisible(caption.visible);
    }
}
