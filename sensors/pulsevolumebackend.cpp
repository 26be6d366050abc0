#include "pulsevolumebackend.h"

#include <QElapsedTimer>
#include <QThread>

#include <pulse/pulseaudio.h>

#include <atomic>

namespace {

// How long the audio server may take to accept the connection.
constexpr int kPulseConnectTimeoutMs = 1500;
constexpr int kPulsePollMs = 5;
// After the server went away (restarted, crashed) a new connection is tried this often.
constexpr pa_usec_t kPulseRetryUs = 2 * PA_USEC_PER_SEC;

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
        m_api = pa_threaded_mainloop_get_api(m_loop);
        if (!connectContext(PA_CONTEXT_NOAUTOSPAWN) || pa_threaded_mainloop_start(m_loop) < 0) {
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
        // From here on the state callback subscribes, and reconnects when
        // the server goes away.
        return true;
    }

    int percent() override { return m_percent.load(std::memory_order_relaxed); }
    const char* name() const override { return "pulseaudio"; }

private:
    // Runs before the loop starts or on the library's thread with its lock held.
    bool connectContext(pa_context_flags_t flags)
    {
        m_context = pa_context_new(m_api, "Panelcast");
        if (!m_context) {
            return false;
        }
        pa_context_set_state_callback(m_context, &PulseVolumeBackend::onState, this);
        pa_context_set_subscribe_callback(m_context, &PulseVolumeBackend::onEvent, this);
        return pa_context_connect(m_context, nullptr, flags, nullptr) >= 0;
    }

    void releaseContext()
    {
        if (m_context) {
            pa_context_set_state_callback(m_context, nullptr, nullptr);
            pa_context_set_subscribe_callback(m_context, nullptr, nullptr);
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
            m_context = nullptr;
        }
    }

    static void onState(pa_context* context, void* data)
    {
        auto* self = static_cast<PulseVolumeBackend*>(data);
        const pa_context_state_t state = pa_context_get_state(context);
        if (state == PA_CONTEXT_READY) {
            const auto mask = pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SINK | PA_SUBSCRIPTION_MASK_SERVER);
            if (pa_operation* op = pa_context_subscribe(context, mask, nullptr, nullptr)) {
                pa_operation_unref(op);
            }
            self->requestDefaultSink();
        } else if (!PA_CONTEXT_IS_GOOD(state) && !self->m_retry) {
            // The server went away (a restart of PulseAudio or PipeWire):
            // the volume reads 0 until a new connection is made.
            self->m_percent.store(0, std::memory_order_relaxed);
            self->m_retry =
                self->m_api->time_new(self->m_api, retryTime(), &PulseVolumeBackend::onRetry, self);
        }
    }

    static const timeval* retryTime()
    {
        static thread_local timeval when;
        pa_timeval_add(pa_gettimeofday(&when), kPulseRetryUs);
        return &when;
    }

    static void onRetry(pa_mainloop_api* api, pa_time_event* event, const timeval*, void* data)
    {
        auto* self = static_cast<PulseVolumeBackend*>(data);
        api->time_free(event);
        self->m_retry = nullptr;
        self->releaseContext();
        // NOFAIL: wait for the server to come back instead of failing at once.
        if (!self->connectContext(pa_context_flags_t(PA_CONTEXT_NOAUTOSPAWN | PA_CONTEXT_NOFAIL))) {
            self->releaseContext();
            self->m_retry = api->time_new(api, retryTime(), &PulseVolumeBackend::onRetry, self);
        }
    }

    void close()
    {
        if (m_loop) {
            pa_threaded_mainloop_stop(m_loop);
        }
        if (m_retry) {
            m_api->time_free(m_retry);
            m_retry = nullptr;
        }
        releaseContext();
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
    pa_mainloop_api* m_api = nullptr;
    pa_context* m_context = nullptr;
    // Loop thread only (or with the loop stopped).
    pa_time_event* m_retry = nullptr;
    std::atomic<int> m_percent{0};
};

} // namespace

std::unique_ptr<VolumeBackend> createPulseVolumeBackend()
{
    return std::make_unique<PulseVolumeBackend>();
}
