#pragma once

#include "dispsensormanager.h"
#include "dispwidget.h"

#include <QPointer>

class DispCircularProgressBar;

// Shows the reading bound to one display type as a ring (arc_<n>); the arc
// panel creates, edits and stores it.
class DispArcWidget : public DispWidget
{
    Q_OBJECT

public:
    DispArcWidget(DispWidget* parent, DispSensorManager* sensors);

    void setSensorType(quint32 type) { m_displayType = type; }
    quint32 sensorType() const { return m_displayType; }
    DispCircularProgressBar* ring() const { return m_ring; }
    // The ring's range for a catalogue record's reading type and label.
    void setRangeFor(qint32 readingType, const QString& label);

public slots:
    void refreshValue();

private:
    QPointer<DispSensorManager> m_sensors;
    DispCircularProgressBar* m_ring = nullptr;
    quint32 m_displayType = 0;
};
