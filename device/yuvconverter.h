#pragma once

#include "bgraimage.h"
#include "ffmpegutils.h"

#include <memory>

// Turns BGRA pictures of one fixed size into the planes of a YUV 4:2:0 frame
// (BT.601, limited range, each chroma sample the mean of its 2x2 block).
// libyuv does it several times faster than swscale; builds without libyuv
// use swscale. Both give the same planes within rounding.
class YuvConverter
{
public:
    enum class Backend
    {
        LibYuv,
        Swscale,
    };

    // The fastest backend of this build.
    static Backend bestBackend();
    // Null when the backend is not in this build or cannot be set up.
    static std::unique_ptr<YuvConverter> create(int width, int height, Backend backend = bestBackend());

    ~YuvConverter();
    YuvConverter(const YuvConverter&) = delete;
    YuvConverter& operator=(const YuvConverter&) = delete;

    Backend backend() const { return m_backend; }
    // image must have the converter's size, frame hold YUV 4:2:0 planes of it.
    bool convert(const BgraImage& image, AVFrame* frame) const;

private:
    YuvConverter(int width, int height, Backend backend);

    int m_width;
    int m_height;
    Backend m_backend;
    FFmpeg::SwsContextPtr m_scaler;
};
