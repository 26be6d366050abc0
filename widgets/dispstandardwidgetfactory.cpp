#include "dispstandardwidgetfactory.h"

#include "dispdatetimecomp.h"
#include "dispdatewidget.h"
#include "dispimagewidget.h"
#include "dispnumberwidget.h"
#include "disptextwidget.h"
#include "disptimewidget.h"
#include "dispweekdaywidget.h"

// Readouts.
#include "disp3dwidget.h"
#include "dispanalogclockwidget.h"
#include "disparcwidget.h"
#include "dispchartwidget.h"
#include "dispgaugewidget.h"
#include "dispprogressbarwidget.h"

void DispStandardWidgetFactory::install()
{
    static DispStandardWidgetFactory factory;
    DispWidgetFactory::setStandard(&factory);
}

DispMadeWidget<DispTextWidget> DispStandardWidgetFactory::makeTextWidget(const QString& suffix)
{
    auto* widget = new DispTextWidget(nullptr, suffix);
    return {widget, widget};
}

DispMadeWidget<DispNumberWidget> DispStandardWidgetFactory::makeNumberWidget(DispSensorManager* sensors,
                                                                             const QString& suffix)
{
    auto* widget = new DispNumberWidget(nullptr, sensors, suffix);
    return {widget, widget};
}

DispMadeWidget<DispDateWidget> DispStandardWidgetFactory::makeDateWidget(const QString& suffix)
{
    auto* widget = new DispDateWidget(nullptr, suffix);
    return {widget, widget};
}

DispMadeWidget<DispTimeWidget> DispStandardWidgetFactory::makeTimeWidget(const QString& suffix)
{
    auto* widget = new DispTimeWidget(nullptr, suffix);
    return {widget, widget};
}

DispMadeWidget<DispWeekdayWidget> DispStandardWidgetFactory::makeWeekdayWidget(const QString& suffix)
{
    auto* widget = new DispWeekdayWidget(nullptr, suffix);
    return {widget, widget};
}

DispMadeWidget<DispImageWidget> DispStandardWidgetFactory::makeImageWidget(const QString& suffix)
{
    auto* widget = new DispImageWidget(nullptr, suffix);
    return {widget, widget};
}

QList<QGraphicsItem*> DispStandardWidgetFactory::makeDateTimeGroup(const QPointF& position)
{
    // The composite only places its widgets; the scene adds and owns them.
    DispDateTimeComp comp(nullptr, position);
    return {comp.dateWidget(), comp.timeWidget(), comp.weekdayWidget()};
}

DispMadeWidget<DispArcWidget> DispStandardWidgetFactory::makeArcWidget(DispSensorManager* sensors)
{
    auto* widget = new DispArcWidget(nullptr, sensors);
    return {widget, widget};
}

DispMadeWidget<DispProgressBarWidget>
DispStandardWidgetFactory::makeProgressBarWidget(DispSensorManager* sensors)
{
    auto* widget = new DispProgressBarWidget(nullptr, sensors);
    return {widget, widget};
}

DispMadeWidget<DispAnalogClockWidget> DispStandardWidgetFactory::makeAnalogClockWidget()
{
    auto* widget = new DispAnalogClockWidget(nullptr);
    return {widget, widget};
}

DispMadeWidget<DispGaugeWidget> DispStandardWidgetFactory::makeGaugeWidget(DispSensorManager* sensors)
{
    auto* widget = new DispGaugeWidget(nullptr, sensors);
    return {widget, widget};
}

DispMadeWidget<DispChartWidget> DispStandardWidgetFactory::makeChartWidget(DispSensorManager* sensors)
{
    auto* widget = new DispChartWidget(nullptr, sensors);
    return {widget, widget};
}

DispMadeWidget<Disp3DWidget> DispStandardWidgetFactory::make3DWidget(DispSensorManager* sensors)
{
    auto* widget = new Disp3DWidget(nullptr, sensors);
    return {widget, widget};
}
