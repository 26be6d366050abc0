#pragma once

#include "sensorlibrary.h"

#include <QString>
#include <QVector>

#include <array>

// One reading of a sensor as a source models it before it is copied into a
// library record.
struct ModelReading
{
    int kind = 0; // reading type 1..8
    int sensorClass = 0;
    int subClass = 0;
    QString device;
    QString label;
    QString unit;
    double value = 0.0;
};

struct ModelSensor
{
    QString name;
    QVector<ModelReading> readings;
};

// Shared body of the sources that keep their sensors as a list: answers the
// count, name and reading queries from m_sensors. Slot r of kind k is the
// r-th reading of that kind, so empty slots are answered at once.
class ModelSensorLibrary : public SensorLibrary
{
public:
    int sensorCount() override;
    void selectSensor(int sensor) override;
    void sensorName(int sensor, char* buffer, int size) override;
    int readReading(int kind, int sensor, int slot, SensorLibraryRecord* record) override;

protected:
    // Call after the list of sensors or readings changed shape (values may
    // change freely without it).
    void rebuildSlots();

    QVector<ModelSensor> m_sensors;

private:
    // Per sensor, per kind 1..8: indices into the sensor's readings.
    QVector<std::array<QVector<int>, SensorLibrary::kKindCount>> m_slots;
};
