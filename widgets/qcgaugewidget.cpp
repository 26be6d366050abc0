#include "qcgaugewidget.h"

#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

// Painter angles of an item angle: the items count from 9 o'clock clockwise,
// the painter from 3 o'clock counter-clockwise, in sixteenths.
int painterAngle16(qreal degrees)
{
    return int(std::clamp(degrees * 16.0, -1e9, 1e9));
}

QFont dialFont(qreal pointSize)
{
    QFont font(QStringLiteral("Meiryo UI"));
    font.setBold(true);
    if (pointSize > 0) {
        font.setPointSizeF(pointSize);
    }
    return font;
}

void drawCentredText(QPainter* painter, const QPointF& centre, const QString& text)
{
    const QFontMetricsF metrics(painter->font());
    const QSizeF size(metrics.horizontalAdvance(text), metrics.height());
    painter->drawText(QRectF(centre - QPointF(size.width() / 2, size.height() / 2), size), Qt::AlignCenter,
                      text);
}

} // namespace

QcItem::QcItem(QcGaugeWidget* parent) : QObject(parent), m_gauge(parent) {}

void QcItem::setPosition(float position)
{
    m_position = std::clamp(position, 0.0f, 100.0f);
    update();
}

qreal QcItem::radius(const QRectF& rect)
{
    return std::min(rect.width(), rect.height()) / 2;
}

QPointF QcItem::pointAt(qreal degrees, const QRectF& rect)
{
    const qreal r = radius(rect);
    const qreal radians = qDegreesToRadians(degrees);
    return QPointF(rect.center().x() - std::cos(radians) * r, rect.center().y() - std::sin(radians) * r);
}

void QcItem::resetRect()
{
    const qreal w = m_gauge->width();
    const qreal h = m_gauge->height();
    const qreal side = std::min(w, h);
    m_rect = QRectF((w - side) / 2, (h - side) / 2, side, side);
}

QRectF QcItem::rectAt(float position) const
{
    const qreal r = radius(m_rect);
    const qreal inset = r - r * position / 100;
    return m_rect.adjusted(inset, inset, -inset, -inset);
}

void QcItem::update()
{
    m_gauge->update();
}

QcScaleItem::QcScaleItem(QcGaugeWidget* parent) : QcItem(parent) {}

void QcScaleItem::setValueRange(float minimum, float maximum)
{
    if (!(maximum > minimum)) {
        throw Error("QcScaleItem: the maximum must be above the minimum");
    }
    m_minValue = minimum;
    m_maxValue = maximum;
    update();
}

void QcScaleItem::setDegreeRange(float minimum, float maximum)
{
    if (!(maximum > minimum)) {
        throw Error("QcScaleItem: the maximum angle must be above the minimum");
    }
    m_minDegrees = minimum;
    m_maxDegrees = maximum;
    update();
}

qreal QcScaleItem::degreesFor(qreal value) const
{
    return m_minDegrees + (value - m_minValue) * (m_maxDegrees - m_minDegrees) / (m_maxValue - m_minValue);
}

QcBackgroundItem::QcBackgroundItem(QcGaugeWidget* parent) : QcItem(parent)
{
    m_position = 88.0f;
    m_stops = {{1.0, QColor(0, 153, 255)}};
}

void QcBackgroundItem::addStop(qreal position, const QColor& color)
{
    if (position >= 0.0 && position <= 1.0) {
        m_stops.append({position, color});
    }
}

void QcBackgroundItem::draw(QPainter* painter)
{
    resetRect();
    const QRectF area = rectAt(m_position);
    QRadialGradient gradient(m_rect.center(), 2 * qreal(m_position));
    gradient.setColorAt(0.0, Qt::white);
    gradient.setColorAt(0.2, QColor(65, 131, 215));
    gradient.setColorAt(1.0, Qt::black);
    for (const QGradientStop& stop : qAsConst(m_stops)) {
        gradient.setColorAt(stop.first, stop.second);
    }
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(gradient);
    painter->drawEllipse(area);
    painter->restore();
}

