#pragma once

#include "ffmpegutils.h"

#include <QByteArray>
#include <QImage>

// FFmpeg's own H.264 decoder, set up to hand back each picture as soon as its
// access unit arrives, so tests can check that every packet decodes in place.
class H264TestDecoder
{
public:
    H264TestDecoder()
    {
        const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_H264);
        m_context.reset(avcodec_alloc_context3(codec));
        m_context->thread_count = 1;
        m_context->flags |= AV_CODEC_FLAG_LOW_DELAY;
        m_ok = avcodec_open2(m_context.get(), codec, nullptr) == 0;
        m_packet.reset(av_packet_alloc());
        m_frame.reset(av_frame_alloc());
    }

    bool isValid() const { return m_ok; }

    // Decodes one access unit; returns the picture it yields as RGB32, or a
    // null image when the decoder rejects it or holds it back.
    QImage decode(const QByteArray& accessUnit)
    {
        FFmpeg::PacketPtr packet(av_packet_alloc());
        if (av_new_packet(packet.get(), int(accessUnit.size())) < 0) {
            return {};
        }
        memcpy(packet->data, accessUnit.constData(), size_t(accessUnit.size()));
        if (avcodec_send_packet(m_context.get(), packet.get()) < 0) {
            return {};
        }
        if (avcodec_receive_frame(m_context.get(), m_frame.get()) < 0) {
            return {};
        }
        // swscale's YUV -> BGRA writes up to 32 bytes past the last row at
        // some widths (1080, 462): convert into an image one row taller.
        QImage image(m_frame->width, m_frame->height + 1, QImage::Format_RGB32);
        FFmpeg::SwsContextPtr scaler(
            sws_getContext(m_frame->width, m_frame->height, AVPixelFormat(m_frame->format), m_frame->width,
                           m_frame->height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr));
        uint8_t* target[] = {image.bits()};
        const int stride[] = {int(image.bytesPerLine())};
        sws_scale(scaler.get(), m_frame->data, m_frame->linesize, 0, m_frame->height, target, stride);
        av_frame_unref(m_frame.get());
        return image.copy(0, 0, image.width(), image.height() - 1);
    }

private:
    FFmpeg::CodecContextPtr m_context;
    FFmpeg::PacketPtr m_packet;
    FFmpeg::FramePtr m_frame;
    bool m_ok = false;
};

// Largest difference of one colour channel between two colours.
inline int colourDistance(QRgb a, QRgb b)
{
    return qMax(qAbs(qRed(a) - qRed(b)), qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
}
