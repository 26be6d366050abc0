#pragma once

#include "emuprocess.h"

#include <QImage>
#include <QJsonObject>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

// One panelcast-emu instance for the home and settings tests: a display or
// seven-segment device on a pseudo-terminal with its packet log, published
// to the application through $PANELCAST_VIRTUAL_PORTS.
class TestEmulator
{
public:
    // size "WxH", usb "VID:PID"; extra options are passed on.
    bool start(const QString& size, const QString& usb, const QStringList& extra = {});
    // Only the link and output folder are set; the options decide the rest.
    bool start(const QStringList& options);
    void stop() { m_process.stop(); }

    QString link() const { return m_dir.filePath(QStringLiteral("tty")); }
    // PATH=VID:PID as the emulator announced it.
    QString entry() const { return m_process.virtualPortEntry(); }
    QString errorText() const { return m_process.errorText(); }
    QString outDir() const { return m_dir.filePath(QStringLiteral("out")); }

    QList<QJsonObject> log() const;
    // The packet log in dir, a line that is no JSON object as {"unparsable": line}.
    static QList<QJsonObject> readLog(const QString& dir);
    QStringList commands() const;
    // Payloads (hex) of every packet with the command, e.g. "0x80".
    QStringList payloads(const QString& command) const;
    int decodedFrames() const;
    // The bytes of the n-th upload (counted from 1) as the device stored them.
    QByteArray upload(int number) const;
    // The last decoded frame the emulator saved (start it with "--png-every").
    QImage latestFrame() const;
    // Polls the log (running the event loop) until a packet with the command arrived.
    bool waitForCommand(const QString& command, int timeoutMs = 5000) const;

    // Sets $PANELCAST_VIRTUAL_PORTS to the entries of the given emulators.
    static void publish(const QList<const TestEmulator*>& emulators);

private:
    QTemporaryDir m_dir;
    EmuProcess m_process;
};
