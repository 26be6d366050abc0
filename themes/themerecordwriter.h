#pragma once

#include <QByteArray>
#include <QDataStream>

// Builds one theme record: a 32-bit length (least significant byte first,
// counting itself), then a big-endian QDataStream body that starts with the tag.
// The stream's version and byte order are fixed here, never taken from the
// toolkit's defaults, so a toolkit upgrade cannot change the file format.
class ThemeRecordWriter
{
public:
    explicit ThemeRecordWriter(qint32 tag);
    ThemeRecordWriter(const ThemeRecordWriter&) = delete;
    ThemeRecordWriter& operator=(const ThemeRecordWriter&) = delete;

    // The panel writes its fields after the tag through this stream.
    QDataStream& stream() { return m_stream; }

    // Patches the length and returns the whole record.
    QByteArray finish();

private:
    QByteArray m_bytes;
    QDataStream m_stream;
};

// The stream settings every theme record is written and read with.
void setThemeStreamFormat(QDataStream& stream);
