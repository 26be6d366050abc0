#pragma once

#include "dispsubscription.h"
#include "dispwidget.h"

class Disp3D;
class DispSensorManager;

// Shows the latest value of one subscription reading as extruded 3D text
// (gauge_<n>, with a counter of its own).
class Disp3DWidget : public DispWidget
{
    Q_OBJECT

public:
    Disp3DWidget(DispWidget* parent, DispSensorManager* sensors);

    // Releases the current type and acquires the new one.
    void setSubscription(int type);
    int subscription() const { return m_subscription.type(); }
    Disp3D* view() const { return m_view; }

public slots:
    void updateData(int type, double value, const QString& unitStr);

private:
    Disp3D* m_view = nullptr;
    DispSubscription m_subscription;
};
