#pragma once

#include <QByteArray>

class QIODevice;

// Walks the records of a theme file: a plain sequence of records, each a
// 32-bit little-endian length counting itself followed by its body.
// A length of 0 to 3 is skipped and the next 4 bytes are read as a length;
// a record longer than what is left of the file, or longer than any panel
// writes, is refused with "data corrupted" without allocating it.
class ThemeFileReader
{
public:
    // Records above this size are refused; the largest panel record (20 items
    // with fonts and attribute blocks) stays far below it.
    static constexpr qint64 kMaxRecordBytes = 16 * 1024 * 1024;

    explicit ThemeFileReader(QIODevice* device);

    // The next whole record (length field included); false at the end.
    bool next(QByteArray& record);

    // Number of records refused so far.
    int corruptCount() const { return m_corrupt; }

private:
    void corrupted(const QString& detail);

    QIODevice* m_device;
    int m_corrupt = 0;
};
