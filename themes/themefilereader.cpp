#include "themefilereader.h"

#include "themelogging.h"

#include <QIODevice>
#include <QtEndian>

ThemeFileReader::ThemeFileReader(QIODevice* device) : m_device(device) {}

void ThemeFileReader::corrupted(const QString& detail)
{
    ++m_corrupt;
    qCDebug(lcThemes).noquote() << "data corrupted";
    qCDebug(lcThemes).noquote() << "ThemeFileReader::next:" << detail;
}

bool ThemeFileReader::next(QByteArray& record)
{
    if (m_device == nullptr || !m_device->isReadable())
        return false;
    while (!m_device->atEnd()) {
        char lengthBytes[4];
        const qint64 got = m_device->read(lengthBytes, 4);
        if (got < 4) {
            corrupted(QStringLiteral("%1 bytes left where a length was expected").arg(qMax<qint64>(got, 0)));
            return false;
        }
        const quint32 length = qFromLittleEndian<quint32>(lengthBytes);
        if (length < 4)
            continue; // skipped 4 bytes at a time
        const qint64 body = qint64(length) - 4;
        const qint64 left =
            m_device->isSequential() ? m_device->bytesAvailable() : m_device->size() - m_device->pos();
        if (body > left) {
            corrupted(
                QStringLiteral("record of %1 bytes with %2 bytes left in the file").arg(length).arg(left));
            // What is left is too short for this record; it is consumed as a short read would.
            m_device->skip(left);
            return false;
        }
        if (qint64(length) > kMaxRecordBytes) {
            corrupted(QStringLiteral("record of %1 bytes is larger than any panel writes").arg(length));
            m_device->skip(body);
            continue;
        }
        record.resize(int(length));
        memcpy(record.data(), lengthBytes, 4);
        const qint64 read = m_device->read(record.data() + 4, body);
        if (read != body) {
            corrupted(QStringLiteral("record of %1 bytes ended after %2").arg(length).arg(read + 4));
            continue;
        }
        return true;
    }
    return false;
}
