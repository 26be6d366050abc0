#include "dispanalogclockwidget.h"

#include "dispanalogclock.h"
#include "dispwidgetnames.h"

DispAnalogClockWidget::DispAnalogClockWidget(DispWidget* parent) : DispWidget(parent)
{
    setObjectName(DispWidgetNames::next(DispWidgetNames::AnalogClock));
    m_clock = new DispAnalogClock;
    setContentWidget(m_clock);
    cacheContent();
}
