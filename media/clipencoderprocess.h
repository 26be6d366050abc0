#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

// One run of the external encoder ("ffmpeg" on the PATH): started with the
// clipping tool's arguments plus a machine-readable progress report, it
// tells how far it got and how it ended, with the encoder's last error line
// when it failed. A run can be cancelled; it is then killed and reported as
// cancelled, never as a result.
class ClipEncoderProcess : public QObject
{
    Q_OBJECT

public:
    enum class Outcome
    {
        Done,
        Failed,
        Cancelled
    };

    explicit ClipEncoderProcess(QObject* parent = nullptr, const QString& program = QStringLiteral("ffmpeg"));
    ~ClipEncoderProcess() override;

    // durationS > 0 turns the encoder's time stamps into percentages.
    void start(const QStringList& arguments, qint64 durationS);
    void cancel();
    bool isRunning() const;

    // Parses "-progress" lines ("out_time_us=...", "progress=end"); the
    // percentage 0..100 for the given duration, or -1 when the lines hold none.
    static int progressPercent(const QByteArray& lines, qint64 durationS);

signals:
    void progressChanged(int percent);
    // errorText is empty for Done: the last error line of the encoder, or
    // why it did not start.
    void finished(ClipEncoderProcess::Outcome outcome, const QString& errorText);
    // The raw end of the process, for the tool's own bookkeeping.
    void processFinished(int exitCode, QProcess::ExitStatus status);

private:
    void readProgress();
    void readErrors();
    void end(int exitCode, QProcess::ExitStatus status);

    QString m_program;
    QProcess* m_process = nullptr;
    qint64 m_durationS = 0;
    QByteArray m_pendingProgress;
    QByteArray m_pendingErrors;
    QString m_lastErrorLine;
    bool m_cancelled = false;
    bool m_ended = false;
};
