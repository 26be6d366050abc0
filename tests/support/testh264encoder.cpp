#include "testh264encoder.h"

#include <QImage>

extern "C" {
#include <libavutil/opt.h>
}

TestH264Encoder::TestH264Encoder(const QSize& size) : m_size(size)
{
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (codec == nullptr) {
        m_error = QStringLiteral("libx264 not available");
        return;
    }
    FFmpeg::CodecContextPtr context(avcodec_alloc_context3(codec));
    context->width = size.width();
    context->height = size.height();
    context->pix_fmt = AV_PIX_FMT_YUV420P;
    context->time_base = AVRational{1, 30};
    context->framerate = AVRational{30, 1};
    context->max_b_frames = 0;
    context->gop_size = 30;
    context->profile = FF_PROFILE_H264_CONSTRAINED_BASELINE;
    av_opt_set(context->priv_data, "preset", "ultrafast", 0);
    av_opt_set(context->priv_data, "tune", "zerolatency", 0);
    av_opt_set(context->priv_data, "profile", "baseline", 0);
    const int rc = avcodec_open2(context.get(), codec, nullptr);
    if (rc < 0) {
        m_error = FFmpeg::errorText(rc);
        return;
    }
    m_context = std::move(context);
    m_frame.reset(av_frame_alloc());
    m_frame->format = AV_PIX_FMT_YUV420P;
    m_frame->width = size.width();
    m_frame->height = size.height();
    av_frame_get_buffer(m_frame.get(), 0);
    m_packet.reset(av_packet_alloc());
    m_sws.reset(sws_getContext(size.width(), size.height(), AV_PIX_FMT_BGRA, size.width(), size.height(),
                               AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr));
}

QByteArray TestH264Encoder::encode(const QColor& colour)
{
    QImage image(m_size, QImage::Format_RGB32);
    image.fill(colour);
    return encode(image);
}

QByteArray TestH264Encoder::encode(const QImage& picture)
{
    if (!m_context || picture.size() != m_size) {
        return QByteArray();
    }
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const uint8_t* src[4] = {image.constBits(), nullptr, nullptr, nullptr};
    const int srcStride[4] = {int(image.bytesPerLine()), 0, 0, 0};
    av_frame_make_writable(m_frame.get());
    sws_scale(m_sws.get(), src, srcStride, 0, m_size.height(), m_frame->data, m_frame->linesize);
    m_frame->pts = m_pts++;

    if (avcodec_send_frame(m_context.get(), m_frame.get()) < 0) {
        return QByteArray();
    }
    QByteArray unit;
    while (avcodec_receive_packet(m_context.get(), m_packet.get()) == 0) {
        unit.append(reinterpret_cast<const char*>(m_packet->data), m_packet->size);
        av_packet_unref(m_packet.get());
    }
    return unit;
}
