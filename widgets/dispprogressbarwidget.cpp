#include "dispprogressbarwidget.h"

#include "dispprogressbar.h"
#include "dispreadout.h"
#include "dispsensormanager.h"
#include "dispwidgetnames.h"

#include <QPainterPath>
#include <QTransform>

#include <algorithm>

namespace {

// A thin bar is still easy to grab: hits reach this far across it.
constexpr qreal kMinimumGrip = 12.0;

} // namespace

DispProgressBarWidget::DispProgressBarWidget(DispWidget* parent, DispSensorManager* sensors)
    : DispWidget(parent), m_sensors(sensors)
{
    setObjectName(DispWidgetNames::next(DispWidgetNames::ProgressBar));
    m_bar = new DispProgressBar;
    setContentWidget(m_bar);
    cacheContent();
    if (sensors != nullptr) {
        // The manager publishes from its own thread: delivery is queued.
        connect(sensors, &DispSensorManager::updateDisplayData, this, &DispProgressBarWidget::refreshValue);
    }
}

void DispProgressBarWidget::setRangeFor(qint32 readingType, const QString& label)
{
    m_bar->setRange(0.0f, DispReadout::rangeMaximum(readingType, label));
}

int DispProgressBarWidget::progressBarLength() const
{
    return m_bar->lengthInt();
}

int DispProgressBarWidget::progressBarRotation() const
{
    return m_bar->rotationInt();
}

QPainterPath DispProgressBarWidget::shape() const
{
    const qreal length = m_bar->lengthInt();
    const qreal thickness = std::max<qreal>(m_bar->thicknessInt(), kMinimumGrip);
    const qreal side = std::max<qreal>(m_bar->lengthInt(), m_bar->thicknessInt());
    QTransform toSquare;
    toSquare.translate(side / 2, side / 2);
    toSquare.rotate(-m_bar->rotation());
    QPainterPath bar;
    bar.addRect(QRectF(-length / 2, -thickness / 2, length, thickness));
    return toSquare.map(bar);
}

void DispProgressBarWidget::refreshValue()
{
    const DispReadout::Reading reading = DispReadout::lookup(m_sensors, m_displayType);
    switch (reading.kind) {
    case DispReadout::Reading::NoTable:
        return;
    case DispReadout::Reading::Empty:
        m_bar->setRange(0.0f, 100.0f);
        m_bar->setValue(0.0f);
        return;
    case DispReadout::Reading::Value:
        // Unlike the ring, the bar takes the reading as it is.
        setRangeFor(reading.readingType, reading.label);
        m_bar->setValue(float(reading.value));
        return;
    }
}
