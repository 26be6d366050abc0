#include "h264encoder.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
}

#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(lcEncoder, "panelcast.device.encoder")

const AVCodec* findEncoder()
{
    if (const AVCodec* codec = avcodec_find_encoder_by_name("libopenh264")) {
        return codec;
    }
    return avcodec_find_encoder_by_name("libx264");
}

void configureX264(AVCodecContext* context)
{
    // What the device decoders expect: constrained baseline, every image
    // answered by its own access unit at once, I-frames kept small.
    context->max_b_frames = 0;
    context->thread_count = 1;
    context->rc_max_rate = H264Encoder::kMaxRate;
    context->rc_buffer_size = H264Encoder::kRateBufferBits;
    av_opt_set(context->priv_data, "profile", "baseline", 0);
    av_opt_set(context->priv_data, "preset", "ultrafast", 0);
    av_opt_set(context->priv_data, "tune", "zerolatency", 0);
}

} // namespace

H264Encoder::~H264Encoder() = default;

std::unique_ptr<H264Encoder> H264Encoder::create(int width, int height, int* status)
{
    int dummy = 0;
    int& result = status ? *status : dummy;
    result = SetupOk;

    const AVCodec* codec = findEncoder();
    qCDebug(lcEncoder).noquote() << "codec: " + QString::fromUtf8(codec ? codec->name : "none");

    std::unique_ptr<H264Encoder> encoder(new H264Encoder);
    encoder->m_context.reset(avcodec_alloc_context3(codec));
    if (!encoder->m_context) {
        qCDebug(lcEncoder) << "could not allocate video codec context";
        result = SetupNoContext;
        return nullptr;
    }
    encoder->m_packet.reset(av_packet_alloc());
    if (!encoder->m_packet) {
        result = SetupNoPacket;
        return nullptr;
    }

    AVCodecContext* context = encoder->m_context.get();
    context->bit_rate = kBitRate;
    context->width = width;
    context->height = height;
    context->time_base = AVRational{1, kFrameRate};
    context->framerate = AVRational{kFrameRate, 1};
    context->gop_size = kGopSize;
    context->max_b_frames = 1;
    context->pix_fmt = AV_PIX_FMT_YUV420P;
    if (codec && qstrcmp(codec->name, "libx264") == 0) {
        configureX264(context);
    } else if (codec && codec->id == AV_CODEC_ID_H264) {
        av_opt_set(context->priv_data, "preset", "slow", 0);
    }

    const int opened = codec ? avcodec_open2(context, codec, nullptr) : AVERROR_ENCODER_NOT_FOUND;
    if (opened < 0) {
        qCDebug(lcEncoder).noquote() << "failed to open codec" << FFmpeg::errorText(opened);
        result = SetupOpenFailed;
        return nullptr;
    }

    encoder->m_frame.reset(av_frame_alloc());
    if (!encoder->m_frame) {
        qCDebug(lcEncoder) << "could not allocate video frame";
        result = SetupNoContext;
        return nullptr;
    }
    AVFrame* frame = encoder->m_frame.get();
    frame->format = context->pix_fmt;
    frame->width = context->width;
    frame->height = context->height;
    if (av_frame_get_buffer(frame, 0) < 0) {
        qCDebug(lcEncoder) << "could not alloczate the video frame data";
        result = SetupNoContext;
        return nullptr;
    }

    encoder->m_converter = YuvConverter::create(width, height);
    if (!encoder->m_converter) {
        qCDebug(lcEncoder) << "could not create the colour converter";
        result = SetupNoContext;
        return nullptr;
    }

    encoder->m_width = width;
    encoder->m_height = height;
    encoder->m_codecName = QString::fromUtf8(codec->name);
    qCDebug(lcEncoder).noquote()
        << QStringLiteral("H264Encoder: %1 at %2x%3").arg(encoder->m_codecName).arg(width).arg(height);
    return encoder;
}

bool H264Encoder::convert(const BgraImage& image)
{
    if (image.isNull() || image.width() != m_width || image.height() != m_height) {
        qCDebug(lcEncoder) << "failed to translate rgb to yuv";
        return false;
    }
    if (image.contentKey() != 0 && image.contentKey() == m_convertedKey) {
        return true;
    }
    m_convertedKey = 0;
    // The encoder may still hold a reference to the previous picture.
    if (av_frame_make_writable(m_frame.get()) < 0) {
        qCDebug(lcEncoder) << "failed to translate rgb to yuv";
        return false;
    }
    if (!m_converter->convert(image, m_frame.get())) {
        qCDebug(lcEncoder) << "failed to translate rgb to yuv";
        return false;
    }
    m_convertedKey = image.contentKey();
    return true;
}

H264Encoder::Result H264Encoder::encodeConverted(QByteArray& out)
{
    // Strictly increasing time stamps keep the rate control honest.
    m_frame->pts = m_nextPts++;
    m_frame->pict_type = m_keyFrameRequested ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    m_keyFrameRequested = false;
    int ret = avcodec_send_frame(m_context.get(), m_frame.get());
    if (ret < 0) {
        qCDebug(lcEncoder).noquote() << "failed to send frame" << FFmpeg::errorText(ret);
        return Result::SendFailed;
    }
    for (;;) {
        ret = avcodec_receive_packet(m_context.get(), m_packet.get());
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF) {
            return Result::Ok;
        }
        if (ret < 0) {
            qCDebug(lcEncoder).noquote() << "error occurred during encoding" << FFmpeg::errorText(ret);
            return Result::ReceiveFailed;
        }
        out.append(reinterpret_cast<const char*>(m_packet->data), m_packet->size);
        av_packet_unref(m_packet.get());
    }
}

H264Encoder::Result H264Encoder::encode(const BgraImage& image, QByteArray& out)
{
    if (!convert(image)) {
        return Result::ConvertFailed;
    }
    return encodeConverted(out);
}
