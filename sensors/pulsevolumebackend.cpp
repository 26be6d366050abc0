#include "pulsevolumebackend.h"

#include <QElapsedTimer>
#include <QThread>

#include <pulse/pulseaudio.h>

#include <atomic>

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

} // namespace

std::unique_ptr<VolumeBackend> createPulseVolumeBackend()
{
    return std::make_unique<PulseVolumeBackend>();
}
