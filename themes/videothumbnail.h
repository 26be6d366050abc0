#pragma once

#include <QImage>
#include <QString>

namespace VideoThumbnail {

// The first decoded frame of the video (or animation) at path as an ARGB32
// image; a null image when the file cannot be opened or decoded. Frames wider
// or taller than kMaxSide, and files without a frame in their first
// kMaxPackets packets of the video stream, give a null image.
constexpr int kMaxSide = 8192;
constexpr int kMaxPackets = 600;
QImage firstFrame(const QString& path);

} // namespace VideoThumbnail
