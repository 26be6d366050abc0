#include "dispvideodecoder.h"

#include "widgetslog.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>
#include <QMutexLocker>

extern "C" {
#include <libavutil/imgutils.h>
}

#include <algorithm>
#include <cmath>

namespace {

void freeConvertBuffer(void* data)
{
    av_free(data);
}

QImage paddedImage(int width, int height)
{
    const int stride = FFmpeg::scaledStride(width * 4);
    auto* data = static_cast<uchar*>(av_malloc(FFmpeg::scaledBufferBytes(stride, height)));
    if (data == nullptr) {
        return QImage();
    }
    QImage image(data, width, height, stride, QImage::Format_ARGB32, freeConvertBuffer, data);
    if (image.isNull()) {
        av_free(data);
    }
    return image;
}

// The frame count a container states, else one estimated from the stream's
// or the file's duration; 2 ("more than one") when nothing is known, so that
// an unannounced video is never taken for a still picture.
int streamFrameCount(const AVFormatContext* format, const AVStream* stream, double frameRate)
{
    if (stream->nb_frames > 0) {
        return int(std::min<int64_t>(stream->nb_frames, DispVideoDecoder::kUnlimitedFrames));
    }
    // Single-picture demuxers ("png_pipe", "webp_pipe", "image2" on one file).
    const QByteArray demuxer(format->iformat->name);
    if (demuxer == "image2" || demuxer.endsWith("_pipe")) {
        return 1;
    }
    double seconds = -1.0;
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
        seconds = double(stream->duration) * av_q2d(stream->time_base);
    } else if (format->duration != AV_NOPTS_VALUE && format->duration > 0) {
        seconds = double(format->duration) / AV_TIME_BASE;
    }
    if (seconds < 0 || frameRate <= 0) {
        return 2;
    }
    const double frames = std::round(seconds * frameRate);
    return int(std::clamp(frames, 1.0, double(DispVideoDecoder::kUnlimitedFrames)));
}

// swscale asserts on formats it does not know; hostile files can announce
// any size and none or a strange format.
bool convertible(int width, int height, AVPixelFormat format)
{
    return width > 0 && height > 0 && width <= DispVideoDecoder::kMaxSide &&
           height <= DispVideoDecoder::kMaxSide && format > AV_PIX_FMT_NONE && format < AV_PIX_FMT_NB &&
           sws_isSupportedInput(format) > 0;
}

bool isAnimatedWebP(const QString& path)
{
    QImageReader reader(path);
    return reader.format() == "webp" && reader.supportsAnimation() && reader.imageCount() > 1;
}

} // namespace

DispVideoDecoder::DispVideoDecoder(QObject* parent) : QThread(parent)
{
    setObjectName(QStringLiteral("DispVideoDecoder"));
}

DispVideoDecoder::~DispVideoDecoder()
{
    stop();
}

void DispVideoDecoder::stop()
{
    requestInterruption();
    {
        QMutexLocker locker(&m_sleepLock);
        m_sleepWake.wakeAll();
    }
    wake();
    quit();
    wait();
}

QString DispVideoDecoder::path() const
{
    QMutexLocker locker(&m_pathLock);
    return m_path;
}

void DispVideoDecoder::setPath(const QString& path, bool force)
{
    if (!force && path == this->path() && m_ready.load()) {
        return;
    }
    {
        QMutexLocker locker(&m_pathLock);
        m_path = path;
    }
    m_framesDecoded = 0;
    QMutexLocker locker(&m_decoderLock);
    closeMedia();
    openMedia("DispVideoDecoder::setPath");
}

void DispVideoDecoder::reSetPath(const QString& path)
{
    {
        QMutexLocker locker(&m_pathLock);
        m_path = path;
    }
    m_framesDecoded = 0;
    bool opened = false;
    {
        QMutexLocker locker(&m_decoderLock);
        closeMedia();
        opened = openMedia("DispVideoDecoder::reSetPath");
    }
    if (opened) {
        wake();
    }
}

void DispVideoDecoder::requestFrame()
{
    m_permits.release();
    m_frameRequested = true;
}

void DispVideoDecoder::wake()
{
    m_permits.tryAcquire();
    m_permits.release();
}

void DispVideoDecoder::setSpeed(float fps)
{
    if (!(fps > 0)) {
        return;
    }
    m_frameIntervalMs = 1000.0 / std::min(double(fps), kMaximumSpeedFps);
}

int DispVideoDecoder::getFrameCount(qint64 startS, qint64 endS)
{
    double rate = 0;
    {
        QMutexLocker locker(&m_decoderLock);
        rate = m_frameRate;
    }
    const double frames = rate * double(endS - startS);
    const int limit = int(std::clamp(frames, 1.0, double(kUnlimitedFrames)));
    m_frameLimit = limit;
    qCDebug(lcWidgets).nospace() << "DispVideoDecoder::getFrameCount " << startS << "s -> " << endS
                                 << "s:" << limit;
    return limit;
}

