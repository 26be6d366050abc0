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
};
