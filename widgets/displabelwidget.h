#pragma once

#include "dispwidget.h"

#include <QColor>
#include <QFont>

class QLabel;

// One line of styled text on the scene; base of the number, date, time and
// weekday widgets. The widget's size is the label's size after adjustSize.
class DispLabelWidget : public DispWidget
{
    Q_OBJECT

public:
    explicit DispLabelWidget(DispWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;
    void setColor(const QColor& color);
    QColor color() const { return m_textColor; }
    void setBackgroundColor(const QColor& color);
    QColor backgroundColor() const { return m_backgroundColor; }
    // A point size is used as a size in device pixels, so the number chosen
    // in a font dialog is the glyph height on the panel.
    void setFont(const QFont& font);
    QFont font() const;
    QSize labelSize() const;

    QLabel* label() const { return m_label; }

    // "background-color:#aarrggbb;color:#aarrggbb;"
    static QString styleSheetFor(const QColor& background, const QColor& text);
    static QFont pixelSizedFont(const QFont& font);

private:
    void applyStyle();
    void fitToText();

    QLabel* m_label = nullptr;
    QColor m_textColor = Qt::black;
    QColor m_backgroundColor = Qt::transparent;
};