void DispVideoDecoder::seekToSecond(qint64 seconds)
{
    QMutexLocker locker(&m_decoderLock);
    seekUnlocked(seconds);
}

DispVideoDecoder::MediaInfo DispVideoDecoder::mediaInfo()
{
    QMutexLocker locker(&m_decoderLock);
    MediaInfo info;
    if (!m_ready.load()) {
        return info;
    }
    if (m_animation) {
        info.width = m_animation->size().width();
        info.height = m_animation->size().height();
    } else {
        info.width = m_codec->width;
        info.height = m_codec->height;
    }
    info.valid = true;
    info.frameCount = m_streamFrameCount;
    info.durationS = qint64(double(info.frameCount) * m_frameIntervalMs / 1000.0);
    qCDebug(lcWidgets).nospace() << "w=" << info.width << ",h=" << info.height
                                 << ",duration=" << info.durationS << ",nr=" << info.frameCount;
    return info;
}

QImage DispVideoDecoder::currentFrame() const
{
    QMutexLocker locker(&m_frameLock);
    return m_currentFrame;
}

void DispVideoDecoder::closeMediaLocked()
{
    m_ready = false;
    QMutexLocker locker(&m_decoderLock);
    closeMedia();
}

void DispVideoDecoder::closeMedia()
{
    m_scaler.reset();
    m_buffers[0] = QImage();
    m_buffers[1] = QImage();
    m_packet.reset();
    m_frame.reset();
    m_format.reset();
    m_codec.reset();
    m_animation.reset();
    m_streamIndex = -1;
    m_ready = false;
}

int DispVideoDecoder::interruptCallback(void* opaque)
{
    // Lets a read from a hanging file system end when the thread is stopped.
    return static_cast<DispVideoDecoder*>(opaque)->isInterruptionRequested() ? 1 : 0;
}

bool DispVideoDecoder::openAnimation(const char* method)
{
    auto reader = std::make_unique<QImageReader>(path());
    const QSize size = reader->size();
    if (size.width() <= 0 || size.height() <= 0 || size.width() > kMaxSide || size.height() > kMaxSide) {
        qCDebug(lcWidgets) << "frame size refused:" << size;
        return false;
    }
    const int delayMs = reader->nextImageDelay();
    m_frameIntervalMs = std::max(delayMs > 0 ? double(delayMs) : kDefaultIntervalMs, kMinimumIntervalMs);
    m_frameRate = 1000.0 / m_frameIntervalMs;
    m_streamFrameCount = reader->imageCount();
    qCDebug(lcWidgets).nospace() << method << " duration=" << m_frameIntervalMs.load()
                                 << "ms,codec_id=webp,nr=" << m_streamFrameCount.load();
    m_animation = std::move(reader);
    m_framesDecoded = 0;
    m_ready = true;
    return true;
}

