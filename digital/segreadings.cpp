#include "segreadings.h"

#include <cmath>
#include <functional>

namespace SegReadings {

namespace {

using SensorCodes::kClassCpu;
using SensorCodes::kClassGpu;
using SensorCodes::kTemperature;
using SensorCodes::kUsage;
constexpr int kSubClassCpu = 10;
constexpr int kSubClassGpu = 101;

int firstMatch(const QVector<SensorReading>& catalogue,
               const std::function<bool(const SensorReading&)>& matches)
{
    for (int i = 0; i < catalogue.size(); ++i) {
        if (matches(catalogue[i])) {
            return i;
        }
    }
    return -1;
}

// Intel machines with an integrated GPU report it inside the CPU's class.
int gpuClass(const Machine& machine)
{
    return machine.intelCpu && machine.integratedGpu ? kClassCpu : kClassGpu;
}

} // namespace

int temperatureRecord(const QVector<SensorReading>& catalogue, int source, const Machine& machine)
{
    if (source == Cpu) {
        return firstMatch(catalogue, [&](const SensorReading& r) {
            return r.readingType == kTemperature && r.sensorClass == kClassCpu &&
                   r.subClass == kSubClassCpu &&
                   (!machine.intelCpu || r.sensorName.contains(QLatin1String("DTS")));
        });
    }
    const int sensorClass = gpuClass(machine);
    const int subClass = machine.intelCpu ? kSubClassCpu : kSubClassGpu;
    return firstMatch(catalogue, [&](const SensorReading& r) {
        return r.readingType == kTemperature && r.sensorClass == sensorClass && r.subClass == subClass &&
               !(machine.intelCpu && machine.integratedGpu && r.sensorName.contains(QLatin1String("DTS")));
    });
}

int usageRecord(const QVector<SensorReading>& catalogue, int source, const Machine& machine)
{
    if (source == Cpu) {
        return firstMatch(catalogue, [&](const SensorReading& r) {
            return r.readingType == kUsage && r.sensorClass == kClassCpu && r.subClass == kSubClassCpu &&
                   (!machine.intelCpu || r.label.startsWith(QLatin1String("Total CPU Usage")));
        });
    }
    const int sensorClass = gpuClass(machine);
    return firstMatch(catalogue, [&](const SensorReading& r) {
        return r.readingType == kUsage && r.sensorClass == sensorClass && r.subClass == kSubClassGpu &&
               !(machine.intelCpu && !machine.integratedGpu &&
                 !r.label.contains(QLatin1String("GPU D3D Usage")));
    });
}

int wholeValue(const QVector<SensorReading>& catalogue, int index, int previous)
{
    if (index < 0 || index >= catalogue.size()) {
        return previous;
    }
    const double value = catalogue[index].value;
    if (!std::isfinite(value)) {
        return previous;
    }
    // Far outside what a sensor reports; bounded so the conversion is defined.
    constexpr double kLimit = 1e9;
    return int(std::trunc(std::fmax(-kLimit, std::fmin(kLimit, value))));
}

} // namespace SegReadings
