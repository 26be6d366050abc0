#pragma once

#include "dispwidget.h"

class DispAnalogClock;

// Shows the local time as an analog clock (clock_<n>); its size is the dial's.
class DispAnalogClockWidget : public DispWidget
{
    Q_OBJECT

public:
    explicit DispAnalogClockWidget(DispWidget* parent = nullptr);

    DispAnalogClock* clock() const { return m_clock; }

private:
    DispAnalogClock* m_clock = nullptr;
};
