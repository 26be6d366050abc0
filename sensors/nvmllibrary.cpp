#include "nvmllibrary.h"

#include <QFile>

#include <dlfcn.h>

namespace {

constexpr double kBytesPerMb = 1024.0 * 1024.0;

} // namespace

NvmlLibrary::NvmlLibrary(const QString& path)
{
    if (path.isEmpty()) {
        return;
    }
    m_handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        return;
    }
    resolve(m_init, "nvmlInit_v2");
    resolve(m_shutdown, "nvmlShutdown");
    resolve(m_byBusId, "nvmlDeviceGetHandleByPciBusId_v2");
    resolve(m_name, "nvmlDeviceGetName");
    resolve(m_temperature, "nvmlDeviceGetTemperature");
    resolve(m_clock, "nvmlDeviceGetClockInfo");
    resolve(m_utilization, "nvmlDeviceGetUtilizationRates");
    resolve(m_memoryV2, "nvmlDeviceGetMemoryInfo_v2");
    resolve(m_memoryV1, "nvmlDeviceGetMemoryInfo");
    resolve(m_power, "nvmlDeviceGetPowerUsage");
    resolve(m_fanRpm, "nvmlDeviceGetFanSpeedRPM");
    resolve(m_fanPercent, "nvmlDeviceGetFanSpeed");
}

NvmlLibrary::~NvmlLibrary()
{
    end();
    if (m_handle) {
        dlclose(m_handle);
    }
}

bool NvmlLibrary::begin()
{
    if (!m_initialised && usable() && m_init() == 0) {
        m_initialised = true;
    }
    return m_initialised;
}

void NvmlLibrary::end()
{
    if (m_initialised) {
        m_shutdown();
        m_initialised = false;
    }
}

NvmlLibrary::Device NvmlLibrary::device(const QString& pciAddress)
{
    Device device = nullptr;
    if (!m_initialised || m_byBusId(pciAddress.toLatin1().constData(), &device) != 0) {
        return nullptr;
    }
    return device;
}

QString NvmlLibrary::name(Device device)
{
    char buffer[96] = {};
    if (!m_name || m_name(device, buffer, sizeof(buffer) - 1) != 0) {
        return {};
    }
    return QString::fromUtf8(buffer);
}

NvmlLibrary::Figures NvmlLibrary::read(Device device)
{
    Figures f;
    unsigned int value = 0;
    if (m_temperature && m_temperature(device, 0, &value) == 0) {
        f.temperatureOk = true;
        f.temperature = value;
    }
    if (m_clock && m_clock(device, 0, &value) == 0) {
        f.clockOk = true;
        f.clockMhz = value;
    }
    if (m_clock && m_clock(device, 2, &value) == 0) {
        f.memoryClockOk = true;
        f.memoryClockMhz = value;
    }
    Utilization utilization{};
    if (m_utilization && m_utilization(device, &utilization) == 0) {
        f.utilizationOk = true;
        f.gpuPercent = utilization.gpu;
        f.memoryPercent = utilization.memory;
    }
    MemoryV2 v2{};
    v2.version = unsigned(sizeof(MemoryV2)) | (2u << 24);
    MemoryV1 v1{};
    if (m_memoryV2 && m_memoryV2(device, &v2) == 0) {
        f.memoryOk = true;
        f.usedMb = double(v2.used) / kBytesPerMb;
        f.freeMb = double(v2.free) / kBytesPerMb;
    } else if (m_memoryV1 && m_memoryV1(device, &v1) == 0) {
        f.memoryOk = true;
        f.usedMb = double(v1.used) / kBytesPerMb;
        f.freeMb = double(v1.free) / kBytesPerMb;
    }
    if (m_power && m_power(device, &value) == 0) {
        f.powerOk = true;
        f.watts = value / 1000.0;
    }
    FanSpeedInfo fan{};
    fan.version = unsigned(sizeof(FanSpeedInfo)) | (1u << 24);
    if (m_fanRpm && m_fanRpm(device, &fan) == 0) {
        f.fanOk = true;
        f.fan = fan.speed;
    } else if (m_fanPercent && m_fanPercent(device, &value) == 0) {
        f.fanOk = true;
        f.fan = value;
    }
    return f;
}

template <typename Fn>
void NvmlLibrary::resolve(Fn& fn, const char* symbol)
{
    fn = reinterpret_cast<Fn>(dlsym(m_handle, symbol));
}
