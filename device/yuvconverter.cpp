#include "yuvconverter.h"

#ifdef PANELCAST_HAVE_LIBYUV
#include <libyuv/convert_from_argb.h>
#endif

YuvConverter::YuvConverter(int width, int height, Backend backend)
    : m_width(width), m_height(height), m_backend(backend)
{
}

YuvConverter::~YuvConverter() = default;

YuvConverter::Backend YuvConverter::bestBackend()
{
#ifdef PANELCAST_HAVE_LIBYUV
    return Backend::LibYuv;
#else
    return Backend::Swscale;
#endif
}

std::unique_ptr<YuvConverter> YuvConverter::create(int width, int height, Backend backend)
{
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    std::unique_ptr<YuvConverter> converter(new YuvConverter(width, height, backend));
    if (backend == Backend::LibYuv) {
#ifdef PANELCAST_HAVE_LIBYUV
        return converter;
#else
        return nullptr;
#endif
    }
    // Bilinear chroma is the 2x2 mean at this size, as libyuv computes it.
    converter->m_scaler.reset(sws_getContext(width, height, AV_PIX_FMT_BGRA, width, height,
                                             AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr));
    return converter->m_scaler ? std::move(converter) : nullptr;
}

bool YuvConverter::convert(const BgraImage& image, AVFrame* frame) const
{
    if (image.isNull() || image.width() != m_width || image.height() != m_height || frame == nullptr ||
        frame->width != m_width || frame->height != m_height) {
        return false;
    }
#ifdef PANELCAST_HAVE_LIBYUV
    if (m_backend == Backend::LibYuv) {
        // libyuv's "ARGB" is B, G, R, A in memory: the layout of BgraImage.
        return libyuv::ARGBToI420(image.constBits(), image.bytesPerLine(), frame->data[0], frame->linesize[0],
                                  frame->data[1], frame->linesize[1], frame->data[2], frame->linesize[2],
                                  m_width, m_height) == 0;
    }
#endif
    const uint8_t* source[] = {image.constBits()};
    const int sourceStride[] = {image.bytesPerLine()};
    const int rows =
        sws_scale(m_scaler.get(), source, sourceStride, 0, m_height, frame->data, frame->linesize);
    return rows == m_height;
}
