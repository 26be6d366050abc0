#pragma once

#include <QFile>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

#include <functional>

// One panelcast-emu display on a pseudo-terminal for the benchmarks, with
// the count of frames it decoded, read from the packet log it appends to.
class BenchEmulator
{
public:
    static constexpr int kTimeoutMs = 5000;

    ~BenchEmulator();

    // Starts the emulator as a display of the size; false when it did not
    // announce its port in time.
    bool start(const QString& emulator, const QSize& size);
    void stop();
    QString link() const;
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    QProcess::ExitStatus exitStatus() const { return m_process.exitStatus(); }
    // Frames decoded so far.
    int decodedFrames();

    // Runs the event loop until done() holds; false after kTimeoutMs.
    static bool waitFor(const std::function<bool()>& done);

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QFile m_log;
    QByteArray m_pending;
    int m_frames = 0;
};
