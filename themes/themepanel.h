#pragma once

#include <QString>

class QDataStream;
class ThemeRecordReader;

// What theme storage needs from an editor panel: each panel owns one record
// of the theme file. The storage frames the record (length and tag) and calls
// the panels in the fixed tag order; the panel writes and reads only its fields.
class ThemePanel
{
public:
    virtual ~ThemePanel() = default;

    // The record's tag (ThemeTag).
    virtual qint32 themeTag() const = 0;

    // Removes the panel's items and their widgets.
    virtual void clearTheme() = 0;

    // Writes the fields after the tag. resourceFolder is the theme's "res"
    // folder for the panels that copy media into it, else empty; media are
    // stored by file name only.
    virtual void writeThemeRecord(QDataStream& out, const QString& resourceFolder) = 0;

    // Reads the fields after the tag. themeFolder is the folder holding the
    // theme file for the panels that load media from its "res" folder, else
    // empty. The file is untrusted: strings, arrays and item counts go through
    // the reader's checked methods, colours and fonts through readThemeColor
    // and readThemeFont, media names through ThemeMedia::resourcePath; a
    // reader that is no longer ok() must stop reading.
    virtual void readThemeRecord(ThemeRecordReader& in, const QString& themeFolder) = 0;
};
