#pragma once

#include "modelsensorlibrary.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class NvmlLibrary;

// Where the Linux source looks; tests point these at fake trees.
struct LinuxSensorRoots
{
    QString sys = QStringLiteral("/sys");
    QString proc = QStringLiteral("/proc");
    QString run = QStringLiteral("/run");
    // Device nodes (the msr driver's /dev/cpu/N/msr).
    QString dev = QStringLiteral("/dev");
    // NVML is opened with dlopen(); empty leaves NVIDIA cards to sysfs.
    QString nvmlLibrary = QStringLiteral("libnvidia-ml.so.1");
    QString pciIds;
    // Folder of MangoHud's CSV logs; empty reads no frame rate.
    QString mangoHudFolder;
    // Monotonic nanoseconds; deltas are taken against it.
    std::function<qint64()> clockNs;
};

// The machine's own sensors as library sensors: hwmon, cpufreq, powercap,
// /proc, the DRM and PCI trees, NVML and network counters. The topology is
// found once at start (hwmon chips by name and device, never by their
// number); each update re-reads the values. Nothing here needs root for the
// common readings, and a runtime-suspended GPU or disk is never touched.
class LinuxSensorLibrary : public ModelSensorLibrary
{
public:
    LinuxSensorLibrary();
    explicit LinuxSensorLibrary(LinuxSensorRoots roots);
    ~LinuxSensorLibrary() override;
    LinuxSensorLibrary(const LinuxSensorLibrary&) = delete;
    LinuxSensorLibrary& operator=(const LinuxSensorLibrary&) = delete;

    bool load() override;
    int start(int flags) override;
    void shutdown() override;
    void updateReadings() override;

    // Sensor names and readings as found (tests and the ctl tool).
    const QVector<ModelSensor>& sensors() const { return m_sensors; }

    // Fan header classification: 14 CPU, 901 pump, 800 chassis, 706 other,
    // with the rule that chose it (shown by panelcast-ctl sensors --bindings).
    struct FanRule
    {
        int subClass = 706;
        QString reason;
    };
    static FanRule fanRule(const QString& chip, const QString& label, int fanNumber, bool labelled);

private:
    int addSensor(const QString& name);
    int addReading(int sensor, int kind, int sensorClass, int subClass, const QString& device,
                   const QString& label, const QString& unit);
    void setValue(int sensor, int reading, double value);

    void discoverCpu();
    void discoverGpus();
    void discoverIntegratedGpu();
    void discoverMemory();
    void discoverFans();
    void discoverDrives();
    void discoverNetwork();
    void discoverMangoHud();

    LinuxSensorRoots m_roots;
    QString m_cpuName;
    std::vector<std::function<void(qint64 nowNs)>> m_updaters;
    std::unique_ptr<NvmlLibrary> m_nvml;
};
