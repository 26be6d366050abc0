#pragma once

#include "sensorlibrary.h"

#include <QLibrary>

// The closed sensor library "configure.dat" beside the executable (Windows),
// with its seven entry points resolved by export ordinal.
class ConfigureSensorLibrary : public SensorLibrary
{
public:
    ConfigureSensorLibrary();
    ~ConfigureSensorLibrary() override;

    bool load() override;
    int start(int flags) override;
    void shutdown() override;
    int sensorCount() override;
    void updateReadings() override;
    void selectSensor(int sensor) override;
    void sensorName(int sensor, char* buffer, int size) override;
    int readReading(int kind, int sensor, int slot, SensorLibraryRecord* record) override;

private:
    using StartFn = int (*)(int);
    using VoidFn = int (*)();
    using IndexFn = int (*)(int);
    using NameFn = int (*)(int, char*, int);
    using ReadFn = int (*)(int, int, int, void*);

    QLibrary m_library;
    StartFn m_start = nullptr;
    VoidFn m_shutdown = nullptr;
    VoidFn m_count = nullptr;
    VoidFn m_update = nullptr;
    IndexFn m_select = nullptr;
    NameFn m_name = nullptr;
    ReadFn m_read = nullptr;
};
