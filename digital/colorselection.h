#pragma once

#include <QColor>
#include <QWidget>

// The colour ring: a hue ring with a marker inside it. Dragging moves the
// marker round the ring; on release the colour visible at the marker's
// centre (the picture its owner places behind the ring's hole) becomes the
// current colour.
class ColorSelection : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSide = 290;

    explicit ColorSelection(QWidget* parent = nullptr);

    double angle() const { return m_angle; }
    QColor currentColor() const { return m_currentColor; }
    // Moves the marker (restoring saved parameters) without picking.
    void setAngle(double degrees);
    bool isPressed() const { return m_pressed; }

    // Outer radius of the ring for the widget's size.
    double outerRadius() const;
    QPointF markerCentre() const;

    // The colour under a point given in global coordinates: grabbed from
    // the screen where the platform allows it (X11), otherwise taken from
    // the window's own rendering.
    QColor colorAt(const QPoint& globalPos) const;

signals:
    void currentColorChanged(QColor color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setAngleFrom(const QPoint& pos);

    double m_angle = 0.0;
    bool m_pressed = false;
    QColor m_currentColor;
};
