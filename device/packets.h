#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

// Byte layouts of everything the host sends to a device. Display packets are
// framed as 5A A5, a 16-bit little-endian command, a 32-bit little-endian
// payload length and the payload; seven-segment packets are short and carry
// no length field.
namespace Packets {

constexpr uint8_t kMagic0 = 0x5A;
constexpr uint8_t kMagic1 = 0xA5;
constexpr int kHeaderSize = 8;

enum Command : uint16_t
{
    Brightness = 0x80,
    VersionQuery = 0x81,
    Frame = 0x85,
    Search = 0x90,
    ExpansionMode = 0x91,

    // File uploads; logo and boot-video uploads add kLogoCodeOffset.
    UploadStartImage = 0x81,
    UploadStartOther = 0x82,
    UploadData = 0x83,
    UploadEnd = 0x84,
};

constexpr int kLogoCodeOffset = 5;

// Upload kinds as handed to the transport.
enum UploadKind : int
{
    UploadNone = 0,
    UploadFirmware = 1,
    UploadLogo = 2,
};

// The 8-byte header alone, with whatever length field the caller needs (an
// upload start packet may announce a full pack while carrying fewer bytes).
QByteArray header(uint16_t command, uint32_t length);

// Header with the payload's own length, followed by the payload.
QByteArray build(uint16_t command, const QByteArray& payload);

// Header with an explicit length field, followed by the payload as given.
QByteArray buildWithLength(uint16_t command, uint32_t length, const QByteArray& payload);

QByteArray search();
QByteArray versionQuery();
QByteArray expansionMode(bool on);
QByteArray brightness(uint8_t value);
QByteArray frame(const QByteArray& h264);
// frame(h264) appended to out, without building it apart first.
void appendFrame(QByteArray& out, const QByteArray& h264);

// Brightness byte for a percentage: p * 255 / 100 with integer division,
// or -1 when p is outside 0..100 (such requests are ignored).
int brightnessFromPercent(int percent);

// Code offset of an upload kind: 0 for firmware, 5 for logos and boot videos.
int uploadCodeOffset(int kind);

// Start code of an upload: 0x81 + offset when the file name's last
// "."-separated part is exactly "jpg" (case-sensitive), else 0x82 + offset.
// A path may be given; only its file name counts.
uint16_t uploadStartCode(int kind, const QString& fileName);

// Seven-segment packets: 8 bytes with one colour, 17 bytes with four.
// Colours are 0xRRGGBB; temperature and usage are reduced to their low
// 8 bits and XORed with 0x02.
QByteArray segmentSingle(uint8_t mode, uint32_t rgb, int temperature, int usage);
QByteArray segmentQuad(uint8_t mode, const std::array<uint32_t, 4>& rgb, int temperature, int usage);

} // namespace Packets
