#include "sensorcatalogue.h"

#include <QCoreApplication>

using namespace SensorCodes;

namespace {

const char* const kDisplayTypeNames[DisplayTypes::kCount] = {
    QT_TRANSLATE_NOOP("DispSensorManager", "CPU Temperature"),
    QT_TRANSLATE_NOOP("DispSensorManager", "CPU Frequency"),
    QT_TRANSLATE_NOOP("DispSensorManager", "CPU Usage"),
    QT_TRANSLATE_NOOP("DispSensorManager", "CPU Power"),
    QT_TRANSLATE_NOOP("DispSensorManager", "CPU Fan"),
    QT_TRANSLATE_NOOP("DispSensorManager", "CPU Voltage"),
    QT_TRANSLATE_NOOP("DispSensorManager", "CPU Name"),
    QT_TRANSLATE_NOOP("DispSensorManager", "GPU Temperature"),
    QT_TRANSLATE_NOOP("DispSensorManager", "GPU Frequency"),
    QT_TRANSLATE_NOOP("DispSensorManager", "GPU Usage"),
    QT_TRANSLATE_NOOP("DispSensorManager", "GPU Memory Allocated"),
    QT_TRANSLATE_NOOP("DispSensorManager", "GPU Memory Available"),
    QT_TRANSLATE_NOOP("DispSensorManager", "GPU Memory Clock"),
    QT_TRANSLATE_NOOP("DispSensorManager", "GPU Memory Usage"),
    QT_TRANSLATE_NOOP("DispSensorManager", "GPU Power"),
    QT_TRANSLATE_NOOP("DispSensorManager", "GPU Fan"),
    QT_TRANSLATE_NOOP("DispSensorManager", "GPU Voltage"),
    QT_TRANSLATE_NOOP("DispSensorManager", "GPU Name"),
    QT_TRANSLATE_NOOP("DispSensorManager", "Memory Usage"),
    QT_TRANSLATE_NOOP("DispSensorManager", "Used memory"),
    QT_TRANSLATE_NOOP("DispSensorManager", "Unused memory"),
    QT_TRANSLATE_NOOP("DispSensorManager", "Total memory"),
    QT_TRANSLATE_NOOP("DispSensorManager", "Memory Name"),
    QT_TRANSLATE_NOOP("DispSensorManager", "CHA Fan"),
    QT_TRANSLATE_NOOP("DispSensorManager", "Pump Fan"),
    QT_TRANSLATE_NOOP("DispSensorManager", "System Fan"),
    QT_TRANSLATE_NOOP("DispSensorManager", "Download Speed"),
    QT_TRANSLATE_NOOP("DispSensorManager", "Upload Speed"),
    QT_TRANSLATE_NOOP("DispSensorManager", "Sound Volume"),
    QT_TRANSLATE_NOOP("DispSensorManager", "Disk Total"),
    QT_TRANSLATE_NOOP("DispSensorManager", "Disk Used"),
    QT_TRANSLATE_NOOP("DispSensorManager", "Disk Available"),
    QT_TRANSLATE_NOOP("DispSensorManager", "Disk Load"),
    QT_TRANSLATE_NOOP("DispSensorManager", "Disk Temperature"),
    QT_TRANSLATE_NOOP("DispSensorManager", "FPS"),
};

bool is(const SensorReading& r, int type, int sensorClass, int subClass)
{
    return r.readingType == type && r.sensorClass == sensorClass && r.subClass == subClass;
}

bool labelHas(const SensorReading& r, const char* text)
{
    return r.label.contains(QLatin1String(text));
}

bool systemRecord(const SensorReading& r, int type, const char* label)
{
    return is(r, type, kClassSystem, 0) && labelHas(r, label) &&
           r.deviceName.contains(QLatin1String("System"));
}

// Rules shared by GPU Frequency and GPU Usage: the chosen GPU's own record,
// or an integrated GPU's record on the CPU sensor.
bool gpuOrIntegrated(const SensorReading& r, const DisplayTableContext& c)
{
    return (r.sensorClass == kClassGpu && r.sensorName == c.gpuSensorName) ||
           (r.sensorClass == kClassCpu && r.sensorName != c.gpuSensorName);
}

bool gpuTemperatureRule(const SensorReading& r, const DisplayTableContext& c)
{
    const bool useGpuSensor = c.cpuVendor == 1 || c.gpuCount >= 2;
    if (useGpuSensor) {
        if (r.sensorClass != kClassGpu || r.readingType != kTemperature || r.sensorName != c.gpuSensorName) {
            return false;
        }
        if (r.sensorName.contains(QLatin1String("AMD"))) {
            return r.subClass == 101;
        }
        if (r.sensorName.contains(QLatin1String("NVIDIA"))) {
            return r.subClass == 10;
        }
        return true;
    }
    return is(r, kTemperature, kClassCpu, 10) && !r.sensorName.contains(QLatin1String("DTS"));
}

bool matches(const SensorReading& r, const DisplayTableContext& c, int type)
{
    const bool gpu = r.sensorName == c.gpuSensorName;
    switch (type) {
    case 0:
        return is(r, kTemperature, kClassCpu, 10) &&
               (c.cpuVendor == 1 || r.sensorName.contains(QLatin1String("DTS")));
    case 1:
        return r.readingType == kCpuAverageClock;
    case 2:
        return is(r, kUsage, kClassCpu, 10) && r.label.startsWith(QLatin1String("Total CPU Usage"));
    case 3:
        return is(r, kPower, kClassCpu, 10) && labelHas(r, "CPU Package Power");
    case 4:
        return is(r, kFan, kClassMotherboard, 14);
    case 5:
        return r.readingType == kCpuAverageVoltage;
    case 7:
        return gpuTemperatureRule(r, c);
    case 8:
        return r.readingType == kClock && r.subClass == 101 && gpuOrIntegrated(r, c);
    case 9:
        return r.readingType == kUsage && r.subClass == 101 && labelHas(r, "GPU D3D Usage") &&
               gpuOrIntegrated(r, c);
    case 10:
        return is(r, kOther, kClassGpu, 0) && labelHas(r, "GPU Memory Allocated") && gpu;
    case 11:
        return is(r, kOther, kClassGpu, 0) && labelHas(r, "GPU Memory Available") && gpu;
    case 12:
        return is(r, kClock, kClassGpu, 32) && gpu;
    case 13:
        return is(r, kUsage, kClassGpu, 32) && gpu;
    case 14:
        return is(r, kPower, kClassGpu, 101) && gpu;
    case 15:
        return is(r, kFan, kClassGpu, 0) && gpu;
    case 16:
        return is(r, kVoltage, kClassGpu, 101) && gpu;
    case 18:
        return is(r, kOther, kClassMemory, 32) && labelHas(r, "Physical Memory Load");
    case 19:
        return is(r, kOther, kClassMemory, 32) && labelHas(r, "Physical Memory Used");
    case 20:
        return is(r, kOther, kClassMemory, 32) && labelHas(r, "Physical Memory Available");
    case 23:
        return is(r, kFan, kClassMotherboard, 800);
    case 24:
        return is(r, kFan, kClassMotherboard, 901);
    case 25:
        return is(r, kFan, kClassMotherboard, 706);
    case 26:
        return is(r, kOther, kClassNetwork, 0) && labelHas(r, "Current DL rate") &&
               r.sensorName == c.networkSensorName;
    case 27:
        return is(r, kOther, kClassNetwork, 0) && labelHas(r, "Current UP rate") &&
               r.sensorName == c.networkSensorName;
    case 28:
        return systemRecord(r, kUsage, "Sound Volume");
    case 29:
        return systemRecord(r, kDiskCapacity, "Disk Total");
    case 30:
        return systemRecord(r, kDiskCapacity, "Disk Used");
    case 31:
        return systemRecord(r, kDiskCapacity, "Disk Available");
    case 32:
        return systemRecord(r, kUsage, "Disk Load");
    case 33:
        return is(r, kTemperature, kClassDrive, 0) && r.label == QLatin1String("Drive Temperature") &&
               !c.driveSensorNames.isEmpty() && r.sensorName == c.driveSensorNames.first();
    case 34:
        return is(r, kOther, kClassSystem, 0) && labelHas(r, "Framerate Displayed (avg)");
    default:
        return false;
    }
}

} // namespace

