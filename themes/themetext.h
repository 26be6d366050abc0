#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <vector>

// Themes as text: a theme file and a JSON document that says the same, field
// by field, in both directions. The record layouts are described once, in a
// table of record kinds (themetextkinds.cpp); the conversion walks that table,
// so a new record kind is one more table entry. Everything here is GUI-free:
// colours and fonts are decoded from their stored bytes, not through the
// toolkit's painting classes.
//
// JSON -> theme -> JSON gives the same document; a record this build cannot
// describe, or one whose bytes do not follow its kind, is kept whole as
// {"tag": n, "raw": base64}.
namespace ThemeText {

enum class FieldKind
{
    Bool,
    Int32,
    Double,
    String,
    PointF,
    RectF,
    Size,
    Color,
    Font,
    Bytes, // a byte array, base64 in JSON
    Block, // a byte array holding a stream of fields; an object in JSON (base64 when it does not parse)
    Group, // nested fields, an object in JSON
    List,  // a 32-bit count, then that many groups; an array in JSON
};

struct Field
{
    const char* key;
    FieldKind kind;
    std::vector<Field> fields = {}; // Group, List and Block
    int maxCount = 0;               // List: most items accepted from JSON
};

struct RecordKind
{
    qint32 tag;
    const char* name;
    std::vector<Field> fields;
};

// The record kinds this build knows, in the order a save writes them.
const std::vector<RecordKind>& recordKinds();
const RecordKind* recordKind(qint32 tag);
const RecordKind* recordKind(const QString& name);

// A theme file (its bytes) as a JSON document: {"format", "version",
// "records": [...]}; the caller adds "name" and "media". False with a
// message when the file is not a sequence of records.
bool themeToJson(const QByteArray& theme, QJsonObject& document, QString& error);

// A JSON document as theme file bytes; false with a message that names the
// offending field ("records[2].items[0].font.pointSize: ...").
bool jsonToTheme(const QJsonObject& document, QByteArray& theme, QString& error);

// The media files a document lists ("media"), checked to be plain file names.
bool mediaOf(const QJsonObject& document, QStringList& media, QString& error);

// The theme name a document gives ("name"), or fallback; false when it is
// not usable as a folder name.
bool nameOf(const QJsonObject& document, const QString& fallback, QString& name, QString& error);

// Writes document as the theme folder outdir + "/theme_" + name with the
// theme file and the media, copied from mediaFolder into "res". Returns the
// theme file's path, or an empty string with a message.
QString buildThemeFolder(const QJsonObject& document, const QString& name, const QString& mediaFolder,
                         const QString& outdir, QString& error);

// Reads a theme file and its "res" folder back into a document with "name"
// and "media".
bool readThemeFolder(const QString& themeFile, QJsonObject& document, QString& error);

} // namespace ThemeText
