#include "segmentframer.h"

#include "packets.h"

namespace {

uint8_t byteAt(const QByteArray& data, int index)
{
    return static_cast<uint8_t>(data.at(index));
}

QRgb colourAt(const QByteArray& data, int index)
{
    return qRgb(byteAt(data, index), byteAt(data, index + 1), byteAt(data, index + 2));
}

// Readings travel XOR 0x02.
int readingAt(const QByteArray& data, int index)
{
    return byteAt(data, index) ^ 0x02;
}

} // namespace

int SegmentFramer::packetSize(int mode)
{
    return mode == kQuadMode ? kQuadSize : kSingleSize;
}

void SegmentFramer::extract(QVector<SegmentPacket>* out)
{
    for (;;) {
        int start = 0;
        while (start < m_buffer.size() &&
               !(byteAt(m_buffer, start) == Packets::kMagic0 &&
                 (start + 1 == m_buffer.size() || byteAt(m_buffer, start + 1) == Packets::kMagic1))) {
            ++start;
        }
        m_skipped += start;
        m_buffer.remove(0, start);
        if (m_buffer.size() < 3) {
            return;
        }
        const int mode = byteAt(m_buffer, 2);
        const int size = packetSize(mode);
        if (m_buffer.size() < size) {
            return;
        }

        SegmentPacket packet;
        packet.mode = mode;
        packet.raw = m_buffer.left(size);
        const int zones = size == kQuadSize ? 4 : 1;
        for (int zone = 0; zone < zones; ++zone) {
            packet.colours.append(colourAt(packet.raw, 3 + zone * 3));
        }
        packet.temperature = readingAt(packet.raw, size - 2);
        packet.usage = readingAt(packet.raw, size - 1);
        packet.skippedBefore = m_skipped;
        m_skipped = 0;
        m_buffer.remove(0, size);
        out->append(packet);
    }
}

QVector<SegmentPacket> SegmentFramer::feed(const QByteArray& bytes, qint64 nowMs)
{
    QVector<SegmentPacket> out;
    if (bytes.isEmpty()) {
        return out;
    }
    m_buffer.append(bytes);
    m_lastDataMs = nowMs;
    extract(&out);
    return out;
}

qint64 SegmentFramer::deadlineMs() const
{
    return m_buffer.isEmpty() ? -1 : m_lastDataMs + kStalledPacketIdleMs;
}

QVector<SegmentPacket> SegmentFramer::poll(qint64 nowMs)
{
    QVector<SegmentPacket> out;
    const qint64 deadline = deadlineMs();
    if (deadline < 0 || nowMs < deadline) {
        return out;
    }
    SegmentPacket dropped;
    dropped.raw = m_buffer;
    dropped.mode = m_buffer.size() >= 3 ? byteAt(m_buffer, 2) : -1;
    dropped.skippedBefore = m_skipped;
    dropped.complete = false;
    m_skipped = 0;
    m_buffer.clear();
    out.append(dropped);
    return out;
}
