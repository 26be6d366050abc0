#include "pipewirestream.h"

#include "widgetslog.h"

#include <pipewire/pipewire.h>
#include <spa/param/video/format-utils.h>
#include <spa/pod/builder.h>

#include <QMetaObject>

#include <fcntl.h>
#include <unistd.h>

struct PipeWireStream::Private
{
    PipeWireStream* owner = nullptr;
    pw_thread_loop* loop = nullptr;
    pw_context* context = nullptr;
    pw_core* core = nullptr;
    pw_stream* stream = nullptr;
    spa_hook streamListener{};
    spa_video_info_raw format{};
    StreamFrame::Layout layout = StreamFrame::Layout::Unknown;
};

namespace {

StreamFrame::Layout layoutOf(uint32_t format)
{
    switch (format) {
    case SPA_VIDEO_FORMAT_BGRx:
        return StreamFrame::Layout::BGRx;
    case SPA_VIDEO_FORMAT_BGRA:
        return StreamFrame::Layout::BGRA;
    case SPA_VIDEO_FORMAT_RGBx:
        return StreamFrame::Layout::RGBx;
    case SPA_VIDEO_FORMAT_RGBA:
        return StreamFrame::Layout::RGBA;
    default:
        return StreamFrame::Layout::Unknown;
    }
}

void onStateChanged(void* data, pw_stream_state, pw_stream_state state, const char* error)
{
    auto* d = static_cast<PipeWireStream::Private*>(data);
    if (state == PW_STREAM_STATE_ERROR)
        d->owner->reportError(QString::fromUtf8(error != nullptr ? error : "stream error"));
    else if (state == PW_STREAM_STATE_UNCONNECTED)
        d->owner->reportError(QStringLiteral("the desktop closed the screen-cast stream"));
}

void onParamChanged(void* data, uint32_t id, const spa_pod* param)
{
    auto* d = static_cast<PipeWireStream::Private*>(data);
    if (param == nullptr || id != SPA_PARAM_Format)
        return;
    spa_video_info_raw info{};
    if (spa_format_video_raw_parse(param, &info) < 0)
        return;
    d->format = info;
    d->layout = layoutOf(info.format);

    // Memory the CPU can read: no DMA-BUF.
    uint8_t buffer[512];
    spa_pod_builder builder = SPA_POD_BUILDER_INIT(buffer, sizeof(buffer));
    const spa_pod* params[1];
    params[0] = static_cast<const spa_pod*>(spa_pod_builder_add_object(
        &builder, SPA_TYPE_OBJECT_ParamBuffers, SPA_PARAM_Buffers, SPA_PARAM_BUFFERS_dataType,
        SPA_POD_CHOICE_FLAGS_Int((1 << SPA_DATA_MemPtr) | (1 << SPA_DATA_MemFd))));
    pw_stream_update_params(d->stream, params, 1);
}

void onProcess(void* data)
{
    auto* d = static_cast<PipeWireStream::Private*>(data);
    pw_buffer* newest = nullptr;
    // Only the newest picture matters; older queued ones go straight back.
    while (pw_buffer* buffer = pw_stream_dequeue_buffer(d->stream)) {
        if (newest != nullptr)
            pw_stream_queue_buffer(d->stream, newest);
        newest = buffer;
    }
    if (newest == nullptr)
        return;
    spa_buffer* buffer = newest->buffer;
    if (buffer->n_datas > 0 && buffer->datas[0].data != nullptr && buffer->datas[0].chunk != nullptr) {
        const spa_data& plane = buffer->datas[0];
        const uint32_t offset = qMin(plane.chunk->offset, plane.maxsize);
        const qsizetype available = qsizetype(qMin(plane.chunk->size, plane.maxsize - offset));
        const QImage frame = StreamFrame::toImage(
            d->layout, static_cast<const uchar*>(plane.data) + offset, available,
            QSize(int(d->format.size.width), int(d->format.size.height)), plane.chunk->stride);
        if (!frame.isNull())
            d->owner->takeFrame(frame);
    }
    pw_stream_queue_buffer(d->stream, newest);
}

pw_stream_events streamEvents()
{
    pw_stream_events events{};
    events.version = PW_VERSION_STREAM_EVENTS;
    events.state_changed = onStateChanged;
    events.param_changed = onParamChanged;
    events.process = onProcess;
    return events;
}

const pw_stream_events kStreamEvents = streamEvents();

} // namespace

PipeWireStream::PipeWireStream(QObject* parent) : QObject(parent), d(std::make_unique<Private>())
{
    d->owner = this;
}

PipeWireStream::~PipeWireStream()
{
    close();
}

