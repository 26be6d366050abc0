#pragma once

#include <QByteArray>
#include <QVector>

#include <cstdint>

// One packet from the host as the device framed it.
struct HostPacket
{
    uint16_t command = 0;
    uint32_t length = 0;   // the header's length field
    QByteArray payload;    // shorter than length only for a short upload start or a dropped packet
    int skippedBefore = 0; // garbage bytes thrown away while looking for this packet's 5A A5
    bool complete = true;  // false: the rest never came and the packet was dropped
};

// Cuts the byte stream from the host into packets by the 8-byte header's
// length field, whatever way reads split or join them. Time is passed in
// by the caller (milliseconds on any monotonic clock) so the idle rules can
// be driven without waiting.
class DisplayFramer
{
public:
    // An upload start announces a whole pack even when the file is shorter;
    // after this much silence what arrived is its payload.
    static constexpr qint64 kShortStartIdleMs = 150;
    // Any other packet whose rest does not come within this long is dropped
    // so a stray header cannot swallow the stream.
    static constexpr qint64 kStalledPacketIdleMs = 1000;
    // A length field above this is not believed: the header is garbage.
    static constexpr uint32_t kMaxPayload = 16u * 1024u * 1024u;

    // Upload start packets: 0x81, 0x82, 0x86 or 0x87 announcing a pack of
    // 1024, 4088 or 4096 bytes.
    static bool isUploadStart(uint16_t command, uint32_t length);

    // Takes the bytes of one read and returns every packet they complete.
    QVector<HostPacket> feed(const QByteArray& bytes, qint64 nowMs);

    // Applies the idle rules at nowMs; returns a packet they complete.
    QVector<HostPacket> poll(qint64 nowMs);

    // When poll() has something to do next, or -1 when nothing is pending.
    qint64 deadlineMs() const;

    int bufferedBytes() const { return m_buffer.size(); }

private:
    // Header at the front of m_buffer, or false when it has not all arrived
    // or is not a plausible header.
    bool headerAt(const QByteArray& data, int offset, uint16_t* command, uint32_t* length) const;
    void extract(QVector<HostPacket>* out);
    void skipGarbage();
    HostPacket takePartial(bool complete);

    QByteArray m_buffer;
    qint64 m_lastDataMs = 0;
    int m_skipped = 0;
};