bool DispVideoDecoder::openMedia(const char* method)
{
    const QString file = path();
    if (isAnimatedWebP(file)) {
        if (openAnimation(method)) {
            return true;
        }
        closeMedia();
        return false;
    }

    AVFormatContext* raw = avformat_alloc_context();
    if (raw == nullptr) {
        qCDebug(lcWidgets).noquote() << "Can't open file: " << file;
        return false;
    }
    raw->interrupt_callback.callback = &DispVideoDecoder::interruptCallback;
    raw->interrupt_callback.opaque = this;
    const QByteArray utf8 = file.toUtf8();
    if (avformat_open_input(&raw, utf8.constData(), nullptr, nullptr) < 0) {
        // avformat_open_input frees the context on failure.
        qCDebug(lcWidgets).noquote() << "Can't open file: " << file;
        closeMedia();
        return false;
    }
    m_format.reset(raw);

    const auto fail = [this](const char* message) {
        qCDebug(lcWidgets) << message;
        closeMedia();
        return false;
    };
    av_dump_format(raw, 0, utf8.constData(), 0);
    if (avformat_find_stream_info(raw, nullptr) < 0) {
        return fail("Can't get stream info");
    }
    m_streamIndex = av_find_best_stream(raw, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (m_streamIndex < 0) {
        return fail("No video stream");
    }
    const AVStream* stream = raw->streams[m_streamIndex];
    const AVRational rate = stream->r_frame_rate;
    m_frameRate = (rate.num > 0 && rate.den > 0) ? av_q2d(rate) : 0.0;
    m_frameIntervalMs =
        m_frameRate > 0 ? std::max(1000.0 / m_frameRate, kMinimumIntervalMs) : kDefaultIntervalMs;
    m_streamFrameCount = streamFrameCount(raw, stream, m_frameRate);
    qCDebug(lcWidgets).nospace() << method << " duration=" << m_frameIntervalMs.load()
                                 << "ms,codec_id=" << int(stream->codecpar->codec_id)
                                 << ",nr=" << m_streamFrameCount.load();

    const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    if (decoder == nullptr) {
        return fail("Can't find decoder");
    }
    m_codec.reset(avcodec_alloc_context3(decoder));
    if (!m_codec) {
        return fail("Can't allocate decoder context");
    }
    if (avcodec_parameters_to_context(m_codec.get(), stream->codecpar) < 0) {
        return fail("Can't copy decoder context");
    }
    if (avcodec_open2(m_codec.get(), decoder, nullptr) < 0) {
        return fail("Can't open decoder");
    }
    m_frame.reset(av_frame_alloc());
    if (!m_frame) {
        return fail("Can't allocate frame");
    }
    m_packet.reset(av_packet_alloc());
    if (!m_packet) {
        return fail("Can't allocate packet");
    }

    const int width = m_codec->width;
    const int height = m_codec->height;
    qCDebug(lcWidgets).nospace() << "sws_getContext: " << width << ", " << height;
    if (!convertible(width, height, m_codec->pix_fmt)) {
        return fail("failed to get sws context");
    }
    m_scaler.reset(sws_getContext(width, height, m_codec->pix_fmt, width, height, AV_PIX_FMT_BGRA,
                                  SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!m_scaler) {
        return fail("failed to get sws context");
    }
    if (frameBuffer(width, height).isNull()) {
        return fail("can't allocate convert dst");
    }
    m_framesDecoded = 0;
    m_ready = true;
    return true;
}

QImage& DispVideoDecoder::frameBuffer(int width, int height)
{
    // A buffer the GUI thread still holds a copy of is shared and not reused.
    QImage& buffer = m_buffers[m_nextBuffer];
    if (buffer.width() != width || buffer.height() != height || !buffer.isDetached()) {
        buffer = paddedImage(width, height);
    }
    return buffer;
}

void DispVideoDecoder::publish(const QImage& frame)
{
    QMutexLocker locker(&m_frameLock);
    m_currentFrame = frame;
}

void DispVideoDecoder::sleepMs(int ms)
{
    QMutexLocker locker(&m_sleepLock);
    if (!isInterruptionRequested()) {
        m_sleepWake.wait(&m_sleepLock, ulong(ms));
    }
}

void DispVideoDecoder::run()
{
    QElapsedTimer clock;
    clock.start();
    m_permits.acquire();
    while (!isInterruptionRequested()) {
        {
            // Readiness is checked under the lock: a permit taken while the
            // GUI thread reopens the file is spent on the new file.
            QMutexLocker locker(&m_decoderLock);
            if (m_animation) {
                decodeAnimationFrame();
            } else {
                decodeOneFrame();
            }
        }
        m_frameRequested = false;
        const qint64 restMs = qint64(m_frameIntervalMs.load()) - clock.elapsed();
        if (restMs > 0) {
            sleepMs(int(restMs));
        }
        clock.restart();
        m_permits.acquire();
    }
    {
        QMutexLocker locker(&m_decoderLock);
        closeMedia();
    }
    qCDebug(lcWidgets).noquote() << "close thread, "
                                 << "DispVideoDecoder::run";
}

void DispVideoDecoder::decodeAnimationFrame()
{
    if (!m_ready.load() || !m_animation) {
        return;
    }
    if (!m_animation->canRead() || m_framesDecoded >= m_frameLimit) {
        if (m_framesDecoded <= 1) {
            return;
        }
        // Back to the first frame: a fresh reader is the one restart every
        // image plugin supports.
        m_animation = std::make_unique<QImageReader>(path());
        m_framesDecoded = 0;
    }
    QImage image;
    if (!m_animation->read(&image)) {
        qCDebug(lcWidgets) << "error during decoding";
        return;
    }
    m_framesDecoded += 1;
    m_currentSeconds = double(m_animation->currentImageNumber()) * m_frameIntervalMs / 1000.0;
    publish(image.convertToFormat(QImage::Format_ARGB32));
    emit frameUpdated();
}

void DispVideoDecoder::decodeOneFrame()
{
    if (!m_ready.load()) {
        return;
    }
    if (m_streamFrameCount <= 1 && m_framesDecoded >= 1 && m_frameLimit != kUnlimitedFrames) {
        emit frameUpdated();
        return;
    }
    int result = receiveFrame(false);
    if (result != AVERROR(EAGAIN)) {
        return;
    }
    AVFormatContext* format = m_format.get();
    for (;;) {
        if (isInterruptionRequested()) {
            return;
        }
        int read = av_read_frame(format, m_packet.get());
        if (read < 0) {
            const bool endOfFile = read == AVERROR_EOF || (format->pb != nullptr && avio_feof(format->pb));
            if (endOfFile && m_framesDecoded > 1) {
                if (m_loopStartS.load() != 0) {
                    qCDebug(lcWidgets).nospace() << "DispVideoDecoder::decodeOneFrame"
                                                 << ":" << 431;
                    seekUnlocked(m_loopStartS.load());
                } else {
                    avformat_seek_file(format, m_streamIndex, std::numeric_limits<int64_t>::min(), 0,
                                       std::numeric_limits<int64_t>::max(), 0);
                    avcodec_flush_buffers(m_codec.get());
                }
                m_framesDecoded = 0;
                continue;
            }
            // Drain: the decoder hands out what it still holds.
            av_packet_unref(m_packet.get());
        } else if (m_packet->stream_index != m_streamIndex) {
            av_packet_unref(m_packet.get());
            continue;
        }
        const int sent = avcodec_send_packet(m_codec.get(), read < 0 ? nullptr : m_packet.get());
        av_packet_unref(m_packet.get());
        if (sent < 0) {
            qCDebug(lcWidgets) << "failed to send packet";
            // A damaged packet inside the stream is skipped; a drained
            // decoder has nothing more to give.
            if (sent == AVERROR_EOF || read < 0) {
                return;
            }
            continue;
        }
        result = receiveFrame(false);
        if (result != AVERROR(EAGAIN) && (result == 0 || result == AVERROR_EOF || read < 0)) {
            return;
        }
    }
}

int DispVideoDecoder::receiveFrame(bool discard)
{
    AVFrame* frame = m_frame.get();
    const int result = avcodec_receive_frame(m_codec.get(), frame);
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) {
        return result;
    }
    if (result < 0) {
        qCDebug(lcWidgets) << "error during decoding";
        return result;
    }
    if (discard) {
        qCDebug(lcWidgets) << "discard frame";
        av_frame_unref(frame);
        return 0;
    }
    m_framesDecoded += 1;
    const AVStream* stream = m_format->streams[m_streamIndex];
    const int64_t pts =
        frame->best_effort_timestamp != AV_NOPTS_VALUE ? frame->best_effort_timestamp : frame->pts;
    if (pts != AV_NOPTS_VALUE) {
        m_currentSeconds = double(pts) * av_q2d(stream->time_base);
    }

    // Streams may change size or format between frames; the scaler and
    // buffer follow the frame so the conversion never leaves the buffer.
    const int width = frame->width;
    const int height = frame->height;
    if (convertible(width, height, AVPixelFormat(frame->format))) {
        m_scaler.reset(sws_getCachedContext(m_scaler.release(), width, height, AVPixelFormat(frame->format),
                                            width, height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr,
                                            nullptr));
        QImage* buffer = m_scaler ? &frameBuffer(width, height) : nullptr;
        if (buffer != nullptr && !buffer->isNull()) {
            // The buffer is not shared here, so bits() writes in place.
            uint8_t* planes[4] = {buffer->bits(), nullptr, nullptr, nullptr};
            const int lineSizes[4] = {int(buffer->bytesPerLine()), 0, 0, 0};
            sws_scale(m_scaler.get(), frame->data, frame->linesize, 0, height, planes, lineSizes);
            publish(*buffer);
            m_nextBuffer = 1 - m_nextBuffer;
        }
    }
    av_frame_unref(frame);

    if (m_framesDecoded > m_frameLimit) {
        qCDebug(lcWidgets) << "restart the stream";
        seekUnlocked(m_loopStartS.load());
    }
    emit frameUpdated();
    return 0;
}

void DispVideoDecoder::seekUnlocked(qint64 seconds)
{
    if (!m_ready.load() || m_animation) {
        if (m_animation) {
            m_animation = std::make_unique<QImageReader>(path());
            m_framesDecoded = 0;
        }
        return;
    }
    while (receiveFrame(true) == 0) {
    }
    const AVRational timeBase = m_format->streams[m_streamIndex]->time_base;
    const int64_t timestamp = av_rescale(seconds, timeBase.den, timeBase.num);
    qCDebug(lcWidgets) << "set ts=" << timestamp;
    if (m_streamFrameCount > 1) {
        m_framesDecoded = 0;
        avformat_seek_file(m_format.get(), m_streamIndex, 0, timestamp, timestamp, 0);
        avcodec_flush_buffers(m_codec.get());
    }
}