bool PipeWireStream::open(int remoteFd, quint32 nodeId)
{
    close();
    static const bool initialised = [] {
        pw_init(nullptr, nullptr);
        return true;
    }();
    Q_UNUSED(initialised)

    const int fd = fcntl(remoteFd, F_DUPFD_CLOEXEC, 3);
    if (fd < 0) {
        emit failed(tr("The screen-cast stream could not be opened."));
        return false;
    }
    d->loop = pw_thread_loop_new("panelcast-screencast", nullptr);
    d->context = pw_context_new(pw_thread_loop_get_loop(d->loop), nullptr, 0);
    if (d->loop == nullptr || d->context == nullptr || pw_thread_loop_start(d->loop) < 0) {
        ::close(fd);
        close();
        emit failed(tr("The screen-cast stream could not be opened."));
        return false;
    }
    pw_thread_loop_lock(d->loop);
    d->core = pw_context_connect_fd(d->context, fd, nullptr, 0);
    bool ok = d->core != nullptr;
    if (ok) {
        d->stream = pw_stream_new(d->core, "panelcast-capture",
                                  pw_properties_new(PW_KEY_MEDIA_TYPE, "Video", PW_KEY_MEDIA_CATEGORY,
                                                    "Capture", PW_KEY_MEDIA_ROLE, "Screen", nullptr));
        ok = d->stream != nullptr;
    }
    if (ok) {
        pw_stream_add_listener(d->stream, &d->streamListener, &kStreamEvents, d.get());
        uint8_t buffer[1024];
        spa_pod_builder builder = SPA_POD_BUILDER_INIT(buffer, sizeof(buffer));
        spa_rectangle defaultSize = SPA_RECTANGLE(1920, 1080);
        spa_rectangle minSize = SPA_RECTANGLE(1, 1);
        spa_rectangle maxSize = SPA_RECTANGLE(16384, 16384);
        spa_fraction defaultRate = SPA_FRACTION(30, 1);
        spa_fraction minRate = SPA_FRACTION(0, 1);
        spa_fraction maxRate = SPA_FRACTION(240, 1);
        const spa_pod* params[1];
        params[0] = static_cast<const spa_pod*>(spa_pod_builder_add_object(
            &builder, SPA_TYPE_OBJECT_Format, SPA_PARAM_EnumFormat, SPA_FORMAT_mediaType,
            SPA_POD_Id(SPA_MEDIA_TYPE_video), SPA_FORMAT_mediaSubtype, SPA_POD_Id(SPA_MEDIA_SUBTYPE_raw),
            SPA_FORMAT_VIDEO_format,
            SPA_POD_CHOICE_ENUM_Id(5, SPA_VIDEO_FORMAT_BGRx, SPA_VIDEO_FORMAT_BGRx, SPA_VIDEO_FORMAT_BGRA,
                                   SPA_VIDEO_FORMAT_RGBx, SPA_VIDEO_FORMAT_RGBA),
            SPA_FORMAT_VIDEO_size, SPA_POD_CHOICE_RANGE_Rectangle(&defaultSize, &minSize, &maxSize),
            SPA_FORMAT_VIDEO_framerate, SPA_POD_CHOICE_RANGE_Fraction(&defaultRate, &minRate, &maxRate)));
        ok = pw_stream_connect(d->stream, PW_DIRECTION_INPUT, nodeId,
                               pw_stream_flags(PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS),
                               params, 1) == 0;
    }
    pw_thread_loop_unlock(d->loop);
    if (!ok) {
        close();
        emit failed(tr("The screen-cast stream could not be opened."));
        return false;
    }
    qCDebug(lcWidgets).noquote() << "PipeWireStream::open: node" << nodeId;
    return true;
}

void PipeWireStream::close()
{
    if (d->loop != nullptr)
        pw_thread_loop_stop(d->loop);
    if (d->stream != nullptr) {
        spa_hook_remove(&d->streamListener);
        pw_stream_destroy(d->stream);
    }
    if (d->core != nullptr)
        pw_core_disconnect(d->core);
    if (d->context != nullptr)
        pw_context_destroy(d->context);
    if (d->loop != nullptr)
        pw_thread_loop_destroy(d->loop);
    *d = Private();
    d->owner = this;
}

QImage PipeWireStream::latestFrame() const
{
    QMutexLocker lock(&m_frameLock);
    return m_latest;
}

void PipeWireStream::takeFrame(QImage frame)
{
    QMutexLocker lock(&m_frameLock);
    m_latest = std::move(frame);
}

void PipeWireStream::reportError(const QString& message)
{
    QMetaObject::invokeMethod(
        this, [this, message] { emit failed(tr("The screen-cast stream stopped: %1").arg(message)); },
        Qt::QueuedConnection);
}
