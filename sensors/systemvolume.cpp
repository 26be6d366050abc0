#include "systemvolume.h"

#include "sensorlog.h"

#include <QElapsedTimer>
#include <QThread>

#include <alsa/asoundlib.h>
#include <pulse/pulseaudio.h>

#include <atomic>
#include <cmath>

namespace {

// How long the audio server may take to accept the connection.
constexpr int kPulseConnectTimeoutMs = 1500;
constexpr int kPulsePollMs = 5;

// Keeps the master volume from the PulseAudio server current through a
// subscription on the library's own thread; percent() only reads the latest
// figure, so the sensor thread never waits for the server.
class PulseVolumeBackend : public VolumeBackend
{
public:
    ~PulseVolumeBackend() override { close(); }

    bool open() override
    {
        m_loop = pa_threaded_mainloop_new();
        if (!m_loop) {
            return false;
        }
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(m_loop);
        m_context = pa_context_new(api, "Panelcast");
        if (!m_context) {
            close();
            return false;
        }
        pa_context_set_subscribe_callback(m_context, &PulseVolumeBackend::onEvent, this);
        if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
            pa_threaded_mainloop_start(m_loop) < 0) {
            close();
            return false;
        }
        QElapsedTimer waited;
        waited.start();
        pa_context_state_t state = PA_CONTEXT_UNCONNECTED;
        for (;;) {
            pa_threaded_mainloop_lock(m_loop);
            state = pa_context_get_state(m_context);
            pa_threaded_mainloop_unlock(m_loop);
            if (state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state) ||
                waited.elapsed() >= kPulseConnectTimeoutMs) {
                break;
            }
            QThread::msleep(kPulsePollMs);
        }
        if (state != PA_CONTEXT_READY) {
            close();
            return false;
        }
        pa_threaded_mainloop_lock(m_loop);
        const auto mask = pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SINK | PA_SUBSCRIPTION_MASK_SERVER);
        if (pa_operation* op = pa_context_subscribe(m_context, mask, nullptr, nullptr)) {
            pa_operation_unref(op);
        }
        requestDefaultSink();
        pa_threaded_mainloop_unlock(m_loop);
        return true;
    }

    int percent() override { return m_percent.load(std::memory_order_relaxed); }
    const char* name() const override { return "pulseaudio"; }

private:
    void close()
    {
        if (m_loop) {
            pa_threaded_mainloop_stop(m_loop);
        }
        if (m_context) {
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
            m_context = nullptr;
        }
        if (m_loop) {
            pa_threaded_mainloop_free(m_loop);
            m_loop = nullptr;
        }
    }

    // Runs on the library's thread with its lock held.
    void requestDefaultSink()
    {
        if (pa_operation* op =
                pa_context_get_server_info(m_context, &PulseVolumeBackend::onServerInfo, this)) {
            pa_operation_unref(op);
        }
    }

    static void onEvent(pa_context*, pa_subscription_event_type_t, uint32_t, void* self)
    {
        static_cast<PulseVolumeBackend*>(self)->requestDefaultSink();
    }

    static void onServerInfo(pa_context* context, const pa_server_info* info, void* self)
    {
        if (!info || !info->default_sink_name) {
            return;
        }
        if (pa_operation* op = pa_context_get_sink_info_by_name(context, info->default_sink_name,
                                                                &PulseVolumeBackend::onSink, self)) {
            pa_operation_unref(op);
        }
    }

    static void onSink(pa_context*, const pa_sink_info* info, int eol, void* self)
    {
        if (eol != 0 || !info) {
            return;
        }
        const int percent =
            SystemVolume::percentFromPulseVolume(pa_cvolume_avg(&info->volume), PA_VOLUME_NORM);
        static_cast<PulseVolumeBackend*>(self)->m_percent.store(percent, std::memory_order_relaxed);
    }

    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    std::atomic<int> m_percent{0};
};

