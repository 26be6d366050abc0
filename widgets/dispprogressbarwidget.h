#pragma once

#include "dispsensormanager.h"
#include "dispwidget.h"

#include <QPointer>

class DispProgressBar;

// Shows the reading bound to one display type as a straight bar
// (progress_bar_<n>); the bar panel creates, edits and stores it.
class DispProgressBarWidget : public DispWidget
{
    Q_OBJECT

public:
    DispProgressBarWidget(DispWidget* parent, DispSensorManager* sensors);

    void setSensorType(quint32 type) { m_displayType = type; }
    quint32 sensorType() const { return m_displayType; }
    DispProgressBar* bar() const { return m_bar; }
    // The bar's range for a catalogue record's reading type and label.
    void setRangeFor(qint32 readingType, const QString& label);

    int progressBarLength() const override;
    int progressBarRotation() const override;
    // Hits follow the drawn bar rather than its square: the square of a long
    // bar covers the widgets beside it.
    QPainterPath shape() const override;

public slots:
    void refreshValue();

private:
    QPointer<DispSensorManager> m_sensors;
    DispProgressBar* m_bar = nullptr;
    quint32 m_displayType = 0;
};
