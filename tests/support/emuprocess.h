#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Runs panelcast-emu (path in $PANELCAST_EMU) for one test and waits until it
// prints its ready line, PANELCAST_VIRTUAL_PORTS=PATH=VID:PID, which it does
// once the link is in place. Stopping it (or dropping the object) ends it with
// SIGTERM, on which it removes its link.
class EmuProcess
{
public:
    EmuProcess() = default;
    ~EmuProcess();

    EmuProcess(const EmuProcess&) = delete;
    EmuProcess& operator=(const EmuProcess&) = delete;

    // False, with errorText() set, when the emulator cannot be started or
    // does not report ready within `timeoutMs`.
    bool start(const QStringList& arguments, int timeoutMs = 10000);
    void stop();

    QString virtualPortEntry() const { return m_entry; }
    QString errorText() const { return m_error; }
    QProcess& process() { return m_process; }

private:
    QProcess m_process;
    QString m_entry;
    QString m_error;
};
