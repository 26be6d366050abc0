#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include <QString>

#include <memory>

// Owning handles for the FFmpeg objects the emulator uses; nothing else
// frees them by hand.
namespace AvHandles {

struct CodecContextDeleter
{
    void operator()(AVCodecContext* p) const { avcodec_free_context(&p); }
};
struct FrameDeleter
{
    void operator()(AVFrame* p) const { av_frame_free(&p); }
};
struct PacketDeleter
{
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct SwsDeleter
{
    void operator()(SwsContext* p) const { sws_freeContext(p); }
};

using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
using SwsPtr = std::unique_ptr<SwsContext, SwsDeleter>;

inline QString errorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof(text));
    return QString::fromUtf8(text);
}

} // namespace AvHandles
