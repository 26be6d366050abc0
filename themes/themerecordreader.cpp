#include "themerecordreader.h"

#include "themelogging.h"
#include "themerecordwriter.h"

#include <QIODevice>

namespace {
constexpr quint32 kNullLength = 0xFFFFFFFFu;
}

ThemeRecordReader::ThemeRecordReader(const QByteArray& record) : m_record(record), m_stream(m_record)
{
    setThemeStreamFormat(m_stream);
    if (m_record.size() < 8) {
        fail(QStringLiteral("record of %1 bytes holds no tag").arg(m_record.size()));
        return;
    }
    m_stream.skipRawData(4); // the length, little-endian, already checked by the file reader
    m_stream >> m_tag;
}

qint64 ThemeRecordReader::remaining() const
{
    const QIODevice* device = m_stream.device();
    return device->size() - device->pos();
}

qint64 ThemeRecordReader::position() const
{
    return m_stream.device()->pos();
}

QByteArray ThemeRecordReader::bytesFrom(qint64 offset) const
{
    const qint64 end = position();
    if (offset < 0 || offset > end)
        return QByteArray();
    return m_record.mid(int(offset), int(end - offset));
}

void ThemeRecordReader::fail(const QString& why)
{
    // Logged once: the first refusal, or a read the stream found cut short.
    if (m_stream.status() != QDataStream::ReadCorruptData)
        qCDebug(lcThemes).noquote() << "ThemeRecordReader: tag" << m_tag << "refused:" << why;
    m_stream.setStatus(QDataStream::ReadCorruptData);
}

bool ThemeRecordReader::checkStatus(const char* what)
{
    if (m_stream.status() == QDataStream::ReadPastEnd) {
        qCDebug(lcThemes).noquote() << "ThemeRecordReader: tag" << m_tag << "ends inside" << what;
        m_stream.setStatus(QDataStream::ReadCorruptData);
    }
    return ok();
}

bool ThemeRecordReader::readBool(bool& value)
{
    if (!ok())
        return false;
    m_stream >> value;
    return checkStatus("a bool");
}

bool ThemeRecordReader::readInt32(qint32& value)
{
    if (!ok())
        return false;
    m_stream >> value;
    return checkStatus("an int32");
}

bool ThemeRecordReader::readDouble(double& value)
{
    if (!ok())
        return false;
    m_stream >> value;
    return checkStatus("a double");
}

bool ThemeRecordReader::readPointF(QPointF& value)
{
    if (!ok())
        return false;
    m_stream >> value;
    return checkStatus("a point");
}

bool ThemeRecordReader::readRectF(QRectF& value)
{
    if (!ok())
        return false;
    m_stream >> value;
    return checkStatus("a rectangle");
}

bool ThemeRecordReader::readSize(QSize& value)
{
    if (!ok())
        return false;
    m_stream >> value;
    return checkStatus("a size");
}

bool ThemeRecordReader::readLength(quint32& length, const char* what)
{
    if (!ok())
        return false;
    m_stream >> length;
    if (!checkStatus(what))
        return false;
    if (length != kNullLength && qint64(length) > remaining()) {
        fail(QStringLiteral("%1 of %2 bytes with %3 bytes left").arg(what).arg(length).arg(remaining()));
        return false;
    }
    return true;
}

bool ThemeRecordReader::readString(QString& value)
{
    quint32 length = 0;
    if (!readLength(length, "a string"))
        return false;
    if (length == kNullLength) {
        value = QString();
        return true;
    }
    if (length % 2 != 0) {
        fail(QStringLiteral("a string of odd byte length %1").arg(length));
        return false;
    }
    // UTF-16, big-endian, as the toolkit's stream writes it.
    const QByteArray bytes = m_record.mid(int(m_stream.device()->pos()), int(length));
    m_stream.skipRawData(int(length));
    QString text(int(length / 2), Qt::Uninitialized);
    for (int i = 0; i < text.size(); ++i)
        text[i] = QChar(ushort((uchar(bytes[2 * i]) << 8) | uchar(bytes[2 * i + 1])));
    value = text;
    return checkStatus("a string");
}

bool ThemeRecordReader::readByteArray(QByteArray& value)
{
    quint32 length = 0;
    if (!readLength(length, "a byte array"))
        return false;
    if (length == kNullLength) {
        value = QByteArray();
        return true;
    }
    value = m_record.mid(int(m_stream.device()->pos()), int(length));
    m_stream.skipRawData(int(length));
    return checkStatus("a byte array");
}

bool ThemeRecordReader::readRaw(char* data, int length)
{
    if (!ok())
        return false;
    if (length < 0 || m_stream.readRawData(data, length) != length) {
        fail(QStringLiteral("%1 raw bytes with %2 bytes left").arg(length).arg(remaining()));
        return false;
    }
    return true;
}

bool ThemeRecordReader::readCount(qint32& count, int minItemBytes)
{
    if (!readInt32(count))
        return false;
    if (count < 0) {
        fail(QStringLiteral("negative item count %1").arg(count));
        return false;
    }
    if (qint64(count) * qMax(1, minItemBytes) > remaining()) {
        fail(QStringLiteral("%1 items of at least %2 bytes with %3 bytes left")
                 .arg(count)
                 .arg(minItemBytes)
                 .arg(remaining()));
        return false;
    }
    return true;
}
