#include "dispsysteminfobox.h"

#include "dispcolorselectbutton.h"
#include "dispcustomtextbox.h"
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

// One widget's fields in the record.
struct WidgetFields
{
    QString name;
    QPointF position;
    QColor color;
    QFont font;
    QString text;
    double opacity = 1;
    bool visible = true;

    bool read(ThemeRecordReader& in)
    {
        return in.readString(name) && in.readPointF(position) && readThemeColor(in, color) &&
               readThemeFont(in, font) && in.readString(text) && in.readDouble(opacity) &&
               in.readBool(visible);
    }

    static void write(QDataStream& out, const DispNumberWidget* widget)
    {
        out << widget->objectName() << widget->pos() << widget->color() << widget->font() << widget->text()
            << widget->opacity() << widget->isVisible();
    }

    void apply(DispNumberWidget* widget) const
    {
        if (ItemListPanel::saneName(name, QStringLiteral("data"))) {
            widget->setObjectName(name);
        } else {
            qCWarning(lcPanels).noquote() << "dispsysteminfobox: name refused:" << name.left(64);
        }
        widget->setColor(color);
        widget->setFont(font);
        widget->setText(text.left(kMaxNameLength));
        if (ItemListPanel::sanePosition(position)) {
            widget->setPos(position);
        }
        widget->setOpacity(ItemListPanel::saneOpacity(opacity));
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
    grid->addWidget(m_typeBox, 0, 1, Qt::AlignLeft);

    grid->addWidget(new QLabel(tr("Custom Name:"), this), 1, 0);
    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("nameEdit"));
    m_nameEdit->setPlaceholderText(tr("Input Item Name"));
    m_nameEdit->setFixedSize(165, 28);
    grid->addWidget(m_nameEdit, 1, 1, Qt::AlignLeft);

    m_colorButton =
        new DispColorSelectButton(QStringLiteral(":/images/textpointer.png"), QColor(255, 200, 0), this);
    m_colorButton->setObjectName(QStringLiteral("colorButton"));
    m_colorButton->setFixedSize(30, 48);
    m_fontButton = new DispFontSelectButton(this);
    m_fontButton->setObjectName(QStringLiteral("fontButton"));
    m_fontButton->setFixedSize(164, 34);
    m_fontButton->setFont(dispcustomtextbox::initialFont());
    grid->addWidget(m_colorButton, 2, 0);
    grid->addWidget(m_fontButton, 2, 1, Qt::AlignLeft);

    m_opacity = new OpacityRow(this);
    grid->addWidget(m_opacity, 3, 0, 1, 2);
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
    const auto both = [this](const std::function<void(DispNumberWidget*)>& change) {
        QGraphicsItem* item = currentItem();
        for (DispNumberWidget* widget : {numberOf(item), captionOf(item)}) {
            if (widget != nullptr) {
                change(widget);
            }
        }
        if (item != nullptr) {
            edited();
        }
    };
    connect(m_colorButton, &DispColorSelectButton::colorChanged, this,
            [both](const QColor& color) { both([&](DispNumberWidget* w) { w->setColor(color); }); });
    connect(m_fontButton, &DispFontSelectButton::fontChanged, this,
            [both](const QFont& font) { both([&](DispNumberWidget* w) { w->setFont(font); }); });
    connect(m_opacity, &OpacityRow::opacityChanged, this,
            [both](double opacity) { both([&](DispNumberWidget* w) { w->setOpacity(opacity); }); });
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
    const QFont font = dispcustomtextbox::initialFont();
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
    m_colorButton->setColor(number->color());
    m_fontButton->setFont(number->font());
    m_opacity->showOpacity(number->opacity());
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
