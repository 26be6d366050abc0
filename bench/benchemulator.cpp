#include "benchemulator.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

#include <csignal>

BenchEmulator::~BenchEmulator()
{
    stop();
}

QString BenchEmulator::link() const
{
    return m_dir.filePath(QStringLiteral("ttyEMU"));
}

bool BenchEmulator::start(const QString& emulator, const QSize& size)
{
    const QString out = m_dir.filePath(QStringLiteral("out"));
    m_log.setFileName(QDir(out).filePath(QStringLiteral("packets.jsonl")));
    m_process.start(emulator, {"--link", link(), "--out", out, "--usb", "1F3A:0007", "--size",
                               QStringLiteral("%1x%2").arg(size.width()).arg(size.height())});
    return waitFor([this] {
        while (m_process.canReadLine()) {
            if (m_process.readLine().startsWith("PANELCAST_VIRTUAL_PORTS=")) {
                return true;
            }
        }
        m_process.waitForReadyRead(10);
        return false;
    });
}

void BenchEmulator::stop()
{
    if (m_process.state() != QProcess::NotRunning) {
        ::kill(pid_t(m_process.processId()), SIGTERM);
        if (!m_process.waitForFinished(kTimeoutMs)) {
            m_process.kill();
            m_process.waitForFinished(kTimeoutMs);
        }
    }
}

int BenchEmulator::decodedFrames()
{
    if (!m_log.isOpen() && !m_log.open(QIODevice::ReadOnly)) {
        return m_frames;
    }
    m_pending += m_log.readAll();
    int end = 0;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        if (m_pending.left(end).contains("\"frame\":")) {
            ++m_frames;
        }
        m_pending.remove(0, end + 1);
    }
    return m_frames;
}

bool BenchEmulator::waitFor(const std::function<bool()>& done)
{
    QDeadlineTimer deadline(kTimeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QThread::usleep(100);
    }
    return true;
}
