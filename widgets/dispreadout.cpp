#include "dispreadout.h"

#include "dispsensormanager.h"

#include <QColor>
#include <QDataStream>
#include <QIODevice>

DispReadout::Reading DispReadout::lookup(const DispSensorManager* sensors, quint32 displayType)
{
    Reading reading;
    if (sensors == nullptr) {
        return reading;
    }
    // Copies of the published snapshot: the manager's thread may publish the
    // next one meanwhile.
    const QVector<SensorBinding> table = sensors->displayTable();
    const QVector<SensorReading> catalogue = sensors->catalogue();
    int position = -1;
    for (int i = 0; i < table.size(); ++i) {
        if (quint32(table[i].displayType) == displayType) {
            position = i;
            break;
        }
    }
    if (position < 0) {
        return reading;
    }
    reading.kind = Reading::Empty;
    const auto recordAt = [&](int tablePosition) -> const SensorReading* {
        if (tablePosition < 0) {
            return nullptr;
        }
        const int index = table[tablePosition].catalogueIndex;
        return index >= 0 && index < catalogue.size() ? &catalogue[index] : nullptr;
    };
    const SensorReading* record = nullptr;
    double value = 0.0;
    if (table[position].catalogueIndex == SensorBinding::kSumOfPrevious) {
        record = recordAt(position - 1);
        const SensorReading* other = recordAt(position - 2);
        if (record == nullptr || other == nullptr) {
            return reading;
        }
        value = record->value + other->value;
    } else {
        record = recordAt(position);
        if (record == nullptr) {
            return reading; // fixed text, nothing bound, or a record that is gone
        }
        value = record->value;
    }
    reading.kind = Reading::Value;
    reading.value = value;
    reading.unit = record->unit;
    reading.readingType = record->readingType;
    reading.label = record->label;
    return reading;
}

float DispReadout::rangeMaximum(qint32 readingType, const QString& label)
{
    switch (readingType) {
    case 1: // temperature
        return 200.0f;
    case 3:   // fan
    case 6:   // clock
    case 128: // CPU average clock
    case 130: // disk capacity
        return 10000.0f;
    case 8: // other quantity
        if (label == QLatin1String("Framerate Displayed (avg)")) {
            return 200.0f;
        }
        if (label == QLatin1String("Physical Memory Load")) {
            return 100.0f;
        }
        return 100000.0f;
    default:
        return 100.0f;
    }
}

float DispReadout::subscriptionMaximum(int type)
{
    switch (type) {
    case 1:
    case 4:
        return 10000.0f;
    case 2:
    case 5:
        return 120.0f;
    default:
        return 100.0f;
    }
}

void DispReadout::writeStops(QDataStream& out, const QGradientStops& stops)
{
    out << qint32(stops.size());
    for (const QGradientStop& stop : stops) {
        out << double(stop.first) << stop.second;
    }
}

bool DispReadout::readStops(QDataStream& in, QGradientStops* stops)
{
    // A stop takes 8 bytes of position and 11 of colour.
    constexpr qint64 kStopBytes = 19;
    qint32 count = 0;
    in >> count;
    if (in.status() != QDataStream::Ok || count < 0 || in.device() == nullptr ||
        qint64(count) * kStopBytes > in.device()->bytesAvailable()) {
        return false;
    }
    QGradientStops read;
    read.reserve(count);
    for (qint32 i = 0; i < count; ++i) {
        double position = 0.0;
        QColor color;
        in >> position >> color;
        read.append({position, color});
    }
    if (in.status() != QDataStream::Ok) {
        return false;
    }
    *stops = read;
    return true;
}
