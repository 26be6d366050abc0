#pragma once

#include "displabelwidget.h"
#include "dispsensormanager.h"

#include <QPointer>
#include <QVector>

#include <functional>

// A label showing the live reading bound to one display type; its text is
// recomputed every time the sensor manager publishes fresh readings.
class DispNumberWidget : public DispLabelWidget
{
    Q_OBJECT

public:
    static constexpr quint32 kUnbound = 0xFFFF;
    // Catalogue indexes with a special meaning in the display-value table.
    static constexpr quint32 kFixedText = 0xFFFF;
    static constexpr quint32 kNoReading = 0xFF00;
    static constexpr quint32 kSumOfPrevious = 0xFF01;

    // One entry of the display-value table; the entry at position p has type p.
    struct TableEntry
    {
        quint32 displayType = 0;
        quint32 catalogueIndex = kNoReading;
        QString fixedText;
    };
    // Value and unit of a catalogue record; false for an index it lacks.
    using RecordReader = std::function<bool(quint32 index, double* value, QString* unit)>;

    DispNumberWidget(DispWidget* parent, DispSensorManager* sensors, const QString& suffix = QString());

    void setSensorType(quint32 type) { m_displayType = type; }
    quint32 sensorType() const { return m_displayType; }
    DispSensorManager* sensorManager() const { return m_sensors; }

    // The text for a display type, or a null string when the table has no
    // entry for it (the widget then keeps its text).
    static QString valueText(const QVector<TableEntry>& table, const RecordReader& record, quint32 type);

public slots:
    void refreshValue();

private:
    // Cleared when the manager goes: a widget removed from its scene may
    // outlive it with an update still queued.
    QPointer<DispSensorManager> m_sensors;
    quint32 m_displayType = kUnbound;
};
