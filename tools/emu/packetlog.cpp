#include "packetlog.h"

#include <QJsonDocument>

bool PacketLog::open(const QString& path, QString* error)
{
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, m_file.errorString());
        return false;
    }
    return true;
}

void PacketLog::write(const QJsonObject& entry)
{
    if (!m_file.isOpen()) {
        return;
    }
    m_file.write(QJsonDocument(entry).toJson(QJsonDocument::Compact));
    m_file.write("\n", 1);
    m_file.flush();
}

void PacketLog::close()
{
    m_file.close();
}
