#include "streamframe.h"

namespace StreamFrame {

QImage toImage(Layout layout, const uchar* data, qsizetype available, const QSize& size, int stride)
{
    constexpr int kMaxSide = 16384;
    QImage::Format format = QImage::Format_Invalid;
    switch (layout) {
    case Layout::BGRx:
    case Layout::BGRA:
        format = QImage::Format_RGB32; // 0xffRRGGBB read as B, G, R, x bytes
        break;
    case Layout::RGBx:
    case Layout::RGBA:
        format = QImage::Format_RGBX8888;
        break;
    case Layout::Unknown:
        return QImage();
    }
    if (data == nullptr || size.width() <= 0 || size.height() <= 0 || size.width() > kMaxSide ||
        size.height() > kMaxSide)
        return QImage();
    const qsizetype row = qsizetype(size.width()) * 4;
    const qsizetype step = stride == 0 ? row : stride;
    if (step < row || available < step * (size.height() - 1) + row)
        return QImage();

    QImage image(size, format);
    for (int y = 0; y < size.height(); ++y)
        memcpy(image.scanLine(y), data + step * y, size_t(row));
    if (format == QImage::Format_RGB32) {
        // The stream's fourth byte may be anything; RGB32 wants 0xff there.
        for (int y = 0; y < size.height(); ++y) {
            auto* pixel = reinterpret_cast<quint32*>(image.scanLine(y));
            for (int x = 0; x < size.width(); ++x)
                pixel[x] |= 0xff000000u;
        }
    } else {
        for (int y = 0; y < size.height(); ++y) {
            uchar* bytes = image.scanLine(y);
            for (int x = 0; x < size.width(); ++x)
                bytes[x * 4 + 3] = 0xff;
        }
    }
    return image;
}

} // namespace StreamFrame
