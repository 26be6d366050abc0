#pragma once

// Ownership of FFmpeg objects. Every FFmpeg object Panelcast creates lives in
// one of these pointers; nothing else calls the av_*_free family directly.
// Also the room that pictures converted by swscale need.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/macros.h>
#include <libswscale/swscale.h>
}

#include <QString>

#include <cstddef>
#include <memory>

namespace FFmpeg {

struct FrameDeleter
{
    void operator()(AVFrame* frame) const noexcept { av_frame_free(&frame); }
};

struct PacketDeleter
{
    void operator()(AVPacket* packet) const noexcept { av_packet_free(&packet); }
};

struct CodecContextDeleter
{
    void operator()(AVCodecContext* context) const noexcept { avcodec_free_context(&context); }
};

// Demuxing contexts from avformat_open_input; also frees their I/O.
struct FormatContextDeleter
{
    void operator()(AVFormatContext* context) const noexcept { avformat_close_input(&context); }
};

struct SwsContextDeleter
{
    void operator()(SwsContext* context) const noexcept { sws_freeContext(context); }
};

using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using FormatContextPtr = std::unique_ptr<AVFormatContext, FormatContextDeleter>;
using SwsContextPtr = std::unique_ptr<SwsContext, SwsContextDeleter>;

// swscale's vector code writes whole blocks of pixels: at widths such as 8,
// 462 and 1080 its packed output runs up to 32 bytes past the end of a row.
// Converted pictures get rows with room to spare and a buffer with a spare
// tail, so the last row's overrun lands in memory the picture owns.
constexpr int kScaledSpare = 64;

inline int scaledStride(int rowBytes)
{
    return FFALIGN(rowBytes, kScaledSpare) + kScaledSpare;
}

inline size_t scaledBufferBytes(int stride, int rows)
{
    return size_t(stride) * size_t(rows) + kScaledSpare;
}

// Readable text of an FFmpeg error code (AVERROR(...) values).
inline QString errorText(int errorCode)
{
    char buffer[AV_ERROR_MAX_STRING_SIZE] = {};
    if (av_strerror(errorCode, buffer, sizeof(buffer)) < 0) {
        return QStringLiteral("unknown error %1").arg(errorCode);
    }
    return QString::fromUtf8(buffer);
}

} // namespace FFmpeg
