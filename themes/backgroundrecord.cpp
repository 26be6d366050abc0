#include "backgroundrecord.h"

#include "themerecordreader.h"
#include "themevalues.h"

#include <QDataStream>

bool BackgroundRecord::read(ThemeRecordReader& in)
{
    BackgroundRecord r;
    if (!in.readInt32(r.kind))
        return false;
    if (!readThemeColor(in, r.colour))
        return false;
    if (!in.readInt32(r.rotation) || !in.readBool(r.visible) || !in.readString(r.fileName))
        return false;
    if (r.kind < Colour || r.kind > Video) {
        in.fail(QStringLiteral("background kind %1").arg(r.kind));
        return false;
    }
    if (r.rotation < 0 || r.rotation > 3) {
        in.fail(QStringLiteral("rotation %1").arg(r.rotation));
        return false;
    }
    *this = r;
    return true;
}

void BackgroundRecord::write(QDataStream& out) const
{
    out << kind << colour << rotation << visible << fileName;
}
