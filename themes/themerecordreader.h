#pragma once

#include <QByteArray>
#include <QDataStream>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>

// Reads the fields of one theme record with bounds. Theme files are shared
// between users, so every length and count is checked against the bytes the
// record really holds before anything is allocated; the first refusal puts
// the reader into a failed state that every later read keeps.
class ThemeRecordReader
{
public:
    // record: the whole record as stored, length field included.
    explicit ThemeRecordReader(const QByteArray& record);
    ThemeRecordReader(const ThemeRecordReader&) = delete;
    ThemeRecordReader& operator=(const ThemeRecordReader&) = delete;

    // The record's tag, or 0 when the record is too short to hold one.
    qint32 tag() const { return m_tag; }

    // False after any failed or refused read.
    bool ok() const { return m_stream.status() == QDataStream::Ok; }

    // Bytes left after the fields read so far.
    qint64 remaining() const;
    // Offset of the next field in the record, and the bytes read since an offset.
    qint64 position() const;
    QByteArray bytesFrom(qint64 offset) const;

    // For toolkit types this reader has no method for (QColor, QFont): the
    // stream has the record's format and ends with the record.
    QDataStream& stream() { return m_stream; }

    bool readBool(bool& value);
    bool readInt32(qint32& value);
    bool readDouble(double& value);
    bool readPointF(QPointF& value);
    bool readRectF(QRectF& value);
    bool readSize(QSize& value);
    // A null string stays null, so a record read and written again is unchanged.
    bool readString(QString& value);
    bool readByteArray(QByteArray& value);
    // Exactly length raw bytes.
    bool readRaw(char* data, int length);
    // An item count: refused when negative or when count items of at least
    // minItemBytes each cannot fit into what is left of the record.
    bool readCount(qint32& count, int minItemBytes);

    // Marks the record corrupt and logs why (for checks made by the caller).
    void fail(const QString& why);

private:
    bool checkStatus(const char* what);
    // Reads a 32-bit byte length of a string or array and checks it.
    bool readLength(quint32& length, const char* what);

    QByteArray m_record;
    QDataStream m_stream;
    qint32 m_tag = 0;
};
