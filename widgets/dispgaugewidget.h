#pragma once

#include "dispsubscription.h"
#include "dispwidget.h"

class DispSensorManager;
class QcGaugeWidget;
class QcLabelItem;
class QcNeedleItem;

// Shows one subscription reading (CPU or GPU clock, temperature or usage) as
// a round dial with a needle (gauge_<n>).
class DispGaugeWidget : public DispWidget
{
    Q_OBJECT

public:
    DispGaugeWidget(DispWidget* parent, DispSensorManager* sensors);

    // Releases the current type, takes the needle's range from the new one
    // and acquires it.
    void setSubscription(int type);
    int subscription() const { return m_subscription.type(); }

    QcGaugeWidget* dial() const { return m_dial; }
    QcNeedleItem* needle() const { return m_needle; }
    QcLabelItem* unitLabel() const { return m_unitLabel; }
    QcLabelItem* valueLabel() const { return m_valueLabel; }

public slots:
    void updateData(int type, double value, const QString& unitStr);

private:
    QcGaugeWidget* m_dial = nullptr;
    QcNeedleItem* m_needle = nullptr;
    QcLabelItem* m_unitLabel = nullptr;
    QcLabelItem* m_valueLabel = nullptr;
    DispSubscription m_subscription;
};
