#include "h264decoder.h"

#include <climits>

extern "C" {
#include <libavutil/macros.h>
#include <libavutil/mem.h>
}

H264Decoder::H264Decoder()
{
    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_H264);
    if (codec == nullptr) {
        m_openError = QStringLiteral("no H.264 decoder in this FFmpeg");
        return;
    }
    FFmpeg::CodecContextPtr context(avcodec_alloc_context3(codec));
    m_packet.reset(av_packet_alloc());
    m_frame.reset(av_frame_alloc());
    if (!context || !m_packet || !m_frame) {
        m_openError = QStringLiteral("out of memory");
        return;
    }
    // Frame threads would hold pictures back; the host sends no B-frames.
    context->thread_count = 1;
    context->flags |= AV_CODEC_FLAG_LOW_DELAY;
    const int rc = avcodec_open2(context.get(), codec, nullptr);
    if (rc < 0) {
        m_openError = FFmpeg::errorText(rc);
        return;
    }
    m_context = std::move(context);
}

H264Decoder::~H264Decoder() = default;

H264Decoder::Result H264Decoder::decode(const QByteArray& unit, QImage* image, QString* error)
{
    if (!m_context) {
        *error = m_openError;
        return Error;
    }
    // An empty packet would tell the decoder the stream has ended.
    if (unit.isEmpty()) {
        return NoPicture;
    }

    if (av_new_packet(m_packet.get(), unit.size()) < 0) {
        *error = QStringLiteral("out of memory");
        return Error;
    }
    memcpy(m_packet->data, unit.constData(), size_t(unit.size()));
    int rc = avcodec_send_packet(m_context.get(), m_packet.get());
    av_packet_unref(m_packet.get());
    if (rc < 0) {
        *error = FFmpeg::errorText(rc);
        return Error;
    }

    Result result = NoPicture;
    for (;;) {
        rc = avcodec_receive_frame(m_context.get(), m_frame.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) {
            break;
        }
        if (rc < 0) {
            *error = FFmpeg::errorText(rc);
            return Error;
        }
        // Only the latest picture of the unit matters.
        QImage converted = toImage(m_frame.get(), error);
        av_frame_unref(m_frame.get());
        if (converted.isNull()) {
            return Error;
        }
        *image = converted;
        result = Picture;
    }
    return result;
}

QImage H264Decoder::toImage(const AVFrame* frame, QString* error)
{
    if (frame->width <= 0 || frame->height <= 0) {
        *error = QStringLiteral("picture without size");
        return QImage();
    }
    m_sws.reset(sws_getCachedContext(m_sws.release(), frame->width, frame->height,
                                     AVPixelFormat(frame->format), frame->width, frame->height,
                                     AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!m_sws) {
        *error = QStringLiteral("cannot convert pixel format %1").arg(frame->format);
        return QImage();
    }
    const int stride = FFmpeg::scaledStride(frame->width * 4);
    auto* buffer = static_cast<uchar*>(av_malloc(FFmpeg::scaledBufferBytes(stride, frame->height)));
    if (buffer == nullptr) {
        *error = QStringLiteral("out of memory");
        return QImage();
    }
    uint8_t* dst[4] = {buffer, nullptr, nullptr, nullptr};
    int dstStride[4] = {stride, 0, 0, 0};
    sws_scale(m_sws.get(), frame->data, frame->linesize, 0, frame->height, dst, dstStride);
    return QImage(buffer, frame->width, frame->height, stride, QImage::Format_RGB32, av_free, buffer);
}
