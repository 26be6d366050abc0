#pragma once

#include <QString>

// NVIDIA's management library, opened at run time with dlopen() and the few
// entry points it needs declared here (no headers ship in Debian main). The
// _v2 entry points are preferred.
class NvmlLibrary
{
public:
    struct Utilization
    {
        unsigned int gpu;
        unsigned int memory;
    };
    struct MemoryV1
    {
        unsigned long long total;
        unsigned long long free;
        unsigned long long used;
    };
    struct MemoryV2
    {
        unsigned int version;
        unsigned long long total;
        unsigned long long reserved;
        unsigned long long free;
        unsigned long long used;
    };
    struct FanSpeedInfo
    {
        unsigned int version;
        unsigned int fan;
        unsigned int speed;
    };
    using Device = void*;

    // Opens the library; an empty path or a missing file leaves it unusable.
    explicit NvmlLibrary(const QString& path);
    ~NvmlLibrary();
    NvmlLibrary(const NvmlLibrary&) = delete;
    NvmlLibrary& operator=(const NvmlLibrary&) = delete;

    bool usable() const { return m_handle && m_init && m_shutdown && m_byBusId; }
    bool hasFanRpm() const { return m_fanRpm != nullptr; }

    // Initialises NVML (once until end()); false when it refuses.
    bool begin();
    void end();
    // The card at a PCI address ("0000:01:00.0"), or null.
    Device device(const QString& pciAddress);
    QString name(Device device);

    struct Figures
    {
        bool temperatureOk = false;
        double temperature = 0;
        bool clockOk = false;
        double clockMhz = 0;
        bool memoryClockOk = false;
        double memoryClockMhz = 0;
        bool utilizationOk = false;
        double gpuPercent = 0;
        double memoryPercent = 0;
        bool memoryOk = false;
        double usedMb = 0;
        double freeMb = 0;
        bool powerOk = false;
        double watts = 0;
        bool fanOk = false;
        double fan = 0;
    };

    Figures read(Device device);

private:
    template <typename Fn>
    void resolve(Fn& fn, const char* symbol);

    void* m_handle = nullptr;
    bool m_initialised = false;
    int (*m_init)() = nullptr;
    int (*m_shutdown)() = nullptr;
    int (*m_byBusId)(const char*, Device*) = nullptr;
    int (*m_name)(Device, char*, unsigned int) = nullptr;
    int (*m_temperature)(Device, int, unsigned int*) = nullptr;
    int (*m_clock)(Device, int, unsigned int*) = nullptr;
    int (*m_utilization)(Device, Utilization*) = nullptr;
    int (*m_memoryV2)(Device, MemoryV2*) = nullptr;
    int (*m_memoryV1)(Device, MemoryV1*) = nullptr;
    int (*m_power)(Device, unsigned int*) = nullptr;
    int (*m_fanRpm)(Device, FanSpeedInfo*) = nullptr;
    int (*m_fanPercent)(Device, unsigned int*) = nullptr;
};
