#pragma once

#include "dispsubscription.h"
#include "dispwidget.h"

class DispChart;
class DispSensorManager;

// Plots the recent history of one subscription reading (chart_<n>).
class DispChartWidget : public DispWidget
{
    Q_OBJECT

public:
    DispChartWidget(DispWidget* parent, DispSensorManager* sensors);

    // Releases the current type, acquires the new one and starts the history
    // again with the new type's range.
    void setSubscription(int type);
    int subscription() const { return m_subscription.type(); }
    DispChart* chart() const { return m_chart; }

public slots:
    void updateData(int type, double value, const QString& unitStr);

private:
    DispChart* m_chart = nullptr;
    DispSubscription m_subscription;
};
