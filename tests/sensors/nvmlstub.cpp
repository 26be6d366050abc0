// A stand-in for NVIDIA's management library with one RTX 3070 at
// 0000:01:00.0, so the NVML path of the Linux source runs without the card.
#include <cstring>

extern "C" {

struct StubUtilization
{
    unsigned int gpu;
    unsigned int memory;
};

struct StubMemoryV2
{
    unsigned int version;
    unsigned long long total;
    unsigned long long reserved;
    unsigned long long free;
    unsigned long long used;
};

struct StubFanSpeed
{
    unsigned int version;
    unsigned int fan;
    unsigned int speed;
};

static int g_initialised = 0;
static int g_device = 0;

__attribute__((visibility("default"))) int nvmlStubInitialised()
{
    return g_initialised;
}

__attribute__((visibility("default"))) int nvmlInit_v2()
{
    ++g_initialised;
    return 0;
}

__attribute__((visibility("default"))) int nvmlShutdown()
{
    if (g_initialised > 0) {
        --g_initialised;
    }
    return 0;
}

__attribute__((visibility("default"))) int nvmlDeviceGetHandleByPciBusId_v2(const char* busId, void** device)
{
    if (g_initialised == 0 || std::strcmp(busId, "0000:01:00.0") != 0) {
        return 6; // not found
    }
    *device = &g_device;
    return 0;
}

__attribute__((visibility("default"))) int nvmlDeviceGetName(void*, char* name, unsigned int length)
{
    std::strncpy(name, "NVIDIA GeForce RTX 3070", length);
    return 0;
}

__attribute__((visibility("default"))) int nvmlDeviceGetTemperature(void*, int sensor, unsigned int* value)
{
    *value = sensor == 0 ? 61 : 0;
    return 0;
}

__attribute__((visibility("default"))) int nvmlDeviceGetClockInfo(void*, int type, unsigned int* value)
{
    *value = type == 0 ? 1905 : 7000;
    return 0;
}

__attribute__((visibility("default"))) int nvmlDeviceGetUtilizationRates(void*, StubUtilization* value)
{
    value->gpu = 37;
    value->memory = 25;
    return 0;
}

__attribute__((visibility("default"))) int nvmlDeviceGetMemoryInfo_v2(void*, StubMemoryV2* value)
{
    if ((value->version >> 24) != 2 || (value->version & 0xFFFFFF) != sizeof(StubMemoryV2)) {
        return 25; // argument version mismatch
    }
    value->total = 8ull << 30;
    value->reserved = 0;
    value->used = 2ull << 30;
    value->free = 6ull << 30;
    return 0;
}

__attribute__((visibility("default"))) int nvmlDeviceGetPowerUsage(void*, unsigned int* milliwatts)
{
    *milliwatts = 180500;
    return 0;
}

__attribute__((visibility("default"))) int nvmlDeviceGetFanSpeedRPM(void*, StubFanSpeed* value)
{
    value->speed = 1500;
    return 0;
}
}
