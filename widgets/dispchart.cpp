#include "dispchart.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPropertyAnimation>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSampleIntervalMs = 1000;
const char* const kEmptyCaption = "000--";

} // namespace

DispChart::DispChart(QWidget* parent) : QWidget(parent), m_samples(kSlots, 0.0f)
{
    // The style sheet paints the background.
    setAttribute(Qt::WA_StyledBackground);
    m_font.setPixelSize(12);
    m_caption = QLatin1String(kEmptyCaption);
    setBackgroundColor(Qt::white);
    m_slide = new QPropertyAnimation(this, "xOffset", this);
    m_sampleTimer = new QTimer(this);
    connect(m_sampleTimer, &QTimer::timeout, this, &DispChart::takeSample);
    m_sampleTimer->start(kSampleIntervalMs);
}

void DispChart::setRange(float minimum, float maximum)
{
    if (minimum < maximum) {
        m_minimum = minimum;
        m_maximum = maximum;
    }
}

void DispChart::reset()
{
    m_slide->stop();
    m_xOffset = 0.0f;
    m_writeIndex = 0;
    m_count = 0;
    m_caption = QLatin1String(kEmptyCaption);
    rebuild();
    update();
}

void DispChart::setXOffset(float offset)
{
    if (qFuzzyCompare(offset, m_xOffset)) {
        return;
    }
    m_xOffset = offset;
    update();
}

void DispChart::setBackgroundColor(const QColor& color)
{
    m_backgroundColor = color;
    setStyleSheet(QStringLiteral("background: %1").arg(color.name(QColor::HexArgb)));
}

void DispChart::setGradientColors(const QColor& bottom, const QColor& top)
{
    m_gradientColors = {bottom, top};
    update();
}

void DispChart::setLineColor(const QColor& color)
{
    m_lineColor = color;
    update();
}

void DispChart::setCaptionColor(const QColor& color)
{
    m_captionColor = color;
    update();
}

void DispChart::setCaptionFont(const QFont& font)
{
    m_font = font;
    update();
}

void DispChart::setStraight(bool straight)
{
    m_straight = straight;
    rebuild();
    update();
}

void DispChart::setFill(bool fill)
{
    m_fill = fill;
    update();
}

void DispChart::setCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

void DispChart::takeSample()
{
    const float value = std::isfinite(m_currentValue) ? m_currentValue : m_minimum;
    m_samples[m_writeIndex] = (value - m_minimum) * m_scale / (m_maximum - m_minimum);
    m_writeIndex = (m_writeIndex + 1) % kSlots;
    if (m_count < kSlots - kSpareSlots) {
        ++m_count;
    }
    rebuild();
}

void DispChart::rebuild()
{
    if (m_count < 2) {
        return;
    }
    m_curve = QPainterPath();
    const qreal step = qreal(width()) / (kSlots - kSpareSlots - 1);
    const qreal firstX = (kSlots - m_count - kSpareSlots) * step;
    m_plotHeight = height() - m_captionHeight;

    m_slide->stop();
    m_slide->setDuration(kSlideMs);
    m_slide->setStartValue(0.0f);
    m_slide->setEndValue(float(-step));
    m_slide->start();

    QVector<QPointF> points;
    const int first = (m_writeIndex - m_count - 1 + kSlots) % kSlots;
    for (int k = 0; k <= m_count; ++k) {
        const float sample = m_samples[(first + k) % kSlots];
        points.append(QPointF(firstX + k * step, (1.0 - sample) * m_plotHeight));
    }
    QVector<QPointF> tangents;
    for (int k = 0; k < points.size(); ++k) {
        const int next = std::clamp(k + 1, 0, m_count - 1);
        const int previous = std::clamp(k - 1, 0, m_count - 1);
        tangents.append(points[next] - points[previous]);
    }
    m_curve.moveTo(points[0]);
    for (int k = 1; k < points.size(); ++k) {
        if (m_straight) {
            m_curve.lineTo(points[k]);
            continue;
        }
        const QPointF before(0.2 * tangents[k - 1].x(), tangents[k - 1].y() / 15);
        const QPointF after(0.2 * tangents[k].x(), tangents[k].y() / 15);
        m_curve.cubicTo(points[k - 1] + before, points[k] - after, points[k]);
    }
    m_fillPath = m_curve;
    m_fillPath.lineTo(points.last().x(), m_plotHeight);
    m_fillPath.lineTo(points.first().x(), m_plotHeight);
    m_fillPath.closeSubpath();
    update();
}

void DispChart::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event) // the style sheet has painted the background
    if (m_count < 2) {
        return;
    }
    QPainter painter(this);
    painter.setPen(m_captionColor);
    painter.setFont(m_font);
    painter.drawText(QRectF(0, m_plotHeight, width(), m_captionHeight), Qt::AlignCenter, m_caption);

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(QRectF(0, 0, width(), m_plotHeight + int(m_lineWidth)));
    painter.translate(m_xOffset, 0);
    if (m_fill) {
        QLinearGradient gradient(0, 0, 0, m_plotHeight);
        const bool own = m_gradientColors.size() >= 2;
        gradient.setColorAt(1.0, own ? m_gradientColors[0] : QColor(Qt::gray));
        gradient.setColorAt(0.0, own ? m_gradientColors[1] : QColor(Qt::cyan));
        painter.setPen(Qt::NoPen);
        painter.setBrush(gradient);
        painter.drawPath(m_fillPath);
    }
    painter.setPen(QPen(m_lineColor, m_lineWidth, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(m_curve);
}
