#include "dispchartwidget.h"

#include "dispchart.h"
#include "dispreadout.h"
#include "dispsensormanager.h"
#include "dispwidgetnames.h"

DispChartWidget::DispChartWidget(DispWidget* parent, DispSensorManager* sensors)
    : DispWidget(parent), m_subscription(sensors)
{
    setObjectName(DispWidgetNames::next(DispWidgetNames::Chart));
    m_chart = new DispChart;
    m_chart->resize(200, 100);
    setContentWidget(m_chart);
    cacheContent();
    if (sensors != nullptr) {
        connect(sensors, &DispSensorManager::dataChanged, this, &DispChartWidget::updateData);
    }
    setSubscription(DispSensorManager::kFirstSubscription);
}

void DispChartWidget::setSubscription(int type)
{
    // The history restarts before the acquire, whose reading arrives at once.
    m_chart->setRange(0.0f, DispReadout::subscriptionMaximum(type));
    m_chart->reset();
    m_subscription.change(type);
}

void DispChartWidget::updateData(int type, double value, const QString& unitStr)
{
    if (m_subscription.type() == 0 || type != m_subscription.type()) {
        return;
    }
    m_chart->setCurrentValue(float(value));
    m_chart->setCaption(QString::asprintf("%.02f ", value) + unitStr);
}