QcArcItem::QcArcItem(QcGaugeWidget* parent) : QcScaleItem(parent)
{
    m_position = 80.0f;
}

void QcArcItem::draw(QPainter* painter)
{
    resetRect();
    const QRectF area = rectAt(m_position);
    painter->save();
    painter->setPen(QPen(m_color, radius(area) / 60));
    painter->setBrush(Qt::NoBrush);
    painter->drawArc(area, painterAngle16(-(m_minDegrees + 180)),
                     painterAngle16(-(m_maxDegrees - m_minDegrees)));
    painter->restore();
}

QcColorBand::QcColorBand(QcGaugeWidget* parent) : QcScaleItem(parent)
{
    const QColor blue(0, 102, 255);
    m_bands = {{Qt::white, 1},  {blue, 10},      {Qt::white, 11}, {Qt::black, 20}, {Qt::white, 21},
               {Qt::black, 30}, {Qt::white, 31}, {Qt::black, 40}, {Qt::white, 41}, {Qt::black, 50},
               {Qt::white, 51}, {Qt::red, 60},   {Qt::white, 61}, {Qt::red, 70},   {Qt::white, 71},
               {Qt::red, 80},   {Qt::white, 81}, {Qt::red, 90},   {Qt::white, 91}, {Qt::red, 99},
               {Qt::white, 100}};
}

void QcColorBand::draw(QPainter* painter)
{
    resetRect();
    const QRectF area = rectAt(m_position);
    const qreal r = radius(area);
    painter->save();
    painter->setBrush(Qt::NoBrush);
    qreal from = m_minValue;
    for (const QPair<QColor, float>& band : qAsConst(m_bands)) {
        const qreal start = -(degreesFor(from) + 180);
        const qreal sweep = -(degreesFor(band.second) - degreesFor(from));
        QPainterPath path;
        path.arcMoveTo(area, start);
        path.arcTo(area, start, sweep);
        painter->setPen(QPen(Qt::white, r / 15, Qt::SolidLine, Qt::FlatCap));
        painter->drawPath(path);
        painter->setPen(QPen(band.first, r / 20, Qt::SolidLine, Qt::FlatCap));
        painter->drawPath(path);
        from = band.second;
    }
    painter->restore();
}

QcDegreesItem::QcDegreesItem(QcGaugeWidget* parent) : QcScaleItem(parent)
{
    m_position = 90.0f;
}

void QcDegreesItem::draw(QPainter* painter)
{
    resetRect();
    const QRectF area = rectAt(m_position);
    const qreal r = radius(area);
    painter->save();
    QPen pen(m_color);
    if (!m_subDegree) {
        pen.setWidthF(r / 25);
    }
    painter->setPen(pen);
    if (m_step > 0) {
        for (qreal value = m_minValue; value <= m_maxValue; value += m_step) {
            const QLineF line(pointAt(degreesFor(value), area), area.center());
            painter->drawLine(line.pointAt(0.03), line.pointAt(0.13));
        }
    }
    painter->restore();
}

QcValuesItem::QcValuesItem(QcGaugeWidget* parent) : QcScaleItem(parent)
{
    m_position = 70.0f;
}

void QcValuesItem::draw(QPainter* painter)
{
    resetRect();
    painter->save();
    painter->setPen(m_color);
    painter->setFont(dialFont(0.08 * radius(rectAt(99))));
    if (m_step > 0) {
        for (qreal value = m_minValue; value <= m_maxValue; value += m_step) {
            const QLineF line(pointAt(degreesFor(value), m_rect), m_rect.center());
            drawCentredText(painter, line.pointAt(1 - qreal(m_position) / 100), QString::number(value));
        }
    }
    painter->restore();
}

QcLabelItem::QcLabelItem(QcGaugeWidget* parent) : QcItem(parent) {}

