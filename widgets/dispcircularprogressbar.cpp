#include "dispcircularprogressbar.h"

#include "dispreadout.h"

#include <QConicalGradient>
#include <QDataStream>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Painter angles are whole sixteenths of a degree, truncated toward zero;
// values from theme files are bounded so the conversion stays defined.
int sixteenths(double degrees)
{
    return std::isfinite(degrees) ? int(std::clamp(degrees * 16.0, -1e9, 1e9)) : 0;
}

} // namespace

DispCircularProgressBar::DispCircularProgressBar(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    m_font = QFont(QStringLiteral("Microsoft YaHei"));
    m_font.setPointSize(16);
    m_stops = {{1.0, Qt::green}, {0.5, Qt::yellow}, {0.0, Qt::red}};
    resize(80, 80);
}

void DispCircularProgressBar::setValue(float value, const QString& unit)
{
    const float shown = std::isfinite(value) ? std::max(value, m_minimum) : m_minimum;
    const float range = m_maximum - m_minimum;
    const float sweep = range > 0.0f ? -(shown - m_minimum) * m_span / range : 0.0f;
    // The same reading again (they come every second) leaves the drawing alone.
    if (shown == m_value && sweep == m_sweep && unit == m_unit) {
        return;
    }
    m_value = shown;
    m_unit = unit;
    m_sweep = sweep;
    update();
}

void DispCircularProgressBar::setRange(float minimum, float maximum)
{
    if (minimum <= maximum) {
        m_minimum = minimum;
        m_maximum = maximum;
    }
}

void DispCircularProgressBar::setLineWidth(float width)
{
    if (width > 0.0f) {
        m_lineWidth = width;
        update();
    }
}

void DispCircularProgressBar::setTrackColor(const QColor& color)
{
    m_trackColor = color;
    update();
}

void DispCircularProgressBar::setTextColor(const QColor& color)
{
    m_textColor = color;
    update();
}

void DispCircularProgressBar::setTextFont(const QFont& font)
{
    m_font = font;
    update();
}

void DispCircularProgressBar::setRoundCap(bool roundCap)
{
    m_roundCap = roundCap;
    update();
}

void DispCircularProgressBar::setTransparent(bool transparent)
{
    m_transparent = transparent;
    update();
}

void DispCircularProgressBar::setGradientColors(const QList<QColor>& colors)
{
    m_stops.clear();
    const int n = colors.size();
    for (int i = 0; i < n; ++i) {
        m_stops.append({n > 1 ? 1.0 - double(i) / double(n - 1) : 1.0, colors[i]});
    }
    update();
}

QList<QColor> DispCircularProgressBar::gradientColors() const
{
    QList<QColor> colors;
    for (const QGradientStop& stop : m_stops) {
        colors.append(stop.second);
    }
    return colors;
}

QByteArray DispCircularProgressBar::attributeBlock(const QString& resourcePrefix) const
{
    Q_UNUSED(resourcePrefix)
    QByteArray block;
    QDataStream out(&block, QIODevice::WriteOnly);
    out << m_roundCap << m_solid << m_transparent << m_trackColor << m_textColor;
    DispReadout::writeStops(out, m_stops);
    out << m_lineWidth << m_startAngle << m_span << m_minimum << m_maximum;
    return block;
}

bool DispCircularProgressBar::setAttributeBlock(const QByteArray& block, const QString& resourcePrefix)
{
    Q_UNUSED(resourcePrefix)
    QDataStream in(block);
    bool roundCap = false;
    bool solid = false;
    bool transparent = false;
    QColor track;
    QColor text;
    QGradientStops stops;
    in >> roundCap >> solid >> transparent >> track >> text;
    if (in.status() != QDataStream::Ok || !DispReadout::readStops(in, &stops)) {
        return false;
    }
    float lineWidth = 0.0f;
    float startAngle = 0.0f;
    float span = 0.0f;
    float minimum = 0.0f;
    float maximum = 0.0f;
    in >> lineWidth >> startAngle >> span >> minimum >> maximum;
    const bool finite = std::isfinite(lineWidth) && std::isfinite(startAngle) && std::isfinite(span) &&
                        std::isfinite(minimum) && std::isfinite(maximum);
    if (in.status() != QDataStream::Ok || !finite || lineWidth < 0.0f || minimum > maximum) {
        return false;
    }
    m_roundCap = roundCap;
    m_solid = solid;
    m_transparent = transparent;
    m_trackColor = track;
    m_textColor = text;
    m_stops = stops;
    m_lineWidth = lineWidth;
    m_startAngle = startAngle;
    m_span = span;
    m_minimum = minimum;
    m_maximum = maximum;
    update();
    return true;
}

void DispCircularProgressBar::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = width();
    const qreal h = height();
    const qreal line = m_lineWidth;

    painter.save();
    painter.translate(w / 2, h / 2);
    painter.rotate(-m_startAngle);
    const QRectF arcRect =
        QRectF(rect()).translated(-w / 2, -h / 2).adjusted(line / 2, line / 2, -line / 2, -line / 2);
    if (!m_transparent) {
        painter.setPen(QPen(m_trackColor, line, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(arcRect, 0, sixteenths(-double(m_span)));
    }
    // Position 0 lies at angle 0 and positions grow counter-clockwise, so a
    // clockwise arc from angle 0 meets the stop at 1.0 first.
    QConicalGradient gradient(0, 0, 0);
    for (const QGradientStop& stop : m_stops) {
        gradient.setColorAt(stop.first, stop.second);
    }
    const int sweep16 = sixteenths(double(m_sweep));
    if (m_roundCap) {
        painter.setPen(QPen(QBrush(gradient), line, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));
        painter.drawArc(arcRect, 0, sweep16);
        if (m_sweep != 0.0f) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(m_stops.isEmpty() ? QColor(Qt::black) : m_stops.first().second);
            painter.drawEllipse(QPointF(arcRect.right(), 0), line / 2, line / 2);
        }
    } else {
        QPen pen(QBrush(gradient), line, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin);
        if (!m_solid) {
            pen.setDashPattern({0.5, 0.5});
        }
        painter.setPen(pen);
        painter.drawArc(arcRect, 0, sweep16);
    }
    painter.restore();

    QFont font(m_font);
    if (font.pointSize() != -1) {
        font.setPixelSize(int(font.pointSize() * devicePixelRatioF()));
    }
    painter.setFont(font);
    painter.setPen(m_textColor);
    painter.drawText(rect(), Qt::AlignCenter,
                     QString::number(std::trunc(double(m_value)) + 0.0, 'f', 0) + m_unit);
}
