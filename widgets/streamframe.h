#pragma once

#include <QImage>
#include <QSize>

// One buffer of a screen-cast stream turned into an image the capture
// widgets can crop and scale. The buffer comes from another process, so its
// geometry is checked against the bytes that really arrived.
namespace StreamFrame {

// Byte order of one 32-bit pixel in memory, as the stream negotiated it.
enum class Layout
{
    Unknown,
    BGRx,
    BGRA,
    RGBx,
    RGBA,
};

// Screens are opaque: an alpha byte is ignored. stride 0 means tightly
// packed rows. A null image when the layout is unknown, the size is empty or
// larger than 16384 on a side, the stride is shorter than a row, or the
// buffer is too short for the rows it claims.
QImage toImage(Layout layout, const uchar* data, qsizetype available, const QSize& size, int stride);

} // namespace StreamFrame
