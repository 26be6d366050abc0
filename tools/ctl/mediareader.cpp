#include "mediareader.h"

extern "C" {
#include <libavutil/macros.h>
}

#include <cstring>

namespace {

constexpr double kFallbackFrameRate = 25.0;
constexpr double kLongestFrameS = 10.0;

QSize fitted(const QSize& picture, const QSize& box)
{
    if (picture.isEmpty() || box.isEmpty()) {
        return {};
    }
    QSize size = picture.scaled(box, Qt::KeepAspectRatio);
    return size.expandedTo(QSize(1, 1));
}

} // namespace

bool MediaReader::open(const QString& path, const QSize& box, QString* error)
{
    m_path = path;
    m_box = box;
    m_draining = false;
    m_stream = -1;
    m_sws.reset();
    m_codec.reset();
    m_format.reset();

    AVFormatContext* format = nullptr;
    int rc = avformat_open_input(&format, path.toUtf8().constData(), nullptr, nullptr);
    if (rc < 0) {
        *error = QStringLiteral("cannot open %1: %2").arg(path, FFmpeg::errorText(rc));
        return false;
    }
    m_format.reset(format);
    rc = avformat_find_stream_info(format, nullptr);
    if (rc < 0) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, FFmpeg::errorText(rc));
        return false;
    }
    const AVCodec* decoder = nullptr;
    m_stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (m_stream < 0 || decoder == nullptr) {
        *error = QStringLiteral("%1 holds no picture or video").arg(path);
        return false;
    }
    AVStream* stream = format->streams[m_stream];
    m_codec.reset(avcodec_alloc_context3(decoder));
    m_frame.reset(av_frame_alloc());
    m_packet.reset(av_packet_alloc());
    if (!m_codec || !m_frame || !m_packet) {
        *error = QStringLiteral("out of memory");
        return false;
    }
    rc = avcodec_parameters_to_context(m_codec.get(), stream->codecpar);
    if (rc >= 0) {
        rc = avcodec_open2(m_codec.get(), decoder, nullptr);
    }
    if (rc < 0) {
        *error = QStringLiteral("cannot decode %1: %2").arg(path, FFmpeg::errorText(rc));
        return false;
    }
    m_fitted = fitted(QSize(m_codec->width, m_codec->height), box);
    if (m_fitted.isEmpty()) {
        *error = QStringLiteral("%1 has no picture size").arg(path);
        return false;
    }
    const AVRational rate = av_guess_frame_rate(format, stream, nullptr);
    const double fps = rate.num > 0 && rate.den > 0 ? av_q2d(rate) : kFallbackFrameRate;
    m_defaultDurationS = fps > 0.5 && fps < 1000 ? 1.0 / fps : 1.0 / kFallbackFrameRate;
    return true;
}

bool MediaReader::rewind(QString* error)
{
    // Reopening works for every container, GIF included, where seeking back
    // does not.
    const QSize size = m_fitted;
    if (!open(m_path, m_box, error)) {
        return false;
    }
    if (m_fitted != size) {
        *error = QStringLiteral("%1 changed while playing").arg(m_path);
        return false;
    }
    return true;
}

MediaReader::Result MediaReader::next(QByteArray* bgra, double* durationS, QString* error)
{
    if (!m_codec) {
        *error = QStringLiteral("no file open");
        return Error;
    }
    for (;;) {
        int rc = avcodec_receive_frame(m_codec.get(), m_frame.get());
        if (rc == 0) {
            const Result result = convert(bgra, durationS, error);
            av_frame_unref(m_frame.get());
            return result;
        }
        if (rc == AVERROR_EOF) {
            return End;
        }
        if (rc != AVERROR(EAGAIN)) {
            *error = QStringLiteral("cannot decode %1: %2").arg(m_path, FFmpeg::errorText(rc));
            return Error;
        }
        if (m_draining) {
            return End;
        }
        rc = av_read_frame(m_format.get(), m_packet.get());
        if (rc == AVERROR_EOF) {
            // Let the decoder hand out what it still holds.
            m_draining = true;
            avcodec_send_packet(m_codec.get(), nullptr);
            continue;
        }
        if (rc < 0) {
            *error = QStringLiteral("cannot read %1: %2").arg(m_path, FFmpeg::errorText(rc));
            return Error;
        }
        if (m_packet->stream_index == m_stream) {
            rc = avcodec_send_packet(m_codec.get(), m_packet.get());
            // A damaged packet costs its picture, not the stream.
            if (rc < 0 && rc != AVERROR(EAGAIN) && rc != AVERROR_INVALIDDATA) {
                av_packet_unref(m_packet.get());
                *error = QStringLiteral("cannot decode %1: %2").arg(m_path, FFmpeg::errorText(rc));
                return Error;
            }
        }
        av_packet_unref(m_packet.get());
    }
}

MediaReader::Result MediaReader::convert(QByteArray* bgra, double* durationS, QString* error)
{
    const AVFrame* frame = m_frame.get();
    if (frame->width <= 0 || frame->height <= 0) {
        *error = QStringLiteral("%1: picture without size").arg(m_path);
        return Error;
    }
    m_sws.reset(sws_getCachedContext(m_sws.release(), frame->width, frame->height,
                                     AVPixelFormat(frame->format), m_fitted.width(), m_fitted.height(),
                                     AV_PIX_FMT_BGRA, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!m_sws) {
        *error = QStringLiteral("%1: cannot convert pixel format %2").arg(m_path).arg(frame->format);
        return Error;
    }
    const int rowBytes = m_fitted.width() * 4;
    const int stride = FFmpeg::scaledStride(rowBytes);
    QByteArray converted(qsizetype(FFmpeg::scaledBufferBytes(stride, m_fitted.height())), Qt::Uninitialized);
    uint8_t* dst[4] = {reinterpret_cast<uint8_t*>(converted.data()), nullptr, nullptr, nullptr};
    const int dstStride[4] = {stride, 0, 0, 0};
    const int rows = sws_scale(m_sws.get(), frame->data, frame->linesize, 0, frame->height, dst, dstStride);
    if (rows != m_fitted.height()) {
        *error = QStringLiteral("%1: picture conversion failed").arg(m_path);
        return Error;
    }
    bgra->resize(rowBytes * m_fitted.height());
    for (int y = 0; y < m_fitted.height(); ++y) {
        memcpy(bgra->data() + qsizetype(y) * rowBytes, converted.constData() + qsizetype(y) * stride,
               size_t(rowBytes));
    }

    const AVRational timeBase = m_format->streams[m_stream]->time_base;
#if LIBAVUTIL_VERSION_INT >= AV_VERSION_INT(57, 30, 100)
    const int64_t duration = frame->duration;
#else
    const int64_t duration = frame->pkt_duration;
#endif
    const double seconds = duration > 0 ? double(duration) * av_q2d(timeBase) : 0.0;
    *durationS = seconds > 0 && seconds <= kLongestFrameS ? seconds : m_defaultDurationS;
    return Picture;
}