void QcLabelItem::setText(const QString& text)
{
    if (text == m_text) {
        return;
    }
    m_text = text;
    update();
}

void QcLabelItem::draw(QPainter* painter)
{
    resetRect();
    painter->save();
    painter->setPen(m_color);
    painter->setFont(dialFont(int(radius(m_rect) / 10)));
    drawCentredText(painter, pointAt(m_angle, rectAt(m_position)), m_text);
    painter->restore();
}

QcNeedleItem::QcNeedleItem(QcGaugeWidget* parent) : QcScaleItem(parent) {}

void QcNeedleItem::setNeedleValue(float value)
{
    const float clamped = std::isfinite(value) ? std::clamp(value, m_minValue, m_maxValue) : m_minValue;
    // Readings arrive every second whether or not they moved; a needle that
    // stays put leaves the gauge's drawing (and the scene's frame) alone.
    const bool moved = clamped != m_value;
    m_value = clamped;
    if (m_label != nullptr) {
        m_label->setText(QString::number(double(m_value)));
    }
    if (moved) {
        update();
    }
}

QPolygonF QcNeedleItem::shapePolygon(NeedleType shape, qreal r)
{
    switch (shape) {
    case TriangleNeedle:
        return QPolygonF({{0, r}, {-r / 40, 0}, {r / 40, 0}});
    case FeatherNeedle:
        return QPolygonF({{0, r}, {-r / 40, 0}, {-r / 15, -r / 5}, {r / 15, -r / 5}, {r / 40, 0}});
    case AttitudeMeterNeedle:
        return QPolygonF({{0, r}, {-r / 20, 0.85 * r}, {r / 20, 0.85 * r}});
    case CompassNeedle:
        return QPolygonF({{0, r}, {-r / 15, 0}, {0, -r}, {r / 15, 0}});
    case DiamonNeedle:
        break;
    }
    return QPolygonF({{0, 0}, {-r / 20, r / 20}, {0, r}, {r / 20, r / 20}});
}

void QcNeedleItem::draw(QPainter* painter)
{
    resetRect();
    const qreal r = radius(rectAt(m_position));
    const QPolygonF polygon = shapePolygon(m_shape, r);
    painter->save();
    painter->translate(m_rect.center());
    painter->rotate(degreesFor(m_value) + 90);
    painter->setPen(Qt::NoPen);
    if (m_shape == CompassNeedle) {
        QLinearGradient gradient(polygon[0], polygon[1]);
        gradient.setColorAt(0.9, Qt::red);
        gradient.setColorAt(1.0, Qt::blue);
        painter->setBrush(gradient);
    } else {
        painter->setBrush(m_color);
    }
    painter->drawPolygon(polygon);
    painter->restore();
}

QcGaugeWidget::QcGaugeWidget(QWidget* parent) : QWidget(parent) {}

template <typename Item>
Item* QcGaugeWidget::add(float position)
{
    auto* item = new Item(this);
    item->setPosition(position);
    m_items.append(item);
    return item;
}

QcBackgroundItem* QcGaugeWidget::addBackground(float position)
{
    return add<QcBackgroundItem>(position);
}

QcArcItem* QcGaugeWidget::addArc(float position)
{
    return add<QcArcItem>(position);
}

QcColorBand* QcGaugeWidget::addColorBand(float position)
{
    return add<QcColorBand>(position);
}

QcDegreesItem* QcGaugeWidget::addDegrees(float position)
{
    return add<QcDegreesItem>(position);
}

QcValuesItem* QcGaugeWidget::addValues(float position)
{
    return add<QcValuesItem>(position);
}

QcLabelItem* QcGaugeWidget::addLabel(float position)
{
    return add<QcLabelItem>(position);
}

QcNeedleItem* QcGaugeWidget::addNeedle(float position)
{
    return add<QcNeedleItem>(position);
}

void QcGaugeWidget::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (QcItem* item : qAsConst(m_items)) {
        item->draw(&painter);
    }
}
