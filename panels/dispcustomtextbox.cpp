#include "dispcustomtextbox.h"

#include "dispcolorselectbutton.h"
#include "dispfontselectbutton.h"
#include "dispscene.h"
#include "disptextwidget.h"
#include "opacityrow.h"
#include "panelslog.h"
#include "themerecordreader.h"
#include "themetags.h"

#include <QComboBox>
#include <QDataStream>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

// Every item holds at least a name, a position, a colour, a font, a text, an opacity and an effect.
constexpr int kMinItemBytes = 4 + 16 + 11 + 4 + 4 + 8 + 4;

} // namespace

dispcustomtextbox::dispcustomtextbox(QWidget* parent)
    : ItemListPanel(CustomTextTag, CustomTextStore, kMaxItems, parent)
{
    setupList(tr("Custom Text"), tr("Text"));

    auto* group = new QGroupBox(tr("Text Edit"), this);
    group->setStyleSheet(
        QStringLiteral("QGroupBox { color: white; border: 1px solid #3a3a3a; border-radius: 6px;"
                       " margin-top: 8px; padding: 6px; }"
                       "QGroupBox::title { subcontrol-origin: margin; left: 8px; }"));
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 10, 6, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);

    grid->addWidget(new QLabel(tr("Input Content:"), group), 0, 0, 1, 3);
    m_textEdit = new QPlainTextEdit(group);
    m_textEdit->setObjectName(QStringLiteral("textEdit"));
    m_textEdit->setPlaceholderText(tr("Input Content"));
    m_textEdit->setFixedHeight(48);
    grid->addWidget(m_textEdit, 1, 0, 1, 3);

    addStyleControls(grid, 2);

    grid->addWidget(new QLabel(tr("Effect:"), group), 4, 0);
    m_effectBox = new QComboBox(group);
    m_effectBox->setObjectName(QStringLiteral("effectBox"));
    for (const QString& name : DispTextWidget::effectNames()) {
        m_effectBox->addItem(tr(qPrintable(name)));
    }
    m_effectBox->setFixedSize(120, 26);
    grid->addWidget(m_effectBox, 4, 1, 1, 2, Qt::AlignLeft);
    controlsLayout()->addWidget(group);

    connect(addButton(), &QPushButton::clicked, this, &dispcustomtextbox::createNewCustomTextBox);
    connect(m_textEdit, &QPlainTextEdit::textChanged, this, [this] {
        if (DispTextWidget* text = currentText()) {
            text->setPlainText(m_textEdit->toPlainText());
            edited();
        }
    });
    connect(m_effectBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int index) {
        if (DispTextWidget* text = currentText()) {
            text->setEffect(index);
            edited();
        }
    });
}

void dispcustomtextbox::applyColor(QGraphicsItem* item, const QColor& color)
{
    qgraphicsitem_cast<DispTextWidget*>(item)->setDefaultTextColor(color);
}

void dispcustomtextbox::applyFont(QGraphicsItem* item, const QFont& font)
{
    qgraphicsitem_cast<DispTextWidget*>(item)->setFont(font);
}

DispTextWidget* dispcustomtextbox::currentText()
{
    return qgraphicsitem_cast<DispTextWidget*>(currentItem());
}

void dispcustomtextbox::createNewCustomTextBox()
{
    addItem();
}

void dispcustomtextbox::customTextButtonsSlot()
{
    auto* button = qobject_cast<QToolButton*>(sender());
    entryClicked(entryButtons().indexOf(button));
}

QGraphicsItem* dispcustomtextbox::createItem(DispScene* scene)
{
    DispTextWidget* text = scene->addTextWidget(QString(), QPointF(0, 0));
    if (text == nullptr) {
        return nullptr;
    }
    text->setDefaultTextColor(style().color->color());
    text->setFont(style().font->font());
    return text;
}

void dispcustomtextbox::updateAttribute()
{
    if (QGraphicsItem* item = currentItem()) {
        fillControls(item);
    }
}

void dispcustomtextbox::fillControls(QGraphicsItem* item)
{
    auto* text = qgraphicsitem_cast<DispTextWidget*>(item);
    if (text == nullptr) {
        return;
    }
    const QSignalBlocker blockText(m_textEdit);
    const QSignalBlocker blockEffect(m_effectBox);
    m_textEdit->setPlainText(text->toPlainText());
    style().color->setColor(text->defaultTextColor());
    style().font->setFont(text->font());
    style().opacity->showOpacity(text->opacity());
    m_effectBox->setCurrentIndex(text->effect());
}

void dispcustomtextbox::writeThemeRecord(QDataStream& out, const QString& resourceFolder)
{
    Q_UNUSED(resourceFolder)
    const QList<QGraphicsItem*> all = items();
    out << showAll() << qint32(all.size());
    for (QGraphicsItem* item : all) {
        auto* text = qgraphicsitem_cast<DispTextWidget*>(item);
        out << text->objectName() << text->pos() << text->defaultTextColor() << text->font()
            << text->toPlainText() << text->opacity() << qint32(text->effect());
    }
}

void dispcustomtextbox::readThemeRecord(ThemeRecordReader& in, const QString& themeFolder)
{
    Q_UNUSED(themeFolder)
    bool shown = false;
    qint32 count = 0;
    if (!readHeader(in, shown, count, kMinItemBytes)) {
        return;
    }
    for (qint32 i = 0; i < count; ++i) {
        ItemFields fields;
        qint32 effect = 0;
        if (!fields.read(in) || !in.readInt32(effect)) {
            break;
        }
        if (!roomForRecordItem()) {
            continue;
        }
        auto* text = qgraphicsitem_cast<DispTextWidget*>(addItem());
        if (text == nullptr) {
            break;
        }
        text->setDefaultTextColor(fields.color);
        text->setFont(fields.font);
        text->setPlainText(fields.text.left(kMaxTextLength));
        fields.place(text, QStringLiteral("text"));
        text->setEffect(effect >= DispTextWidget::EffectDefault && effect <= DispTextWidget::EffectFlicker
                            ? effect
                            : DispTextWidget::EffectDefault);
    }
    finishRead(shown);
}