// The "Master" simple control of the default ALSA card, read on demand.
class AlsaVolumeBackend : public VolumeBackend
{
public:
    ~AlsaVolumeBackend() override
    {
        if (m_mixer) {
            snd_mixer_close(m_mixer);
        }
    }

    bool open() override
    {
        // A machine without sound cards makes the library print its
        // configuration errors; the absence is reported by the caller.
        snd_lib_error_set_handler(&AlsaVolumeBackend::quiet);
        if (snd_mixer_open(&m_mixer, 0) < 0) {
            m_mixer = nullptr;
            return false;
        }
        if (snd_mixer_attach(m_mixer, "default") < 0 ||
            snd_mixer_selem_register(m_mixer, nullptr, nullptr) < 0 || snd_mixer_load(m_mixer) < 0) {
            return false;
        }
        snd_mixer_selem_id_t* id = nullptr;
        snd_mixer_selem_id_alloca(&id);
        snd_mixer_selem_id_set_index(id, 0);
        snd_mixer_selem_id_set_name(id, "Master");
        m_element = snd_mixer_find_selem(m_mixer, id);
        return m_element && snd_mixer_selem_has_playback_volume(m_element);
    }

    int percent() override
    {
        if (!m_element) {
            return 0;
        }
        snd_mixer_handle_events(m_mixer);
        long min = 0;
        long max = 0;
        snd_mixer_selem_get_playback_volume_range(m_element, &min, &max);
        long sum = 0;
        int channels = 0;
        for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
            const auto channel = snd_mixer_selem_channel_id_t(c);
            long value = 0;
            if (snd_mixer_selem_has_playback_channel(m_element, channel) &&
                snd_mixer_selem_get_playback_volume(m_element, channel, &value) == 0) {
                sum += value;
                ++channels;
            }
        }
        return channels == 0 ? 0 : SystemVolume::percentFromRange(sum / channels, min, max);
    }

    const char* name() const override { return "alsa"; }

private:
    static void quiet(const char*, int, const char*, int, const char*, ...) {}

    snd_mixer_t* m_mixer = nullptr;
    snd_mixer_elem_t* m_element = nullptr;
};

std::vector<std::unique_ptr<VolumeBackend>> platformBackends()
{
    std::vector<std::unique_ptr<VolumeBackend>> backends;
    backends.push_back(std::make_unique<PulseVolumeBackend>());
    backends.push_back(std::make_unique<AlsaVolumeBackend>());
    return backends;
}

} // namespace

SystemVolume::SystemVolume(QObject* parent) : SystemVolume(platformBackends(), parent) {}

SystemVolume::SystemVolume(std::vector<std::unique_ptr<VolumeBackend>> backends, QObject* parent)
    : QObject(parent), m_backends(std::move(backends))
{
}

SystemVolume::~SystemVolume() = default;

void SystemVolume::initialise()
{
    m_active = nullptr;
    for (const std::unique_ptr<VolumeBackend>& backend : m_backends) {
        if (backend->open()) {
            m_active = backend.get();
            qCDebug(lcSensors) << "SystemVolume::initialise: using" << backend->name();
            return;
        }
    }
    qCDebug(lcSensors) << "SystemVolume::initialise: no audio server or mixer, volume reads 0";
}

int SystemVolume::volume() const
{
    return m_active ? qBound(0, m_active->percent(), 100) : 0;
}

QString SystemVolume::backendName() const
{
    return m_active ? QString::fromLatin1(m_active->name()) : QString();
}

int SystemVolume::percentFromPulseVolume(quint32 average, quint32 norm)
{
    if (norm == 0) {
        return 0;
    }
    const double percent = std::round(double(average) * 100.0 / double(norm));
    return int(qBound(0.0, percent, 100.0));
}

int SystemVolume::percentFromRange(long value, long min, long max)
{
    if (max <= min) {
        return 0;
    }
    const double percent = std::round(double(value - min) * 100.0 / double(max - min));
    return int(qBound(0.0, percent, 100.0));
}
