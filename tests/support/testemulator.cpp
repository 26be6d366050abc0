#include "testemulator.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QtTest>

bool TestEmulator::start(const QString& size, const QString& usb, const QStringList& extra)
{
    QStringList arguments{QStringLiteral("--usb"), usb};
    if (!size.isEmpty()) {
        arguments << QStringLiteral("--size") << size;
    }
    return start(arguments + extra);
}

bool TestEmulator::start(const QStringList& options)
{
    return m_process.start(QStringList{QStringLiteral("--link"), link(), QStringLiteral("--out"), outDir()} +
                           options);
}

QList<QJsonObject> TestEmulator::log() const
{
    return readLog(outDir());
}

QList<QJsonObject> TestEmulator::readLog(const QString& dir)
{
    QList<QJsonObject> entries;
    QFile file(QDir(dir).filePath(QStringLiteral("packets.jsonl")));
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : file.readAll().split('\n')) {
            QJsonParseError error{};
            const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
            if (error.error == QJsonParseError::NoError && doc.isObject()) {
                entries << doc.object();
            } else if (!line.trimmed().isEmpty()) {
                entries << QJsonObject{{QStringLiteral("unparsable"), QString::fromUtf8(line)}};
            }
        }
    }
    return entries;
}

QStringList TestEmulator::commands() const
{
    QStringList codes;
    for (const QJsonObject& entry : log()) {
        codes << entry.value(QStringLiteral("cmd")).toString();
    }
    return codes;
}

QStringList TestEmulator::payloads(const QString& command) const
{
    QStringList found;
    for (const QJsonObject& entry : log()) {
        if (entry.value(QStringLiteral("cmd")).toString() == command) {
            found << entry.value(QStringLiteral("hex")).toString();
        }
    }
    return found;
}

int TestEmulator::decodedFrames() const
{
    int frames = 0;
    for (const QJsonObject& entry : log()) {
        frames = qMax(frames, entry.value(QStringLiteral("frame")).toInt());
    }
    return frames;
}

QByteArray TestEmulator::upload(int number) const
{
    QFile file(QDir(outDir()).filePath(QStringLiteral("upload-%1.bin").arg(number)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage TestEmulator::latestFrame() const
{
    return QImage(QDir(outDir()).filePath(QStringLiteral("latest.png")));
}

bool TestEmulator::waitForCommand(const QString& command, int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    while (!commands().contains(command)) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(20);
    }
    return true;
}

void TestEmulator::publish(const QList<const TestEmulator*>& emulators)
{
    QStringList entries;
    for (const TestEmulator* emulator : emulators) {
        entries << emulator->entry();
    }
    qputenv("PANELCAST_VIRTUAL_PORTS", entries.join(QLatin1Char(';')).toLocal8Bit());
}
