#include "emuprocess.h"

#include <QDeadlineTimer>

namespace {

// The ready line reads as a shell assignment of the virtual port variable.
const QString kReadyPrefix = QStringLiteral("PANELCAST_VIRTUAL_PORTS=");

} // namespace

EmuProcess::~EmuProcess()
{
    stop();
}

bool EmuProcess::start(const QStringList& arguments, int timeoutMs)
{
    const QString program = qEnvironmentVariable("PANELCAST_EMU");
    if (program.isEmpty()) {
        m_error = QStringLiteral("PANELCAST_EMU is not set");
        return false;
    }
    m_process.setProgram(program);
    m_process.setArguments(arguments);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start();
    if (!m_process.waitForStarted(timeoutMs)) {
        m_error = QStringLiteral("cannot start %1: %2").arg(program, m_process.errorString());
        return false;
    }

    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        while (m_process.canReadLine()) {
            const QString line = QString::fromLocal8Bit(m_process.readLine()).trimmed();
            if (line.startsWith(kReadyPrefix)) {
                m_entry = line.mid(kReadyPrefix.size());
                return true;
            }
        }
        if (m_process.state() == QProcess::NotRunning) {
            m_error = QStringLiteral("emulator exited early: %1")
                          .arg(QString::fromLocal8Bit(m_process.readAllStandardError()));
            return false;
        }
        m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
    m_error = QStringLiteral("emulator did not report ready");
    return false;
}

void EmuProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning) {
        return;
    }
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}
