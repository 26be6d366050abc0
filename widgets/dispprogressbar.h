#pragma once

#include <QColor>
#include <QGradientStops>
#include <QWidget>

// The bar of a bar widget: a rounded frame, optionally filled, with a
// gradient fill line whose length is the value's share of the range, turned
// counter-clockwise by the rotation inside a square of side max(length,
// thickness).
class DispProgressBar : public QWidget
{
    Q_OBJECT

public:
    explicit DispProgressBar(QWidget* parent = nullptr);

    // The share of the range, not limited: below the minimum the fill runs
    // leftwards, above the maximum past the frame.
    void setValue(float value);
    // Applied only when minimum <= maximum.
    void setRange(float minimum, float maximum);
    void setRotation(int degrees);
    // Both resize the widget to the square and drop the rotation's fraction.
    void setLength(int length);
    void setThickness(int thickness);
    void setBackgroundColor(const QColor& color);
    void setBorderColor(const QColor& color);
    void setTransparent(bool transparent);
    void setFillBackground(bool fill);
    // n colours: colour i at position i/(n-1), a single colour at 0.0.
    void setGradientColors(const QList<QColor>& colors);

    int rotationInt() const { return int(m_rotation); }
    float rotation() const { return m_rotation; }
    int lengthInt() const { return int(m_length); }
    int thicknessInt() const { return int(m_thickness); }
    float percent() const { return m_percent; }
    float minimum() const { return m_minimum; }
    float maximum() const { return m_maximum; }
    float borderWidth() const { return m_borderWidth; }
    float fillInset() const { return m_fillInset; }
    QColor backgroundColor() const { return m_backgroundColor; }
    QColor borderColor() const { return m_borderColor; }
    bool transparent() const { return m_transparent; }
    bool fillBackground() const { return m_fillBackground; }
    QList<QColor> gradientColors() const;
    QGradientStops gradientStops() const { return m_stops; }

    // The drawing attributes as stored in theme files. The resource prefix
    // is not used.
    QByteArray attributeBlock(const QString& resourcePrefix) const;
    // Sets the fields without resizing; false, with nothing changed, for a
    // short or malformed block.
    bool setAttributeBlock(const QByteArray& block, const QString& resourcePrefix);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void resizeToSquare();

    // Carried in the attribute block; they change nothing.
    bool m_flagA = false;
    bool m_flagB = true;
    bool m_transparent = false;
    bool m_fillBackground = true;
    float m_rotation = 0.0f;
    float m_borderWidth = 2.0f;
    float m_length = 100.0f;
    float m_thickness = 30.0f;
    float m_fillInset = 0.0f;
    QColor m_backgroundColor = Qt::gray;
    QColor m_borderColor = Qt::red;
    QGradientStops m_stops;
    float m_percent = 50.0f;
    float m_minimum = 0.0f;
    float m_maximum = 100.0f;
};
