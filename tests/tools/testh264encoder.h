#pragma once

#include "avhandles.h"

#include <QByteArray>
#include <QColor>
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

private:
    QSize m_size;
    AvHandles::CodecContextPtr m_context;
    AvHandles::FramePtr m_frame;
    AvHandles::PacketPtr m_packet;
    AvHandles::SwsPtr m_sws;
    qint64 m_pts = 0;
    QString m_error;
};
