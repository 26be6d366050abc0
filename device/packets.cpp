#include "packets.h"

namespace Packets {

namespace {

void appendLe16(QByteArray& out, uint16_t v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

void appendLe32(QByteArray& out, uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8) {
        out.append(char((v >> shift) & 0xFF));
    }
}

void appendRgb(QByteArray& out, uint32_t rgb)
{
    out.append(char((rgb >> 16) & 0xFF));
    out.append(char((rgb >> 8) & 0xFF));
    out.append(char(rgb & 0xFF));
}

char segmentReading(int value)
{
    return char((value & 0xFF) ^ 0x02);
}

} // namespace

QByteArray header(uint16_t command, uint32_t length)
{
    QByteArray out;
    out.reserve(kHeaderSize);
    out.append(char(kMagic0));
    out.append(char(kMagic1));
    appendLe16(out, command);
    appendLe32(out, length);
    return out;
}

QByteArray build(uint16_t command, const QByteArray& payload)
{
    return buildWithLength(command, uint32_t(payload.size()), payload);
}

QByteArray buildWithLength(uint16_t command, uint32_t length, const QByteArray& payload)
{
    QByteArray out = header(command, length);
    out.append(payload);
    return out;
}

QByteArray search()
{
    return build(Search, QByteArray(1, char(0x01)));
}

QByteArray versionQuery()
{
    return build(VersionQuery, QByteArray(1, char(0x01)));
}

QByteArray expansionMode(bool on)
{
    return build(ExpansionMode, QByteArray(1, on ? char(0x01) : char(0x00)));
}

QByteArray brightness(uint8_t value)
{
    return build(Brightness, QByteArray(1, char(value)));
}

QByteArray frame(const QByteArray& h264)
{
    QByteArray out;
    appendFrame(out, h264);
    return out;
}

void appendFrame(QByteArray& out, const QByteArray& h264)
{
    out.append(char(kMagic0));
    out.append(char(kMagic1));
    appendLe16(out, Frame);
    appendLe32(out, uint32_t(h264.size()));
    out.append(h264);
}

int brightnessFromPercent(int percent)
{
    if (percent < 0 || percent > 100) {
        return -1;
    }
    return percent * 255 / 100;
}

int uploadCodeOffset(int kind)
{
    return kind == UploadLogo ? kLogoCodeOffset : 0;
}

uint16_t uploadStartCode(int kind, const QString& fileName)
{
    // A name without a dot is its own last part, so a file named "jpg" counts.
    const QString name = fileName.section(QLatin1Char('/'), -1);
    const bool isJpg = name.section(QLatin1Char('.'), -1) == QLatin1String("jpg");
    return uint16_t((isJpg ? UploadStartImage : UploadStartOther) + uploadCodeOffset(kind));
}

QByteArray segmentSingle(uint8_t mode, uint32_t rgb, int temperature, int usage)
{
    QByteArray out;
    out.reserve(8);
    out.append(char(kMagic0));
    out.append(char(kMagic1));
    out.append(char(mode));
    appendRgb(out, rgb);
    out.append(segmentReading(temperature));
    out.append(segmentReading(usage));
    return out;
}

QByteArray segmentQuad(uint8_t mode, const std::array<uint32_t, 4>& rgb, int temperature, int usage)
{
    QByteArray out;
    out.reserve(17);
    out.append(char(kMagic0));
    out.append(char(kMagic1));
    out.append(char(mode));
    for (uint32_t colour : rgb) {
        appendRgb(out, colour);
    }
    out.append(segmentReading(temperature));
    out.append(segmentReading(usage));
    return out;
}

} // namespace Packets
