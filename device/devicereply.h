#pragma once

#include <QByteArray>
#include <QString>

// One chunk read from a display device, examined as one reply: 5A A5, an
// unused byte, the reply code at offset 3, then the reply's data. Chunks are
// never reassembled; a chunk too short for its fields, not starting with
// 5A A5, or carrying an unknown code is dropped (kind Invalid), and so is a
// search reply with an implausible panel size.
struct DeviceReply
{
    enum Kind
    {
        Invalid,
        Version,     // 0x81: UTF-8 text from byte 5 to the end of the chunk
        Acknowledge, // 0x8F: byte 4 is the upload acknowledgement flag
        SearchResult // 0x90: width, height big-endian at 8 and 10; mode at 12
    };

    static constexpr int kVersionMinSize = 5;
    static constexpr int kAcknowledgeMinSize = 5;
    static constexpr int kSearchMinSize = 12;
    static constexpr int kSearchWithModeSize = 13;
    // A search reply whose width or height is 0 or above this is dropped.
    static constexpr int kMaxPanelSide = 4096;

    Kind kind = Invalid;
    QString version;
    int acknowledge = 0;
    int width = 0;
    int height = 0;
    int mode = 0;

    static DeviceReply parse(const QByteArray& chunk);
};
