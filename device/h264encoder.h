#pragma once

#include "bgraimage.h"
#include "ffmpegutils.h"
#include "yuvconverter.h"

#include <QByteArray>
#include <QString>

#include <memory>

// Turns BGRA pictures of one fixed size into H.264, one access unit per image,
// returned by the same call that took the image (no frame is held back).
// Prefers FFmpeg's "libopenh264"; without it, "libx264" is tuned to behave
// the same way: constrained baseline, no B-frames, zero latency.
class H264Encoder
{
public:
    // Set-up results, as the transport reports them.
    enum SetupStatus
    {
        SetupOk = 0,
        SetupNoContext = -1, // also: no frame or frame buffers, no colour converter
        SetupNoPacket = -2,
        SetupOpenFailed = -3,
    };

    enum class Result
    {
        Ok,
        ConvertFailed, // the image could not be turned into the YUV frame
        SendFailed,    // the encoder refused the frame
        ReceiveFailed, // the encoder failed while handing out packets
    };

    static constexpr int kBitRate = 4000000;
    static constexpr int kFrameRate = 25;
    static constexpr int kGopSize = 10;
    // Caps the size of I-frames so they fit a full-speed USB link.
    static constexpr int kMaxRate = 4000000;
    static constexpr int kRateBufferBits = 480000;

    // Returns null on failure; *status (when given) receives the set-up result.
    static std::unique_ptr<H264Encoder> create(int width, int height, int* status = nullptr);

    ~H264Encoder();
    H264Encoder(const H264Encoder&) = delete;
    H264Encoder& operator=(const H264Encoder&) = delete;
    H264Encoder(H264Encoder&&) noexcept = default;
    H264Encoder& operator=(H264Encoder&&) noexcept = default;

    int width() const { return m_width; }
    int height() const { return m_height; }
    QString codecName() const { return m_codecName; }

    // The two halves of encode(), separate so they can be measured alone.
    // convert: BGRA image of the encoder's size -> the YUV 4:2:0 frame. A
    // picture with the content key of the one converted last is not
    // converted again: the frame still holds it (the encoder codes the
    // repeat as a small frame of skipped blocks).
    bool convert(const BgraImage& image);
    // Encodes the converted frame and appends its H.264 bytes to out.
    Result encodeConverted(QByteArray& out);

    Result encode(const BgraImage& image, QByteArray& out);

    // The next picture is coded as a key frame (the decoder lost the ones
    // before it, e.g. frames were held back in expansion mode).
    void requestKeyFrame() { m_keyFrameRequested = true; }

private:
    H264Encoder() = default;

    FFmpeg::CodecContextPtr m_context;
    std::unique_ptr<YuvConverter> m_converter;
    FFmpeg::FramePtr m_frame;
    FFmpeg::PacketPtr m_packet;
    QString m_codecName;
    int m_width = 0;
    int m_height = 0;
    int64_t m_nextPts = 0;
    bool m_keyFrameRequested = false;
    qint64 m_convertedKey = 0;
};
