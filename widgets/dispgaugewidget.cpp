#include "dispgaugewidget.h"

#include "dispreadout.h"
#include "dispsensormanager.h"
#include "dispwidgetnames.h"

#include "qcgaugewidget.h"

DispGaugeWidget::DispGaugeWidget(DispWidget* parent, DispSensorManager* sensors)
    : DispWidget(parent), m_subscription(sensors)
{
    setObjectName(DispWidgetNames::next(DispWidgetNames::Gauge));
    m_dial = new QcGaugeWidget;
    m_dial->setAttribute(Qt::WA_TranslucentBackground);
    m_dial->setMinimumSize(50, 50);
    m_dial->resize(80, 80);

    // The dial's items in painting order.
    m_dial->addBackground(99);
    const auto plainBackground = [this](float position, const QColor& color) {
        QcBackgroundItem* item = m_dial->addBackground(position);
        item->clearStops();
        item->addStop(1.0, color);
    };
    plainBackground(97, Qt::black);
    plainBackground(20, Qt::white);
    plainBackground(19, QColor(0, 26, 43));
    plainBackground(7, Qt::white);
    m_dial->addArc(96);
    m_dial->addColorBand(85);
    m_dial->addDegrees(65)->setValueRange(0, 100);
    m_dial->addValues(50)->setValueRange(0, 100);
    m_unitLabel = m_dial->addLabel(70);
    m_unitLabel->setText(QStringLiteral("MHz"));
    m_valueLabel = m_dial->addLabel(40);
    m_valueLabel->setText(QStringLiteral("0"));
    m_needle = m_dial->addNeedle(70);
    m_needle->setLabel(m_valueLabel);
    m_needle->setColor(QColor(243, 83, 50));
    m_needle->setValueRange(0, 100);
    m_needle->setNeedle(QcNeedleItem::TriangleNeedle);
    setContentWidget(m_dial);
    cacheContent();

    if (sensors != nullptr) {
        // Readings come from the manager's thread (queued) or, right after an
        // acquire, from this thread.
        connect(sensors, &DispSensorManager::dataChanged, this, &DispGaugeWidget::updateData);
    }
    setSubscription(DispSensorManager::kFirstSubscription);
}

void DispGaugeWidget::setSubscription(int type)
{
    // The range is set before acquiring: the acquire publishes a reading at once.
    m_needle->setValueRange(0.0f, DispReadout::subscriptionMaximum(type));
    m_subscription.change(type);
}

void DispGaugeWidget::updateData(int type, double value, const QString& unitStr)
{
    if (m_subscription.type() == 0 || type != m_subscription.type()) {
        return;
    }
    m_needle->setNeedleValue(float(value));
    m_unitLabel->setText(unitStr);
}