namespace DisplayTypes {

const char* sourceName(int type)
{
    return type >= 0 && type < kCount ? kDisplayTypeNames[type] : "";
}

QString name(int type)
{
    return QCoreApplication::translate("DispSensorManager", sourceName(type));
}

} // namespace DisplayTypes

namespace SensorRules {

bool keepLibraryReading(int sensorClass, int readingType, int subClass)
{
    auto oneOf = [](int value, std::initializer_list<int> set) {
        return std::find(set.begin(), set.end(), value) != set.end();
    };
    switch (sensorClass) {
    case kClassSystem:
        return readingType == kOther && subClass == 0;
    case kClassMemory:
        return readingType == kOther && subClass == 32;
    case kClassCpu:
        return oneOf(readingType, {1, 2, 5, 6, 7}) && oneOf(subClass, {10, 11, 100, 101});
    case kClassMotherboard:
        return readingType == kFan;
    case kClassGpu:
        return oneOf(readingType, {1, 2, 5, 6, 7, 8}) && oneOf(subClass, {0, 10, 100, 101});
    case kClassDrive:
        return readingType == kTemperature;
    case kClassNetwork:
        return true;
    default:
        return false;
    }
}

GpuChoice chooseGpu(const QVector<SensorReading>& catalogue, int cpuVendor,
                    const QStringList& videoControllers)
{
    GpuChoice choice;
    if (cpuVendor == 1) {
        QString previous;
        bool first = true;
        for (const SensorReading& r : catalogue) {
            if (r.sensorClass != kClassGpu) {
                continue;
            }
            if (first || r.sensorName != previous) {
                ++choice.count;
            }
            first = false;
            previous = r.sensorName;
            if (choice.sensorName.isEmpty() && r.sensorName.contains(QLatin1String("GPU [#0]:"))) {
                choice.sensorName = r.sensorName;
                choice.name = r.deviceName;
            }
        }
        return choice;
    }
    for (const QString& line : videoControllers) {
        if (line.contains(QLatin1String("NVIDIA")) || line.contains(QLatin1String("AMD")) ||
            line.contains(QLatin1String("Intel(R)"))) {
            ++choice.count;
            choice.names.append(line);
        }
    }
    if (choice.count == 1) {
        choice.name = choice.names.first();
    } else if (choice.count >= 2) {
        for (const SensorReading& r : catalogue) {
            if (is(r, kUsage, kClassGpu, 101) && labelHas(r, "GPU D3D Usage") &&
                r.sensorName.contains(QLatin1String("GPU [#0]:"))) {
                choice.sensorName = r.sensorName;
                choice.name = r.deviceName;
                break;
            }
        }
    }
    return choice;
}

QString networkSensorName(const QVector<SensorReading>& catalogue)
{
    for (const SensorReading& r : catalogue) {
        if (is(r, kOther, kClassNetwork, 0) && labelHas(r, "Total DL") && r.value > 0) {
            return r.sensorName;
        }
    }
    return {};
}

int ruleMatch(const QVector<SensorReading>& catalogue, const DisplayTableContext& context, int type)
{
    for (int i = 0; i < catalogue.size(); ++i) {
        if (matches(catalogue.at(i), context, type)) {
            return i;
        }
    }
    return -1;
}

QVector<SensorBinding> buildDisplayTable(const QVector<SensorReading>& catalogue,
                                         const DisplayTableContext& context)
{
    QVector<SensorBinding> table;
    table.reserve(DisplayTypes::kCount);
    for (int type = 0; type < DisplayTypes::kCount; ++type) {
        SensorBinding binding;
        binding.displayType = type;
        switch (type) {
        case DisplayTypes::kCpuName:
            binding.catalogueIndex = SensorBinding::kFixedText;
            binding.fixedText = context.cpuName;
            break;
        case DisplayTypes::kGpuName:
            binding.catalogueIndex = SensorBinding::kFixedText;
            binding.fixedText = context.gpuName;
            break;
        case DisplayTypes::kMemoryName:
            binding.catalogueIndex = SensorBinding::kFixedText;
            binding.fixedText = context.memoryManufacturer;
            break;
        case DisplayTypes::kTotalMemory:
            binding.catalogueIndex = SensorBinding::kSumOfPrevious;
            break;
        default: {
            const int index = ruleMatch(catalogue, context, type);
            binding.catalogueIndex = index < 0 ? SensorBinding::kNoRecord : index;
            break;
        }
        }
        table.append(binding);
    }
    return table;
}

} // namespace SensorRules
