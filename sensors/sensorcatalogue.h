#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// One record of the sensor catalogue: a reading of the sensor library or one
// the manager makes itself. Its position in the catalogue never changes after
// start-up.
struct SensorReading
{
    quint32 sensorIndex = 0;
    QString sensorName;
    QString deviceName;
    qint32 sensorClass = 0;
    QString label;
    qint32 subClass = 0;
    qint32 readingType = 0;
    double value = 0.0;
    QString unit;
};

// Binds one display type to a catalogue record or to a marker.
struct SensorBinding
{
    // No record qualifies: readers show "0".
    static constexpr qint32 kNoRecord = 0xFF00;
    // The sum of the records bound at the two previous positions, with the
    // unit of the one just before (Total memory).
    static constexpr qint32 kSumOfPrevious = 0xFF01;
    // Show fixedText.
    static constexpr qint32 kFixedText = 0xFFFF;

    qint32 displayType = 0;
    qint32 catalogueIndex = kNoRecord;
    QString fixedText;
};

// Reading types and the codes the binding rules test.
namespace SensorCodes {
constexpr int kTemperature = 1;
constexpr int kVoltage = 2;
constexpr int kFan = 3;
constexpr int kPower = 5;
constexpr int kClock = 6;
constexpr int kUsage = 7;
constexpr int kOther = 8;
constexpr int kCpuAverageClock = 128;
constexpr int kCpuAverageVoltage = 129;
constexpr int kDiskCapacity = 130;

constexpr int kClassSystem = 0;
constexpr int kClassMemory = 10;
constexpr int kClassCpu = 11;
constexpr int kClassMotherboard = 12;
constexpr int kClassGpu = 13;
constexpr int kClassDrive = 15;
constexpr int kClassNetwork = 16;
} // namespace SensorCodes

// The 35 display types that widgets bind to.
namespace DisplayTypes {
constexpr int kCount = 35;
constexpr int kCpuTemperature = 0;
constexpr int kCpuName = 6;
constexpr int kGpuTemperature = 7;
constexpr int kGpuName = 17;
constexpr int kUnusedMemory = 20;
constexpr int kTotalMemory = 21;
constexpr int kMemoryName = 22;
constexpr int kFps = 34;

// The untranslated name ("CPU Temperature" ... "FPS"); empty out of range.
const char* sourceName(int type);
// The user-visible, translated name.
QString name(int type);
} // namespace DisplayTypes

// What the table build knows beside the catalogue.
struct DisplayTableContext
{
    int cpuVendor = 0; // 0 Intel, 1 AMD
    int gpuCount = 0;
    QString gpuSensorName;
    QString networkSensorName;
    QStringList driveSensorNames;
    QString cpuName;
    QString gpuName;
    QString memoryManufacturer;
};

struct GpuChoice
{
    int count = 0;
    QStringList names;
    QString name;
    QString sensorName;
};

namespace SensorRules {

// Whether a library reading of this class is kept in the catalogue.
bool keepLibraryReading(int sensorClass, int readingType, int subClass);

// Which GPU the GPU display types follow. videoControllers is consulted with
// an Intel CPU only.
GpuChoice chooseGpu(const QVector<SensorReading>& catalogue, int cpuVendor,
                    const QStringList& videoControllers);

// The first network sensor whose "Total DL" counter is above 0.
QString networkSensorName(const QVector<SensorReading>& catalogue);

// One entry per display type, in display-type order.
QVector<SensorBinding> buildDisplayTable(const QVector<SensorReading>& catalogue,
                                         const DisplayTableContext& context);

// The record bound at one position (markers excluded), or -1.
int ruleMatch(const QVector<SensorReading>& catalogue, const DisplayTableContext& context, int type);

} // namespace SensorRules
