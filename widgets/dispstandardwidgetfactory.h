#pragma once

#include "dispwidgetfactory.h"

// Makes the display widgets of this library for every scene. install() once
// at start-up (the application and the tests do) before any tool is dropped.
class DispStandardWidgetFactory : public DispWidgetFactory
{
public:
    static void install();

    DispMadeWidget<DispTextWidget> makeTextWidget(const QString& suffix) override;
    DispMadeWidget<DispNumberWidget> makeNumberWidget(DispSensorManager* sensors,
                                                      const QString& suffix) override;
    DispMadeWidget<DispDateWidget> makeDateWidget(const QString& suffix) override;
    DispMadeWidget<DispTimeWidget> makeTimeWidget(const QString& suffix) override;
    DispMadeWidget<DispWeekdayWidget> makeWeekdayWidget(const QString& suffix) override;
    DispMadeWidget<DispImageWidget> makeImageWidget(const QString& suffix) override;
    QList<QGraphicsItem*> makeDateTimeGroup(const QPointF& position) override;

    // Readouts: rings, bars, gauges, charts, clocks and 3D text.
    DispMadeWidget<DispArcWidget> makeArcWidget(DispSensorManager* sensors) override;
    DispMadeWidget<DispProgressBarWidget> makeProgressBarWidget(DispSensorManager* sensors) override;
    DispMadeWidget<DispAnalogClockWidget> makeAnalogClockWidget() override;
    DispMadeWidget<DispGaugeWidget> makeGaugeWidget(DispSensorManager* sensors) override;
    DispMadeWidget<DispChartWidget> makeChartWidget(DispSensorManager* sensors) override;
    DispMadeWidget<Disp3DWidget> make3DWidget(DispSensorManager* sensors) override;
};
