#include "disp3dwidget.h"

#include "disp3d.h"
#include "dispsensormanager.h"
#include "dispwidgetnames.h"

Disp3DWidget::Disp3DWidget(DispWidget* parent, DispSensorManager* sensors)
    : DispWidget(parent), m_subscription(sensors)
{
    setObjectName(DispWidgetNames::next(DispWidgetNames::ThreeD));
    m_view = new Disp3D;
    setContentWidget(m_view);
    cacheContent();
    if (sensors != nullptr) {
        connect(sensors, &DispSensorManager::dataChanged, this, &Disp3DWidget::updateData);
    }
    setSubscription(DispSensorManager::kFirstSubscription);
}

void Disp3DWidget::setSubscription(int type)
{
    m_subscription.change(type);
}

void Disp3DWidget::updateData(int type, double value, const QString& unitStr)
{
    if (m_subscription.type() == 0 || type != m_subscription.type()) {
        return;
    }
    // The same reading again (every second) would redraw the text in 3D for
    // nothing, the costliest redraw of all widgets.
    const QString text = QString::asprintf("%.02f ", value) + unitStr;
    if (text == m_view->text()) {
        return;
    }
    m_view->setText(text);
    update();
}
