#pragma once

#include "dispsensormanager.h"

#include <QPointer>

// One widget's hold on a subscription reading of the sensor manager (types 1
// to 6). Changing the type releases the previous one first, and the hold is
// released when its widget goes, so the manager's reference counts stay
// balanced over a widget's whole life.
class DispSubscription
{
public:
    explicit DispSubscription(DispSensorManager* sensors) : m_sensors(sensors) {}
    ~DispSubscription();

    DispSubscription(const DispSubscription&) = delete;
    DispSubscription& operator=(const DispSubscription&) = delete;

    // Releases the current type when it is above 0, then acquires type (the
    // manager refuses types outside 1 to 6 and logs it).
    void change(int type);
    int type() const { return m_type; }
    DispSensorManager* sensors() const { return m_sensors; }

private:
    QPointer<DispSensorManager> m_sensors;
    int m_type = 0;
    bool m_held = false;
};
