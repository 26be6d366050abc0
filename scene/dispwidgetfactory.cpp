#include "dispwidgetfactory.h"

namespace {
DispWidgetFactory* g_standard = nullptr;
} // namespace

DispWidgetFactory::~DispWidgetFactory() = default;

DispMadeWidget<DispTextWidget> DispWidgetFactory::makeTextWidget(const QString&)
{
    return {};
}

DispMadeWidget<DispNumberWidget> DispWidgetFactory::makeNumberWidget(DispSensorManager*, const QString&)
{
    return {};
}

DispMadeWidget<DispDateWidget> DispWidgetFactory::makeDateWidget(const QString&)
{
    return {};
}

DispMadeWidget<DispTimeWidget> DispWidgetFactory::makeTimeWidget(const QString&)
{
    return {};
}

DispMadeWidget<DispWeekdayWidget> DispWidgetFactory::makeWeekdayWidget(const QString&)
{
    return {};
}

DispMadeWidget<DispImageWidget> DispWidgetFactory::makeImageWidget(const QString&)
{
    return {};
}

DispMadeWidget<DispScreenCaptureWidget> DispWidgetFactory::makeScreenCaptureWidget(const QString&)
{
    return {};
}

DispMadeWidget<DispArcWidget> DispWidgetFactory::makeArcWidget(DispSensorManager*)
{
    return {};
}

DispMadeWidget<DispProgressBarWidget> DispWidgetFactory::makeProgressBarWidget(DispSensorManager*)
{
    return {};
}

DispMadeWidget<DispAnalogClockWidget> DispWidgetFactory::makeAnalogClockWidget()
{
    return {};
}

DispMadeWidget<DispGaugeWidget> DispWidgetFactory::makeGaugeWidget(DispSensorManager*)
{
    return {};
}

DispMadeWidget<DispChartWidget> DispWidgetFactory::makeChartWidget(DispSensorManager*)
{
    return {};
}

DispMadeWidget<Disp3DWidget> DispWidgetFactory::make3DWidget(DispSensorManager*)
{
    return {};
}

QList<QGraphicsItem*> DispWidgetFactory::makeDateTimeGroup(const QPointF&)
{
    return {};
}

DispWidgetFactory* DispWidgetFactory::standard()
{
    return g_standard;
}

void DispWidgetFactory::setStandard(DispWidgetFactory* factory)
{
    g_standard = factory;
}
