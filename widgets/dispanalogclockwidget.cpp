#include "dispanalogclockwidget.h"

#include "dispanalogclock.h"
#include "dispwidgetnames.h"

#include <QGraphicsProxyWidget>

DispAnalogClockWidget::DispAnalogClockWidget(DispWidget* parent) : DispWidget(parent)
{
    setObjectName(DispWidgetNames::next(DispWidgetNames::AnalogClock));
    m_clock = new DispAnalogClock;
    setContentWidget(m_clock);
    // Frames reuse the last drawing until the content asks for a repaint.
    contentProxy()->setCacheMode(QGraphicsItem::DeviceCoordinateCache);
}
