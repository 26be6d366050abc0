#include "dispcustomtextbox.h"

#include "baseinfo.h"
#include "dispcolorselectbutton.h"
#include "dispfontselectbutton.h"
#include "dispscene.h"
#include "disptextwidget.h"
#include "opacityrow.h"
#include "panelslog.h"
#include "themerecordreader.h"
#include "themetags.h"
#include "themevalues.h"

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

QFont dispcustomtextbox::initialFont()
{
    QFont font(BaseInfo::languageType() == 1 ? QStringLiteral("微软雅黑")
                                             : QStringLiteral("Microsoft YaHei"));
    font.setPointSize(22);
    return font;
}

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

    m_colorButton =
        new DispColorSelectButton(QStringLiteral(":/images/textpointer.png"), QColor(255, 200, 0), group);
    m_colorButton->setObjectName(QStringLiteral("colorButton"));
    m_colorButton->setFixedSize(30, 48);
    m_fontButton = new DispFontSelectButton(group);
    m_fontButton->setObjectName(QStringLiteral("fontButton"));
    m_fontButton->setFixedSize(164, 34);
    m_fontButton->setFont(initialFont());
    grid->addWidget(m_colorButton, 2, 0);
    grid->addWidget(m_fontButton, 2, 1, 1, 2, Qt::AlignLeft);

    m_opacity = new OpacityRow(group);
    grid->addWidget(m_opacity, 3, 0, 1, 3);

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
    connect(m_colorButton, &DispColorSelectButton::colorChanged, this, [this](const QColor& color) {
        if (DispTextWidget* text = currentText()) {
            text->setDefaultTextColor(color);
            edited();
        }
    });
    connect(m_fontButton, &DispFontSelectButton::fontChanged, this, [this](const QFont& font) {
        if (DispTextWidget* text = currentText()) {
            text->setFont(font);
            edited();
        }
    });
    connect(m_opacity, &OpacityRow::opacityChanged, this, [this](double opacity) {
        if (DispTextWidget* text = currentText()) {
            text->setOpacity(opacity);
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
    text->setDefaultTextColor(m_colorButton->color());
    text->setFont(m_fontButton->font());
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
    m_colorButton->setColor(text->defaultTextColor());
    m_fontButton->setFont(text->font());
    m_opacity->showOpacity(text->opacity());
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
        QString name;
        QString content;
        QPointF position;
        QColor color;
        QFont font;
        double opacity = 1;
        qint32 effect = 0;
        if (!in.readString(name) || !in.readPointF(position) || !readThemeColor(in, color) ||
            !readThemeFont(in, font) || !in.readString(content) || !in.readDouble(opacity) ||
            !in.readInt32(effect)) {
            break;
        }
        if (!roomForRecordItem()) {
            continue;
        }
        auto* text = qgraphicsitem_cast<DispTextWidget*>(addItem());
        if (text == nullptr) {
            break;
        }
        if (saneName(name, QStringLiteral("text"))) {
            text->setObjectName(name);
        } else {
            qCWarning(lcPanels).noquote() << "dispcustomtextbox: name refused:" << name.left(64);
        }
        if (sanePosition(position)) {
            text->setPos(position);
        }
        text->setDefaultTextColor(color);
        text->setFont(font);
        text->setPlainText(content.left(kMaxTextLength));
        text->setOpacity(saneOpacity(opacity));
        text->setEffect(effect >= DispTextWidget::EffectDefault && effect <= DispTextWidget::EffectFlicker
                            ? effect
                            : DispTextWidget::EffectDefault);
    }
    finishRead(shown);
}
