#include "displayframer.h"

#include "packets.h"

namespace {

uint8_t byteAt(const QByteArray& data, int index)
{
    return static_cast<uint8_t>(data.at(index));
}

bool isKnownCommand(uint16_t command)
{
    switch (command) {
    case Packets::Brightness:
    case Packets::VersionQuery:
    case Packets::UploadStartOther:
    case Packets::UploadData:
    case Packets::UploadEnd:
    case Packets::Frame:
    case Packets::UploadStartImage + Packets::kLogoCodeOffset:
    case Packets::UploadStartOther + Packets::kLogoCodeOffset:
    case Packets::UploadData + Packets::kLogoCodeOffset:
    case Packets::UploadEnd + Packets::kLogoCodeOffset:
    case Packets::Search:
    case Packets::ExpansionMode:
        return true;
    default:
        return false;
    }
}

} // namespace

bool DisplayFramer::isUploadStart(uint16_t command, uint32_t length)
{
    // Start packets always announce one of the pack sizes; this is also what
    // tells the .jpg start 0x81 from the 1-byte version query.
    if (length != 1024 && length != 4088 && length != 4096) {
        return false;
    }
    switch (command) {
    case Packets::UploadStartImage:
    case Packets::UploadStartOther:
    case Packets::UploadStartImage + Packets::kLogoCodeOffset:
    case Packets::UploadStartOther + Packets::kLogoCodeOffset:
        return true;
    default:
        return false;
    }
}

bool DisplayFramer::headerAt(const QByteArray& data, int offset, uint16_t* command, uint32_t* length) const
{
    if (data.size() - offset < Packets::kHeaderSize) {
        return false;
    }
    if (byteAt(data, offset) != Packets::kMagic0 || byteAt(data, offset + 1) != Packets::kMagic1) {
        return false;
    }
    // Every command in use is below 0x100; a non-zero high byte or an absurd
    // length marks bytes that merely happen to start with 5A A5.
    if (byteAt(data, offset + 3) != 0) {
        return false;
    }
    uint32_t len = 0;
    for (int i = 3; i >= 0; --i) {
        len = (len << 8) | byteAt(data, offset + 4 + i);
    }
    if (len > kMaxPayload) {
        return false;
    }
    *command = byteAt(data, offset + 2);
    *length = len;
    return true;
}

void DisplayFramer::skipGarbage()
{
    // Drop bytes until the buffer starts with something that may become a
    // header: 5A A5 with a plausible rest, or a prefix of one still arriving.
    int start = 0;
    while (start < m_buffer.size()) {
        if (byteAt(m_buffer, start) == Packets::kMagic0) {
            const int available = m_buffer.size() - start;
            if (available == 1) {
                break;
            }
            if (byteAt(m_buffer, start + 1) == Packets::kMagic1) {
                uint16_t command = 0;
                uint32_t length = 0;
                if (available < Packets::kHeaderSize) {
                    // Judge what has arrived of the header so far.
                    if (available < 4 || byteAt(m_buffer, start + 3) == 0) {
                        break;
                    }
                } else if (headerAt(m_buffer, start, &command, &length)) {
                    break;
                }
            }
        }
        ++start;
    }
    if (start > 0) {
        m_skipped += start;
        m_buffer.remove(0, start);
    }
}

HostPacket DisplayFramer::takePartial(bool complete)
{
    HostPacket packet;
    headerAt(m_buffer, 0, &packet.command, &packet.length);
    const int available = m_buffer.size() - Packets::kHeaderSize;
    packet.payload = m_buffer.mid(Packets::kHeaderSize, qMin<qint64>(available, packet.length));
    packet.skippedBefore = m_skipped;
    packet.complete = complete;
    m_skipped = 0;
    m_buffer.remove(0, Packets::kHeaderSize + packet.payload.size());
    return packet;
}

void DisplayFramer::extract(QVector<HostPacket>* out)
{
    for (;;) {
        skipGarbage();
        uint16_t command = 0;
        uint32_t length = 0;
        if (!headerAt(m_buffer, 0, &command, &length)) {
            return;
        }
        if (qint64(m_buffer.size()) < qint64(Packets::kHeaderSize) + length) {
            return;
        }
        out->append(takePartial(true));
    }
}

QVector<HostPacket> DisplayFramer::feed(const QByteArray& bytes, qint64 nowMs)
{
    QVector<HostPacket> out;
    if (bytes.isEmpty()) {
        return out;
    }

    // A short upload start is followed by the host's next packet in a later
    // write; when a read begins with a well-formed header of a known command
    // while a start packet is still short, the start packet ended before it.
    uint16_t command = 0;
    uint32_t length = 0;
    uint16_t nextCommand = 0;
    uint32_t nextLength = 0;
    if (headerAt(m_buffer, 0, &command, &length) && isUploadStart(command, length) &&
        headerAt(bytes, 0, &nextCommand, &nextLength) && isKnownCommand(nextCommand)) {
        out.append(takePartial(true));
    }

    m_buffer.append(bytes);
    m_lastDataMs = nowMs;
    extract(&out);
    return out;
}

qint64 DisplayFramer::deadlineMs() const
{
    if (m_buffer.isEmpty()) {
        return -1;
    }
    uint16_t command = 0;
    uint32_t length = 0;
    if (headerAt(m_buffer, 0, &command, &length) && isUploadStart(command, length)) {
        return m_lastDataMs + kShortStartIdleMs;
    }
    return m_lastDataMs + kStalledPacketIdleMs;
}

QVector<HostPacket> DisplayFramer::poll(qint64 nowMs)
{
    QVector<HostPacket> out;
    for (qint64 deadline = deadlineMs(); deadline >= 0 && nowMs >= deadline; deadline = deadlineMs()) {
        uint16_t command = 0;
        uint32_t length = 0;
        if (!headerAt(m_buffer, 0, &command, &length)) {
            // A lone 5A or a header that never completed.
            m_skipped += m_buffer.size();
            m_buffer.clear();
        } else if (isUploadStart(command, length)) {
            out.append(takePartial(true));
        } else {
            // The header was probably garbage: report it, then look for real
            // packets from just after its 5A A5, as its own length field may
            // hold the start of one.
            const QByteArray rest = m_buffer.mid(2);
            out.append(takePartial(false));
            m_buffer = rest;
        }
        extract(&out);
    }
    return out;
}
