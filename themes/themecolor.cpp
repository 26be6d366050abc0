#include "themecolor.h"

#include "themerecordreader.h"
#include "themerecordwriter.h"

#include <QDataStream>

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
