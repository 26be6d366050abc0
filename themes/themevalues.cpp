#include "themevalues.h"

#include "themerecordreader.h"
#include "themerecordwriter.h"

#include <QDataStream>
#include <QtEndian>

#include <cmath>
#include <cstring>

bool readThemeColor(ThemeRecordReader& in, QColor& colour)
{
    constexpr int kColourBytes = 11;
    QByteArray bytes(kColourBytes, '\0');
    if (!in.readRaw(bytes.data(), kColourBytes))
        return false;
    const qint8 spec = qint8(bytes.at(0));
    if (spec < qint8(QColor::Invalid) || spec > qint8(QColor::ExtendedRgb)) {
        in.fail(QStringLiteral("colour of unknown kind %1").arg(spec));
        return false;
    }
    QDataStream checked(bytes);
    setThemeStreamFormat(checked);
    checked >> colour;
    return true;
}

bool readThemeFont(ThemeRecordReader& in, QFont& font)
{
    // After family and style name: point size (double), pixel size (int32),
    // style hint (8 bits), style strategy (16), character set (8), weight (8),
    // flags (8), stretch (16), more flags (8), letter and word spacing (int32
    // each), hinting preference (8), capitalisation (8); then the family list.
    constexpr int kFixedBytes = 31;
    const qint64 start = in.position();
    QString text;
    if (!in.readString(text) || !in.readString(text))
        return false;
    char fixed[kFixedBytes];
    if (!in.readRaw(fixed, kFixedBytes))
        return false;
    const quint64 pointBits = qFromBigEndian<quint64>(fixed);
    double pointSize = 0;
    std::memcpy(&pointSize, &pointBits, sizeof pointSize);
    const qint32 pixelSize = qFromBigEndian<qint32>(fixed + 8);
    if (!(pointSize == -1 || (pointSize >= 0 && pointSize <= kMaxFontPointSize))) {
        in.fail(QStringLiteral("font of %1 points").arg(pointSize));
        return false;
    }
    if (pixelSize < -1 || pixelSize > kMaxFontPixelSize) {
        in.fail(QStringLiteral("font of %1 pixels").arg(pixelSize));
        return false;
    }
    qint32 families = 0;
    if (!in.readCount(families, 4))
        return false;
    for (qint32 i = 0; i < families; ++i) {
        if (!in.readString(text))
            return false;
    }
    QDataStream checked(in.bytesFrom(start));
    setThemeStreamFormat(checked);
    checked >> font;
    return true;
}
