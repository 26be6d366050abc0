#include "rangeslider.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

RangeSlider::RangeSlider(Qt::Orientation orientation, Options options, QWidget* parent)
    : QWidget(parent), m_orientation(orientation), m_options(options)
{
    setMouseTracking(false);
}

QSize RangeSlider::minimumSizeHint() const
{
    return QSize(36, 15);
}

int RangeSlider::length() const
{
    return m_orientation == Qt::Horizontal ? width() : height();
}

int RangeSlider::thickness() const
{
    return m_orientation == Qt::Horizontal ? height() : width();
}

int RangeSlider::travel() const
{
    const int d = hasLower() && hasUpper() ? 2 * kHandleSide : kHandleSide;
    return length() - d - 6;
}

int RangeSlider::along(const QPoint& point) const
{
    return m_orientation == Qt::Horizontal ? point.x() : point.y();
}

int RangeSlider::across(const QPoint& point) const
{
    return m_orientation == Qt::Horizontal ? point.y() : point.x();
}

int RangeSlider::lowerHandleStart() const
{
    if (m_interval == 0) {
        return 3;
    }
    return int(double(m_lowerValue - m_minimum) / m_interval * travel() + 3);
}

int RangeSlider::upperHandleStart() const
{
    const int shift = hasLower() ? kHandleSide : 0;
    if (m_interval == 0) {
        return 3 + shift;
    }
    return int(double(m_upperValue - m_minimum) / m_interval * travel() + 3) + shift;
}

QRect RangeSlider::handleRect(int start) const
{
    const int acrossStart = (thickness() - kHandleSide) / 2;
    return m_orientation == Qt::Horizontal ? QRect(start, acrossStart, kHandleSide, kHandleSide)
                                           : QRect(acrossStart, start, kHandleSide, kHandleSide);
}

int RangeSlider::valueAt(int pixels) const
{
    if (travel() <= 0) {
        return m_minimum;
    }
    return m_minimum + int(double(pixels) / travel() * m_interval);
}

void RangeSlider::setLowerValue(int aLowerValue)
{
    m_lowerValue = qBound(m_minimum, aLowerValue, m_maximum);
    emit lowerValueChanged(m_lowerValue);
    update();
}

void RangeSlider::setUpperValue(int aUpperValue)
{
    m_upperValue = qBound(m_minimum, aUpperValue, m_maximum);
    emit upperValueChanged(m_upperValue);
    update();
}

void RangeSlider::setMinimum(int aMinimum)
{
    if (aMinimum > m_maximum) {
        m_minimum = m_maximum;
        m_maximum = aMinimum;
    } else {
        m_minimum = aMinimum;
    }
    rangeUpdated();
}

void RangeSlider::setMaximum(int aMaximum)
{
    if (aMaximum < m_minimum) {
        m_maximum = m_minimum;
        m_minimum = aMaximum;
    } else {
        m_maximum = aMaximum;
    }
    rangeUpdated();
}

void RangeSlider::setRange(int minimum, int maximum)
{
    setMinimum(minimum);
    setMaximum(maximum);
}

void RangeSlider::rangeUpdated()
{
    m_interval = m_maximum - m_minimum;
    setLowerValue(m_minimum);
    setUpperValue(m_maximum);
    emit rangeChanged(m_minimum, m_maximum);
}

void RangeSlider::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        m_currentColor = isEnabled() ? m_enabledColor : m_disabledColor;
        update();
    }
    QWidget::changeEvent(event);
}

void RangeSlider::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int middle = thickness() / 2;
    const QRect track = m_orientation == Qt::Horizontal ? QRect(3, middle - 2, width() - 6, 4)
                                                        : QRect(middle - 2, 3, 4, height() - 6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x3a, 0x3a, 0x3a));
    painter.drawRoundedRect(track, 2, 2);

    // The chosen span between the handles (or up to the one handle).
    const int from = hasLower() ? lowerHandleStart() + kHandleSide / 2 : 3;
    const int to = hasUpper() ? upperHandleStart() + kHandleSide / 2 : length() - 3;
    const QRect span = m_orientation == Qt::Horizontal ? QRect(from, middle - 2, to - from, 4)
                                                       : QRect(middle - 2, from, 4, to - from);
    painter.setBrush(m_currentColor);
    painter.drawRect(span);

    painter.setPen(QPen(m_currentColor.darker(150), 1));
    painter.setBrush(m_currentColor.lighter(160));
    if (hasLower()) {
        painter.drawRoundedRect(handleRect(lowerHandleStart()).adjusted(0, 0, -1, -1), 3, 3);
    }
    if (hasUpper()) {
        painter.drawRoundedRect(handleRect(upperHandleStart()).adjusted(0, 0, -1, -1), 3, 3);
    }
}

void RangeSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint point = event->pos();
    const int position = along(point);
    const QRect upper = handleRect(upperHandleStart());
    const QRect lower = handleRect(lowerHandleStart());
    if (hasUpper() && upper.contains(point)) {
        m_upperPressed = true;
        m_pressOffset = position - upperHandleStart() - kHandleSide / 2;
    } else if (hasLower() && lower.contains(point)) {
        m_lowerPressed = true;
        m_pressOffset = position - lowerHandleStart() - kHandleSide / 2;
    } else if (position > 2 && position < length() - 2) {
        stepTowards(position);
    }
}

void RangeSlider::stepTowards(int position)
{
    const int step = m_interval < 10 ? 1 : m_interval / 10;
    const int lowerStart = lowerHandleStart();
    const int upperStart = upperHandleStart();
    if (hasLower() && hasUpper()) {
        if (position < lowerStart) {
            setLowerValue(m_lowerValue - step);
        } else if (position >= upperStart) {
            setUpperValue(m_upperValue + step);
        } else if (position - lowerStart <= upperStart - position) {
            setLowerValue(qMin(m_lowerValue + step, m_upperValue));
        } else {
            setUpperValue(qMax(m_upperValue - step, m_lowerValue));
        }
    } else if (hasLower()) {
        setLowerValue(position < lowerStart ? m_lowerValue - step : m_lowerValue + step);
    } else if (hasUpper()) {
        setUpperValue(position < upperStart ? m_upperValue - step : m_upperValue + step);
    }
}

void RangeSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        return;
    }
    const int position = along(event->pos());
    const bool both = hasLower() && hasUpper();
    if (m_lowerPressed) {
        if (both && position >= upperHandleStart()) {
            setLowerValue(m_upperValue);
        } else {
            const int value = valueAt(position - m_pressOffset - 10);
            setLowerValue(both ? qMin(value, m_upperValue) : value);
        }
    } else if (m_upperPressed) {
        const double keep = (both ? 1.5 : 0.5) * kHandleSide;
        if (position - lowerHandleStart() < keep) {
            setUpperValue(m_lowerValue);
        } else {
            const int value = valueAt(position - (both ? kHandleSide : 0) - m_pressOffset - 10);
            setUpperValue(both ? qMax(value, m_lowerValue) : value);
        }
    }
}

void RangeSlider::mouseReleaseEvent(QMouseEvent* event)
{
    Q_UNUSED(event)
    m_lowerPressed = false;
    m_upperPressed = false;
}
