#include "themerecordwriter.h"

#include <QtEndian>

void setThemeStreamFormat(QDataStream& stream)
{
    stream.setVersion(QDataStream::Qt_5_15);
    stream.setByteOrder(QDataStream::BigEndian);
    stream.setFloatingPointPrecision(QDataStream::DoublePrecision);
}

ThemeRecordWriter::ThemeRecordWriter(qint32 tag) : m_stream(&m_bytes, QIODevice::WriteOnly)
{
    setThemeStreamFormat(m_stream);
    m_stream << qint32(0) << tag;
}

QByteArray ThemeRecordWriter::finish()
{
    const quint32 length = quint32(m_bytes.size());
    qToLittleEndian(length, m_bytes.data());
    return m_bytes;
}
