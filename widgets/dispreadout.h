#pragma once

#include <QGradientStops>
#include <QString>
#include <QtGlobal>

class DispSensorManager;
class QDataStream;

// The reading a ring or a bar shows for its display type, and the ranges the
// readout widgets take from a reading's kind.
class DispReadout
{
public:
    struct Reading
    {
        enum Kind
        {
            NoTable, // the display-value table has no entry for the type yet
            Empty,   // a fixed text or nothing bound: an empty readout
            Value,   // value, unit, and the reading type and label of the record
        };
        Kind kind = NoTable;
        double value = 0.0;
        QString unit;
        qint32 readingType = 0;
        QString label;
    };

    DispReadout() = delete;

    // The table walk of the readout widgets: the first entry of the display
    // type; a sum entry adds the two records before it and takes the reading
    // type, label and unit of the one just before.
    static Reading lookup(const DispSensorManager* sensors, quint32 displayType);

    // The top of a ring's or bar's range (the bottom is 0) for a catalogue
    // record's reading type and label.
    static float rangeMaximum(qint32 readingType, const QString& label);

    // The top of a gauge's or chart's range (the bottom is 0) for a
    // subscription type: clocks 10000, temperatures 120, the rest 100.
    static float subscriptionMaximum(int type);

    // The gradient stops of a ring's or bar's attribute block: a 32-bit
    // count, then each stop's position as a double and its colour.
    static void writeStops(QDataStream& out, const QGradientStops& stops);
    // False, with stops untouched, when the count does not fit the bytes
    // left or the stream fails.
    static bool readStops(QDataStream& in, QGradientStops* stops);
};
