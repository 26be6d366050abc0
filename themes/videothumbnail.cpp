#include "videothumbnail.h"

#include "themelogging.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <memory>

namespace {

struct FormatCloser
{
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct CodecFreer
{
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFreer
{
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFreer
{
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct ScalerFreer
{
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};
struct BufferFreer
{
    void operator()(uint8_t* p) const { av_freep(&p); }
};

// Rows swscale writes into start 64-byte aligned and are padded to it.
constexpr int kRowAlignment = 64;

using FormatPtr = std::unique_ptr<AVFormatContext, FormatCloser>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecFreer>;
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFreer>;
using ScalerPtr = std::unique_ptr<SwsContext, ScalerFreer>;

QImage fail(const char* message, const QString& detail = QString())
{
    if (detail.isEmpty())
        qCDebug(lcThemes).noquote() << message;
    else
        qCDebug(lcThemes).noquote() << message << detail;
    return QImage();
}

// Receives one frame from the decoder; true when frame holds it.
bool receive(AVCodecContext* codec, AVFrame* frame)
{
    return avcodec_receive_frame(codec, frame) == 0;
}

} // namespace

namespace VideoThumbnail {

QImage firstFrame(const QString& path)
{
    AVFormatContext* rawFormat = nullptr;
    if (avformat_open_input(&rawFormat, path.toUtf8().constData(), nullptr, nullptr) < 0)
        return fail("Can't open file: ", path);
    FormatPtr format(rawFormat);
    if (avformat_find_stream_info(format.get(), nullptr) < 0)
        return fail("Can't get stream info");
    const int streamIndex = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (streamIndex == AVERROR_STREAM_NOT_FOUND)
        return fail("didn`t find a video stream");
    if (streamIndex < 0)
        return fail("No video stream");
    const AVCodecParameters* parameters = format->streams[streamIndex]->codecpar;
    const AVCodec* decoder = avcodec_find_decoder(parameters->codec_id);
    if (decoder == nullptr)
        return fail("Can't find decoder");
    CodecPtr codec(avcodec_alloc_context3(decoder));
    if (!codec)
        return fail("Can't allocate decoder context");
    if (avcodec_parameters_to_context(codec.get(), parameters) < 0)
        return fail("Can't copy decoder context");
    if (avcodec_open2(codec.get(), decoder, nullptr) < 0)
        return fail("Can't open decoder");
    FramePtr frame(av_frame_alloc());
    if (!frame)
        return fail("Can't allocate frame");
    PacketPtr packet(av_packet_alloc());
    if (!packet)
        return fail("Can't allocate packet");

    bool decoded = false;
    for (int packets = 0; !decoded && packets < kMaxPackets;) {
        const int readResult = av_read_frame(format.get(), packet.get());
        if (readResult < 0) {
            avcodec_send_packet(codec.get(), nullptr); // drain what the decoder holds
            decoded = receive(codec.get(), frame.get());
            break;
        }
        if (packet->stream_index == streamIndex) {
            ++packets;
            if (avcodec_send_packet(codec.get(), packet.get()) >= 0)
                decoded = receive(codec.get(), frame.get());
        }
        av_packet_unref(packet.get());
    }
    if (!decoded)
        return fail("VideoThumbnail::firstFrame: no frame in", path);

    const int width = frame->width;
    const int height = frame->height;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return fail("VideoThumbnail::firstFrame: frame size refused in", path);
    ScalerPtr scaler(sws_getContext(width, height, AVPixelFormat(frame->format), width, height,
                                    AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!scaler)
        return fail("failed to get sws context");
    // swscale's vector code writes whole blocks of pixels, up to 32 bytes past
    // the end of a row at widths such as 462 and 1080: it converts into rows
    // padded to 64 bytes (av_image_alloc also pads the end), then the rows are
    // copied into the image.
    uint8_t* converted[4] = {nullptr, nullptr, nullptr, nullptr};
    int convertedStride[4] = {0, 0, 0, 0};
    if (av_image_alloc(converted, convertedStride, width, height, AV_PIX_FMT_BGRA, kRowAlignment) < 0)
        return fail("can't allocate convert dst");
    const std::unique_ptr<uint8_t, BufferFreer> buffer(converted[0]);
    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull())
        return fail("can't allocate convert dst");
    sws_scale(scaler.get(), frame->data, frame->linesize, 0, height, converted, convertedStride);
    av_image_copy_plane(image.bits(), int(image.bytesPerLine()), converted[0], convertedStride[0], width * 4,
                        height);
    return image;
}

} // namespace VideoThumbnail
