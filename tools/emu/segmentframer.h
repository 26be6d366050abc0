#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QRgb>
#include <QVector>

// One packet to a seven-segment panel, decoded.
struct SegmentPacket
{
    int mode = 0;
    QVector<QRgb> colours; // one, or four zones for the rainbow mode
    int temperature = 0;   // as shown: the wire byte XOR 0x02
    int usage = 0;
    QByteArray raw;
    int skippedBefore = 0;
    bool complete = true; // false: the rest never came and the bytes were dropped
};

Q_DECLARE_METATYPE(SegmentPacket)

// Cuts the host's stream to a seven-segment panel into its 8- and 17-byte
// packets. They carry no length: the mode byte decides. Only the rainbow
// mode (3) sends four colours.
class SegmentFramer
{
public:
    static constexpr int kSingleSize = 8;
    static constexpr int kQuadSize = 17;
    static constexpr int kQuadMode = 3;
    // The host writes each packet whole every 50 ms; a piece left alone this
    // long will not be completed.
    static constexpr qint64 kStalledPacketIdleMs = 150;

    static int packetSize(int mode);

    QVector<SegmentPacket> feed(const QByteArray& bytes, qint64 nowMs);
    QVector<SegmentPacket> poll(qint64 nowMs);
    qint64 deadlineMs() const;

private:
    void extract(QVector<SegmentPacket>* out);

    QByteArray m_buffer;
    qint64 m_lastDataMs = 0;
    int m_skipped = 0;
};
