#include "disparcwidget.h"

#include "dispcircularprogressbar.h"
#include "dispreadout.h"
#include "dispsensormanager.h"
#include "dispwidgetnames.h"

#include <cmath>

DispArcWidget::DispArcWidget(DispWidget* parent, DispSensorManager* sensors)
    : DispWidget(parent), m_sensors(sensors)
{
    setObjectName(DispWidgetNames::next(DispWidgetNames::Arc));
    m_ring = new DispCircularProgressBar;
    setContentWidget(m_ring);
    cacheContent();
    if (sensors != nullptr) {
        // The manager publishes from its own thread: delivery is queued.
        connect(sensors, &DispSensorManager::updateDisplayData, this, &DispArcWidget::refreshValue);
    }
}

void DispArcWidget::setRangeFor(qint32 readingType, const QString& label)
{
    m_ring->setRange(0.0f, DispReadout::rangeMaximum(readingType, label));
}

void DispArcWidget::refreshValue()
{
    const DispReadout::Reading reading = DispReadout::lookup(m_sensors, m_displayType);
    switch (reading.kind) {
    case DispReadout::Reading::NoTable:
        return;
    case DispReadout::Reading::Empty:
        m_ring->setRange(0.0f, 100.0f);
        m_ring->setValue(0.0f, QString());
        return;
    case DispReadout::Reading::Value:
        setRangeFor(reading.readingType, reading.label);
        // The ring shows whole numbers: the reading is truncated toward zero.
        m_ring->setValue(float(std::trunc(reading.value)), reading.unit);
        return;
    }
}
