#pragma once

#include <QColor>
#include <QFont>
#include <QGradientStops>
#include <QWidget>

// The ring of an arc widget: a background track and, over it, an arc whose
// length follows the value, coloured by a conical gradient, with the value
// and its unit in the middle. Angles are in degrees, counter-clockwise from
// 3 o'clock; a negative sweep runs clockwise.
class DispCircularProgressBar : public QWidget
{
    Q_OBJECT

public:
    explicit DispCircularProgressBar(QWidget* parent = nullptr);

    // Raised to the minimum (never limited above); repaints.
    void setValue(float value, const QString& unit);
    // Applied only when minimum <= maximum; the sweep follows at the next value.
    void setRange(float minimum, float maximum);
    // Applied only when greater than 0.
    void setLineWidth(float width);
    void setTrackColor(const QColor& color);
    void setTextColor(const QColor& color);
    void setTextFont(const QFont& font);
    void setRoundCap(bool roundCap);
    void setTransparent(bool transparent);
    // n colours: colour i at position 1 - i/(n-1), a single colour at 1.0.
    void setGradientColors(const QList<QColor>& colors);

    float value() const { return m_value; }
    float sweep() const { return m_sweep; }
    float minimum() const { return m_minimum; }
    float maximum() const { return m_maximum; }
    float lineWidth() const { return m_lineWidth; }
    int lineWidthInt() const { return int(m_lineWidth); }
    QString unit() const { return m_unit; }
    QColor trackColor() const { return m_trackColor; }
    QColor textColor() const { return m_textColor; }
    QFont textFont() const { return m_font; }
    bool roundCap() const { return m_roundCap; }
    bool solid() const { return m_solid; }
    bool transparent() const { return m_transparent; }
    float startAngle() const { return m_startAngle; }
    float span() const { return m_span; }
    QList<QColor> gradientColors() const;
    QGradientStops gradientStops() const { return m_stops; }

    // The drawing attributes as stored in theme files; the font, value and
    // unit are not part of it. The resource prefix is not used.
    QByteArray attributeBlock(const QString& resourcePrefix) const;
    // False, with nothing changed, for a block that is short or malformed.
    bool setAttributeBlock(const QByteArray& block, const QString& resourcePrefix);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_roundCap = true;
    bool m_solid = true;
    bool m_transparent = false;
    QColor m_trackColor = Qt::gray;
    QColor m_textColor = Qt::white;
    QFont m_font;
    QGradientStops m_stops;
    float m_lineWidth = 10.0f;
    float m_startAngle = 90.0f;
    float m_sweep = 0.0f;
    float m_span = 360.0f;
    float m_minimum = 0.0f;
    float m_maximum = 100.0f;
    float m_value = 0.0f;
    QString m_unit;
};
