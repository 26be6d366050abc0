#include "modelsensorlibrary.h"

#include <cstring>

int ModelSensorLibrary::sensorCount()
{
    return m_sensors.size();
}

void ModelSensorLibrary::selectSensor(int) {}

void ModelSensorLibrary::sensorName(int sensor, char* buffer, int size)
{
    if (!buffer || size <= 0) {
        return;
    }
    buffer[0] = '\0';
    if (sensor < 0 || sensor >= m_sensors.size()) {
        return;
    }
    setSensorFieldText(buffer, std::size_t(size), m_sensors.at(sensor).name);
}

int ModelSensorLibrary::readReading(int kind, int sensor, int slot, SensorLibraryRecord* record)
{
    if (!record || kind < 1 || kind > kKindCount || sensor < 0 || sensor >= m_slots.size() || slot < 0) {
        return 0;
    }
    const QVector<int>& indices = m_slots.at(sensor)[std::size_t(kind - 1)];
    if (slot >= indices.size()) {
        return 0;
    }
    const ModelReading& reading = m_sensors.at(sensor).readings.at(indices.at(slot));
    record->presence[0] = 1;
    record->value = reading.value;
    record->setUnit(reading.unit);
    record->sensorClass = uint32_t(reading.sensorClass);
    record->setDevice(reading.device);
    record->subClass = uint32_t(reading.subClass);
    record->setLabel(reading.label);
    record->readingType = uint32_t(kind);
    return 1;
}

void ModelSensorLibrary::rebuildSlots()
{
    m_slots.clear();
    m_slots.resize(m_sensors.size());
    for (int s = 0; s < m_sensors.size(); ++s) {
        const QVector<ModelReading>& readings = m_sensors.at(s).readings;
        for (int i = 0; i < readings.size(); ++i) {
            const int kind = readings.at(i).kind;
            if (kind < 1 || kind > kKindCount) {
                continue;
            }
            QVector<int>& indices = m_slots[s][std::size_t(kind - 1)];
            if (indices.size() < kSlotCount) {
                indices.append(i);
            }
        }
    }
}
