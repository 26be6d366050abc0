#pragma once

#include <QList>
#include <QPointF>
#include <QString>

class QGraphicsItem;
class DispSensorManager;
class DispTextWidget;
class DispNumberWidget;
class DispDateWidget;
class DispTimeWidget;
class DispWeekdayWidget;
class DispImageWidget;
class DispScreenCaptureWidget;
class DispArcWidget;
class DispProgressBarWidget;
class DispAnalogClockWidget;
class DispGaugeWidget;
class DispChartWidget;
class Disp3DWidget;

// A widget just made by a factory: the typed pointer for the caller and the
// same object as a graphics item for the scene.
template <typename W>
struct DispMadeWidget
{
    W* widget = nullptr;
    QGraphicsItem* item = nullptr;
};

// Makes the concrete display widgets for a scene. The scene sits below the
// widget library, so it creates widgets through this interface; the widget
// library installs its implementation at start-up. A kind this build does not
// have yet comes back empty and the scene creates nothing.
class DispWidgetFactory
{
public:
    DispWidgetFactory() = default;
    virtual ~DispWidgetFactory();

    DispWidgetFactory(const DispWidgetFactory&) = delete;
    DispWidgetFactory& operator=(const DispWidgetFactory&) = delete;

    virtual DispMadeWidget<DispTextWidget> makeTextWidget(const QString& suffix);
    virtual DispMadeWidget<DispNumberWidget> makeNumberWidget(DispSensorManager* sensors,
                                                              const QString& suffix);
    virtual DispMadeWidget<DispDateWidget> makeDateWidget(const QString& suffix);
    virtual DispMadeWidget<DispTimeWidget> makeTimeWidget(const QString& suffix);
    virtual DispMadeWidget<DispWeekdayWidget> makeWeekdayWidget(const QString& suffix);
    virtual DispMadeWidget<DispImageWidget> makeImageWidget(const QString& suffix);
    virtual DispMadeWidget<DispScreenCaptureWidget> makeScreenCaptureWidget(const QString& suffix);
    virtual DispMadeWidget<DispArcWidget> makeArcWidget(DispSensorManager* sensors);
    virtual DispMadeWidget<DispProgressBarWidget> makeProgressBarWidget(DispSensorManager* sensors);
    virtual DispMadeWidget<DispAnalogClockWidget> makeAnalogClockWidget();
    virtual DispMadeWidget<DispGaugeWidget> makeGaugeWidget(DispSensorManager* sensors);
    virtual DispMadeWidget<DispChartWidget> makeChartWidget(DispSensorManager* sensors);
    virtual DispMadeWidget<Disp3DWidget> make3DWidget(DispSensorManager* sensors);
    // The date, time and weekday widgets of a dropped "DateTime" tool, placed
    // at position, 28 and 56 below it; the date widget first.
    virtual QList<QGraphicsItem*> makeDateTimeGroup(const QPointF& position);

    // The factory scenes use unless given their own; null until installed.
    static DispWidgetFactory* standard();
    static void setStandard(DispWidgetFactory* factory);
};
