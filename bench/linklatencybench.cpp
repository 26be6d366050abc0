#include "linklatencybench.h"

#include "benchemulator.h"
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

LinkLatencyBench::Row LinkLatencyBench::measure(const QString& emulator, const QSize& size, int frames)
{
    Row row;
    row.size = size;
    BenchEmulator emulatorProcess;
    if (!emulatorProcess.start(emulator, size)) {
        row.error = QStringLiteral("emulator did not start");
        return row;
    }
    const auto waitFor = &BenchEmulator::waitFor;

    {
        Transport transport;
        bool found = false;
        QObject::connect(&transport, &Transport::searchDeviceFinish, [&found] { found = true; });
        transport.openDevice(emulatorProcess.link(), 0x1F3A, 0x0007);
        if (!waitFor([&found] { return found; })) {
            row.error = QStringLiteral("no answer to the search");
            return row;
        }
        transport.setDeviceSize(size.width(), size.height());
        transport.start();

        const QSize encoderSize = DeviceModels::encoderLayout(size, 0x1F3A, 0x0007).encoderSize;
        std::vector<QImage> pictures;
        for (int i = 0; i < 30; ++i) {
            pictures.push_back(FramePipelineBench::themeFrame(encoderSize, i));
        }

        std::vector<double> latencies;
        QElapsedTimer timer;
        for (int i = 0; i < frames; ++i) {
            const int before = emulatorProcess.decodedFrames();
            timer.start();
            transport.send(pictures[size_t(i) % pictures.size()]);
            if (!waitFor([&] { return emulatorProcess.decodedFrames() > before; })) {
                if (!emulatorProcess.isRunning()) {
                    row.error =
                        QStringLiteral("emulator %1 at frame %2")
                            .arg(emulatorProcess.exitStatus() == QProcess::CrashExit ? "crashed" : "exited")
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
