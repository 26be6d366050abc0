#include "disptimebox.h"

#include "dispcolorselectbutton.h"
#include "dispdatewidget.h"
#include "dispfontselectbutton.h"
#include "dispscene.h"
#include "opacityrow.h"
#include "panelslog.h"
#include "themerecordreader.h"
#include "themetags.h"

#include <QComboBox>
#include <QDataStream>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {

// Date type: chooser text and the date widget's format.
struct DateType
{
    const char* text;
    const char* format;
};
constexpr DateType kDateTypes[] = {
    {QT_TRANSLATE_NOOP("disptimebox", "YY/MM/DD"), "yyyy/MM/dd"},
    {QT_TRANSLATE_NOOP("disptimebox", "HH:MM:SS"), "hh:mm:ss"},
    {QT_TRANSLATE_NOOP("disptimebox", "Week"), "week"},
    {QT_TRANSLATE_NOOP("disptimebox", "MM/DD"), "MM/dd"},
    {QT_TRANSLATE_NOOP("disptimebox", "HH:MM"), "hh:mm"},
};
constexpr int kDateTypeCount = int(sizeof(kDateTypes) / sizeof(kDateTypes[0]));

// Every item holds at least a name, a position, a colour, a font, a text, an opacity and a date type.
constexpr int kMinItemBytes = 4 + 16 + 11 + 4 + 4 + 8 + 4;

} // namespace

QString disptimebox::formatOf(int dateType)
{
    return dateType >= 0 && dateType < kDateTypeCount ? QString::fromLatin1(kDateTypes[dateType].format)
                                                      : QString();
}

int disptimebox::dateTypeOf(const DispDateWidget* widget)
{
    for (int type = 0; type < kDateTypeCount; ++type) {
        if (widget->format() == QLatin1String(kDateTypes[type].format)) {
            return type;
        }
    }
    return 0;
}

disptimebox::disptimebox(QWidget* parent) : ItemListPanel(TimeTag, TimeStore, kMaxItems, parent)
{
    setupList(tr("Date Display"), tr("Date"));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->addWidget(new QLabel(tr("Date Type:"), this), 0, 0);
    m_typeBox = new QComboBox(this);
    m_typeBox->setObjectName(QStringLiteral("dateTypeBox"));
    m_typeBox->setFixedSize(120, 26);
    for (const DateType& type : kDateTypes) {
        m_typeBox->addItem(tr(type.text));
    }
    grid->addWidget(m_typeBox, 0, 1, 1, 2, Qt::AlignLeft);

    addStyleControls(grid, 1);
    controlsLayout()->addLayout(grid);

    connect(addButton(), &QPushButton::clicked, this, &disptimebox::createNewItemBox);
    connect(m_typeBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &disptimebox::setDateType);
}

void disptimebox::applyColor(QGraphicsItem* item, const QColor& color)
{
    qobject_cast<DispDateWidget*>(item->toGraphicsObject())->setColor(color);
}

void disptimebox::applyFont(QGraphicsItem* item, const QFont& font)
{
    qobject_cast<DispDateWidget*>(item->toGraphicsObject())->setFont(font);
}

DispDateWidget* disptimebox::currentDate()
{
    QGraphicsItem* item = currentItem();
    return item != nullptr ? qobject_cast<DispDateWidget*>(item->toGraphicsObject()) : nullptr;
}

void disptimebox::setDateType(int index)
{
    DispDateWidget* date = currentDate();
    const QString format = formatOf(index);
    if (date == nullptr || format.isEmpty()) {
        return;
    }
    date->setFormat(format);
    edited();
}

void disptimebox::createNewItemBox()
{
    addItem();
}

void disptimebox::itemButtonsSlot()
{
    entryClicked(entryButtons().indexOf(qobject_cast<QToolButton*>(sender())));
}

QGraphicsItem* disptimebox::createItem(DispScene* scene)
{
    DispDateWidget* date = scene->addDateWidget(QString(), QPointF(0, 0));
    if (date == nullptr) {
        return nullptr;
    }
    date->setColor(style().color->color());
    date->setFont(style().font->font());
    date->setFormat(formatOf(0));
    return date;
}

void disptimebox::updateAttribute()
{
    if (QGraphicsItem* item = currentItem()) {
        fillControls(item);
    }
}

void disptimebox::fillControls(QGraphicsItem* item)
{
    auto* date = qobject_cast<DispDateWidget*>(item->toGraphicsObject());
    if (date == nullptr) {
        return;
    }
    const QSignalBlocker blocker(m_typeBox);
    m_typeBox->setCurrentIndex(dateTypeOf(date));
    style().color->setColor(date->color());
    style().font->setFont(date->font());
    style().opacity->showOpacity(date->opacity());
}

void disptimebox::writeThemeRecord(QDataStream& out, const QString& resourceFolder)
{
    Q_UNUSED(resourceFolder)
    const QList<QGraphicsItem*> all = items();
    out << showAll() << qint32(all.size());
    for (QGraphicsItem* item : all) {
        auto* date = qobject_cast<DispDateWidget*>(item->toGraphicsObject());
        out << date->objectName() << date->pos() << date->color() << date->font() << date->text()
            << date->opacity() << qint32(dateTypeOf(date));
    }
}

void disptimebox::readThemeRecord(ThemeRecordReader& in, const QString& themeFolder)
{
    Q_UNUSED(themeFolder)
    bool shown = false;
    qint32 count = 0;
    if (!readHeader(in, shown, count, kMinItemBytes)) {
        return;
    }
    for (qint32 i = 0; i < count; ++i) {
        ItemFields fields;
        qint32 type = 0;
        if (!fields.read(in) || !in.readInt32(type)) {
            break;
        }
        if (!roomForRecordItem()) {
            continue;
        }
        QGraphicsItem* item = addItem();
        auto* date = item != nullptr ? qobject_cast<DispDateWidget*>(item->toGraphicsObject()) : nullptr;
        if (date == nullptr) {
            break;
        }
        date->setColor(fields.color);
        date->setFont(fields.font);
        date->setText(fields.text.left(256));
        fields.place(date, QStringLiteral("date"));
        if (!formatOf(type).isEmpty()) {
            date->setFormat(formatOf(type));
        } else {
            qCWarning(lcPanels).noquote() << "disptimebox: date type refused:" << type;
        }
    }
    finishRead(shown);
}
