#include "windowsvolumebackend.h"

#include <audioclient.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>
#include <windows.h>

#include <cmath>

namespace {

// COM must be initialised in every thread that uses the interfaces: the
// manager sets the source up in the GUI thread and queries it from its own.
void ensureComInThisThread()
{
    thread_local bool initialised = false;
    if (!initialised) {
        initialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    }
}

template <typename T>
void releaseInterface(T*& pointer)
{
    if (pointer) {
        pointer->Release();
        pointer = nullptr;
    }
}

class WindowsVolumeBackend : public VolumeBackend
{
public:
    ~WindowsVolumeBackend() override
    {
        releaseInterface(m_client);
        releaseInterface(m_volume);
        releaseInterface(m_device);
        releaseInterface(m_enumerator);
    }

    bool open() override
    {
        ensureComInThisThread();
        m_result = CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                    __uuidof(IMMDeviceEnumerator), reinterpret_cast<void**>(&m_enumerator));
        if (FAILED(m_result)) {
            return false;
        }
        m_result = m_enumerator->GetDefaultAudioEndpoint(eRender, eMultimedia, &m_device);
        if (FAILED(m_result)) {
            return false;
        }
        m_result = m_device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr,
                                      reinterpret_cast<void**>(&m_volume));
        if (FAILED(m_result)) {
            return false;
        }
        m_result = m_device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr,
                                      reinterpret_cast<void**>(&m_client));
        return m_volume != nullptr;
    }

    int percent() override
    {
        if (!m_volume) {
            return 0;
        }
        ensureComInThisThread();
        float scalar = 0.0f;
        if (FAILED(m_volume->GetMasterVolumeLevelScalar(&scalar))) {
            scalar = 0.0f;
        }
        return int(std::lround(double(scalar) * 100.0));
    }

    const char* name() const override { return "core audio"; }

private:
    IMMDeviceEnumerator* m_enumerator = nullptr;
    IMMDevice* m_device = nullptr;
    IAudioEndpointVolume* m_volume = nullptr;
    IAudioClient* m_client = nullptr;
    HRESULT m_result = S_OK;
};

} // namespace

std::unique_ptr<VolumeBackend> createWindowsVolumeBackend()
{
    return std::make_unique<WindowsVolumeBackend>();
}
