#pragma once

#include <QFile>
#include <QJsonObject>
#include <QString>

// packets.jsonl: one compact JSON object per line, flushed at once so a
// reader following the file sees every packet as it is handled.
class PacketLog
{
public:
    bool open(const QString& path, QString* error);
    bool isOpen() const { return m_file.isOpen(); }
    void write(const QJsonObject& entry);
    void close();

private:
    QFile m_file;
};
