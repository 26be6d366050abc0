#include "displabelwidget.h"

#include <QLabel>

DispLabelWidget::DispLabelWidget(DispWidget* parent) : DispWidget(parent)
{
    m_label = new QLabel;
    m_label->setAlignment(Qt::AlignCenter);
    // Texts come from theme files and sensor names: shown as written, never
    // read as markup that could load files or break the single line.
    m_label->setTextFormat(Qt::PlainText);
    // The base's placeholder is released with deleteLater here.
    setContentWidget(m_label);
    applyStyle();
}

QString DispLabelWidget::styleSheetFor(const QColor& background, const QColor& text)
{
    return QStringLiteral("background-color:") + background.name(QColor::HexArgb) + QStringLiteral(";") +
           QStringLiteral("color:") + text.name(QColor::HexArgb) + QStringLiteral(";");
}

QFont DispLabelWidget::pixelSizedFont(const QFont& font)
{
    QFont copy(font);
    if (copy.pointSize() != -1) {
        copy.setPixelSize(copy.pointSize());
    }
    return copy;
}

void DispLabelWidget::fitToText()
{
    prepareGeometryChange();
    m_label->adjustSize();
    updateGeometry();
}

void DispLabelWidget::applyStyle()
{
    m_label->setStyleSheet(styleSheetFor(m_backgroundColor, m_textColor));
    fitToText();
}

void DispLabelWidget::setText(const QString& text)
{
    // Clocks and dates set their text on every tick: the same text must not
    // mark the scene changed (refitting would), or a still frame is rendered
    // again.
    if (text == m_label->text()) {
        return;
    }
    m_label->setText(text);
    fitToText();
}

QString DispLabelWidget::text() const
{
    return m_label->text();
}

void DispLabelWidget::setColor(const QColor& color)
{
    m_textColor = color;
    applyStyle();
}

void DispLabelWidget::setBackgroundColor(const QColor& color)
{
    m_backgroundColor = color;
    applyStyle();
}

void DispLabelWidget::setFont(const QFont& font)
{
    m_label->setFont(pixelSizedFont(font));
    fitToText();
}

QFont DispLabelWidget::font() const
{
    return m_label->font();
}

QSize DispLabelWidget::labelSize() const
{
    return m_label->size();
}
