#include "linklatencybench.h"

#include "framepipelinebench.h"
#include "transport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <functional>
#include <vector>

namespace {

constexpr int kTimeoutMs = 5000;

// Follows packets.jsonl as the emulator appends to it.
class LogFollower
{
public:
    explicit LogFollower(const QString& path) : m_file(path) {}

    // Number of decoded frames seen so far.
    int frames()
    {
        if (!m_file.isOpen() && !m_file.open(QIODevice::ReadOnly)) {
            return m_frames;
        }
        m_pending += m_file.readAll();
        int end = 0;
        while ((end = m_pending.indexOf('\n')) >= 0) {
            if (m_pending.left(end).contains("\"frame\":")) {
                ++m_frames;
            }
            m_pending.remove(0, end + 1);
        }
        return m_frames;
    }

private:
    QFile m_file;
    QByteArray m_pending;
    int m_frames = 0;
};

bool waitFor(const std::function<bool()>& done)
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

void stopEmulator(QProcess& process)
{
    if (process.state() != QProcess::NotRunning) {
        ::kill(pid_t(process.processId()), SIGTERM);
        if (!process.waitForFinished(kTimeoutMs)) {
            process.kill();
            process.waitForFinished(kTimeoutMs);
        }
    }
}

} // namespace

LinkLatencyBench::Row LinkLatencyBench::measure(const QString& emulator, const QSize& size, int frames)
{
    Row row;
    row.size = size;
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyEMU"));
    const QString out = dir.filePath(QStringLiteral("out"));
    QProcess process;
    process.start(emulator, {"--link", link, "--out", out, "--usb", "1F3A:0007", "--size",
                             QStringLiteral("%1x%2").arg(size.width()).arg(size.height())});
    if (!waitFor([&process] {
            while (process.canReadLine()) {
                if (process.readLine().startsWith("PANELCAST_VIRTUAL_PORTS=")) {
                    return true;
                }
            }
            process.waitForReadyRead(10);
            return false;
        })) {
        row.error = QStringLiteral("emulator did not start");
        stopEmulator(process);
        return row;
    }

    {
        Transport transport;
        bool found = false;
        QObject::connect(&transport, &Transport::searchDeviceFinish, [&found] { found = true; });
        transport.openDevice(link, 0x1F3A, 0x0007);
        if (!waitFor([&found] { return found; })) {
            row.error = QStringLiteral("no answer to the search");
            stopEmulator(process);
            return row;
        }
        transport.setDeviceSize(size.width(), size.height());
        transport.start();

        const QSize encoderSize = DeviceModels::encoderLayout(size, 0x1F3A, 0x0007).encoderSize;
        std::vector<QImage> pictures;
        for (int i = 0; i < 30; ++i) {
            pictures.push_back(FramePipelineBench::themeFrame(encoderSize, i));
        }

        LogFollower log(QDir(out).filePath(QStringLiteral("packets.jsonl")));
        std::vector<double> latencies;
        QElapsedTimer timer;
        for (int i = 0; i < frames; ++i) {
            const int before = log.frames();
            timer.start();
            transport.send(pictures[size_t(i) % pictures.size()]);
            if (!waitFor([&] { return log.frames() > before; })) {
                if (process.state() == QProcess::NotRunning) {
                    row.error = QStringLiteral("emulator %1 at frame %2")
                                    .arg(process.exitStatus() == QProcess::CrashExit ? "crashed" : "exited")
                                    .arg(i);
                } else if (!transport.isOpen()) {
                    row.error = QStringLiteral("port closed after a serial error at frame %1").arg(i);
                } else {
                    row.error = QStringLiteral("frame %1 never decoded").arg(i);
                }
                break;
            }
            latencies.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        transport.requestInterruption();
        transport.quit();
        transport.wait();

        std::sort(latencies.begin(), latencies.end());
        row.frames = int(latencies.size());
        if (!latencies.empty()) {
            row.medianMs = latencies[latencies.size() / 2];
            row.p95Ms =
                latencies[std::min(latencies.size() - 1, size_t(0.95 * double(latencies.size() - 1) + 0.5))];
        }
    }
    stopEmulator(process);
    return row;
}

QString LinkLatencyBench::table(const QList<Row>& rows)
{
    QString text = QStringLiteral(
        "| Panel | Frames | send -> decoded median ms | p95 ms | Note |\n|---|---:|---:|---:|---|\n");
    for (const Row& row : rows) {
        text += QStringLiteral("| %1x%2 | %3 | %4 | %5 | %6 |\n")
                    .arg(row.size.width())
                    .arg(row.size.height())
                    .arg(row.frames)
                    .arg(row.frames > 0 ? QString::number(row.medianMs, 'f', 2) : QString())
                    .arg(row.frames > 0 ? QString::number(row.p95Ms, 'f', 2) : QString())
                    .arg(row.error);
    }
    return text;
}
