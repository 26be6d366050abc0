#include "devicereply.h"

#include "packets.h"

namespace {

int byteAt(const QByteArray& data, int index)
{
    return static_cast<unsigned char>(data.at(index));
}

int be16At(const QByteArray& data, int index)
{
    return (byteAt(data, index) << 8) | byteAt(data, index + 1);
}

} // namespace

DeviceReply DeviceReply::parse(const QByteArray& chunk)
{
    DeviceReply reply;
    if (chunk.size() < 4 || byteAt(chunk, 0) != Packets::kMagic0 || byteAt(chunk, 1) != Packets::kMagic1) {
        return reply;
    }

    switch (byteAt(chunk, 3)) {
    case 0x81:
        if (chunk.size() >= kVersionMinSize) {
            reply.kind = Version;
            reply.version = QString::fromUtf8(chunk.constData() + 5, chunk.size() - 5);
        }
        break;
    case 0x8F:
        if (chunk.size() >= kAcknowledgeMinSize) {
            reply.kind = Acknowledge;
            reply.acknowledge = byteAt(chunk, 4);
        }
        break;
    case 0x90:
        if (chunk.size() >= kSearchMinSize) {
            const int width = be16At(chunk, 8);
            const int height = be16At(chunk, 10);
            if (width < 1 || width > kMaxPanelSide || height < 1 || height > kMaxPanelSide) {
                break;
            }
            reply.kind = SearchResult;
            reply.width = width;
            reply.height = height;
            reply.mode = chunk.size() >= kSearchWithModeSize ? byteAt(chunk, 12) : 0;
        }
        break;
    default:
        break;
    }
    return reply;
}
