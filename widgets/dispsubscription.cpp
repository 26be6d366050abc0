#include "dispsubscription.h"

#include "dispsensormanager.h"

DispSubscription::~DispSubscription()
{
    if (m_held && m_sensors != nullptr) {
        m_sensors->release(m_type);
    }
}

void DispSubscription::change(int type)
{
    if (m_held && m_sensors != nullptr) {
        m_sensors->release(m_type);
    }
    m_type = type;
    m_held = type >= DispSensorManager::kFirstSubscription && type <= DispSensorManager::kLastSubscription;
    if (m_sensors != nullptr) {
        m_sensors->acquire(type);
    }
}
