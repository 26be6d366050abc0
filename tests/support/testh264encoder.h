#pragma once

#include "ffmpegutils.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

// What the host's encoder produces, for tests: libx264, constrained
// baseline, zero latency, one access unit out per image in.
class TestH264Encoder
{
public:
    explicit TestH264Encoder(const QSize& size);

    bool isOpen() const { return m_context != nullptr; }
    QString error() const { return m_error; }

    // One access unit showing a plain colour; empty on failure.
    QByteArray encode(const QColor& colour);
    // One access unit showing `image` (of the encoder's size); empty on failure.
    QByteArray encode(const QImage& image);

private:
    QSize m_size;
    FFmpeg::CodecContextPtr m_context;
    FFmpeg::FramePtr m_frame;
    FFmpeg::PacketPtr m_packet;
    FFmpeg::SwsContextPtr m_sws;
    qint64 m_pts = 0;
    QString m_error;
};
