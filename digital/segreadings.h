#pragma once

#include "sensorcatalogue.h"

#include <QVector>

// Which catalogue records feed the two numbers of a seven-segment panel.
namespace SegReadings {

enum Source
{
    Cpu = 0,
    Gpu = 1,
};

// What the sensor manager knows of the machine.
struct Machine
{
    bool intelCpu = true; // otherwise AMD
    bool integratedGpu = false;
};

// Index of the first record that gives the temperature (usage) of the
// source, or -1.
int temperatureRecord(const QVector<SensorReading>& catalogue, int source, const Machine& machine);
int usageRecord(const QVector<SensorReading>& catalogue, int source, const Machine& machine);

// The record's value truncated toward zero; `previous` when there is no
// record or its value is not a finite number.
int wholeValue(const QVector<SensorReading>& catalogue, int index, int previous);

} // namespace SegReadings
