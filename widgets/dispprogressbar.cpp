#include "dispprogressbar.h"

#include "dispreadout.h"

#include <QDataStream>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Sizes from theme files are bounded so the widget stays allocatable.
constexpr float kLargestSide = 8192.0f;

} // namespace

DispProgressBar::DispProgressBar(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    m_stops = {{0.0, Qt::green}, {1.0, Qt::yellow}};
    resizeToSquare();
}

void DispProgressBar::resizeToSquare()
{
    const int side = int(std::clamp(std::max(m_length, m_thickness), 0.0f, kLargestSide));
    resize(side, side);
}

void DispProgressBar::setValue(float value)
{
    const float range = m_maximum - m_minimum;
    const float percent = range > 0.0f && std::isfinite(value) ? (value - m_minimum) * 100.0f / range : 0.0f;
    // The same reading again (they come every second) leaves the drawing alone.
    if (percent == m_percent) {
        return;
    }
    m_percent = percent;
    update();
}

void DispProgressBar::setRange(float minimum, float maximum)
{
    if (minimum <= maximum) {
        m_minimum = minimum;
        m_maximum = maximum;
        update();
    }
}

void DispProgressBar::setRotation(int degrees)
{
    m_rotation = float(degrees);
    resizeToSquare();
    update();
}

void DispProgressBar::setLength(int length)
{
    m_length = float(length);
    m_rotation = std::trunc(m_rotation);
    resizeToSquare();
    update();
}

void DispProgressBar::setThickness(int thickness)
{
    m_thickness = float(thickness);
    m_rotation = std::trunc(m_rotation);
    resizeToSquare();
    update();
}

void DispProgressBar::setBackgroundColor(const QColor& color)
{
    m_backgroundColor = color;
    update();
}

void DispProgressBar::setBorderColor(const QColor& color)
{
    m_borderColor = color;
    update();
}

void DispProgressBar::setTransparent(bool transparent)
{
    m_transparent = transparent;
    update();
}

void DispProgressBar::setFillBackground(bool fill)
{
    m_fillBackground = fill;
    update();
}

void DispProgressBar::setGradientColors(const QList<QColor>& colors)
{
    m_stops.clear();
    const int n = colors.size();
    for (int i = 0; i < n; ++i) {
        m_stops.append({n > 1 ? double(i) / double(n - 1) : 0.0, colors[i]});
    }
    update();
}

QList<QColor> DispProgressBar::gradientColors() const
{
    QList<QColor> colors;
    for (const QGradientStop& stop : m_stops) {
        colors.append(stop.second);
    }
    return colors;
}

QByteArray DispProgressBar::attributeBlock(const QString& resourcePrefix) const
{
    Q_UNUSED(resourcePrefix)
    QByteArray block;
    QDataStream out(&block, QIODevice::WriteOnly);
    out << m_flagA << m_transparent << m_flagB << m_fillBackground << m_rotation << m_borderWidth << m_length
        << m_thickness << m_fillInset << m_backgroundColor << m_borderColor;
    DispReadout::writeStops(out, m_stops);
    return block;
}

bool DispProgressBar::setAttributeBlock(const QByteArray& block, const QString& resourcePrefix)
{
    Q_UNUSED(resourcePrefix)
    QDataStream in(block);
    bool flagA = false;
    bool transparent = false;
    bool flagB = false;
    bool fill = false;
    float rotation = 0.0f;
    float borderWidth = 0.0f;
    float length = 0.0f;
    float thickness = 0.0f;
    float inset = 0.0f;
    QColor background;
    QColor border;
    QGradientStops stops;
    in >> flagA >> transparent >> flagB >> fill >> rotation >> borderWidth >> length >> thickness >> inset >>
        background >> border;
    const bool finite = std::isfinite(rotation) && std::isfinite(borderWidth) && std::isfinite(length) &&
                        std::isfinite(thickness) && std::isfinite(inset);
    if (in.status() != QDataStream::Ok || !finite || !DispReadout::readStops(in, &stops)) {
        return false;
    }
    m_flagA = flagA;
    m_transparent = transparent;
    m_flagB = flagB;
    m_fillBackground = fill;
    m_rotation = rotation;
    m_borderWidth = borderWidth;
    m_length = std::clamp(length, -kLargestSide, kLargestSide);
    m_thickness = std::clamp(thickness, -kLargestSide, kLargestSide);
    m_fillInset = inset;
    m_backgroundColor = background;
    m_borderColor = border;
    m_stops = stops;
    update();
    return true;
}

void DispProgressBar::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal length = m_length;
    const qreal thickness = m_thickness;
    const qreal border = m_borderWidth;
    const qreal side = std::max(length, thickness);

    painter.translate(side / 2, side / 2);
    painter.rotate(-m_rotation);
    QRectF frame(-length / 2, -thickness / 2, length, thickness);
    QLinearGradient gradient(QPointF(int(frame.left()), int(thickness / 2)),
                             QPointF(int(frame.right()), int(thickness / 2)));
    for (const QGradientStop& stop : m_stops) {
        gradient.setColorAt(stop.first, stop.second);
    }
    if (m_transparent) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(Qt::NoPen);
    } else {
        painter.setBrush(m_fillBackground ? QBrush(m_backgroundColor) : QBrush(Qt::NoBrush));
        if (border > 0.001) {
            painter.setPen(QPen(m_borderColor, border, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        }
    }
    frame.adjust(border / 2, border / 2, -border / 2, -border / 2);
    painter.drawRoundedRect(frame, 1, 1, Qt::AbsoluteSize);

    const qreal fillWidth = frame.height() - (m_fillInset + border);
    if (fillWidth <= 0) {
        return; // no room inside the frame
    }
    painter.setPen(QPen(QBrush(gradient), fillWidth, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
    const qreal x1 = frame.left() + border / 2;
    const qreal y = frame.center().y();
    painter.drawLine(QPointF(x1, y), QPointF(x1 + m_percent * (frame.width() - border) / 100, y));
}
