#include "dispprogressbarwidget.h"

#include "dispprogressbar.h"
#include "dispreadout.h"
#include "dispsensormanager.h"
#include "dispwidgetnames.h"

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
