#include "clipencoderprocess.h"

#include "medialog.h"

#include <algorithm>

ClipEncoderProcess::ClipEncoderProcess(QObject* parent, const QString& program)
    : QObject(parent), m_program(program)
{
}

ClipEncoderProcess::~ClipEncoderProcess()
{
    if (m_process != nullptr && m_process->state() != QProcess::NotRunning) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(3000);
    }
}

bool ClipEncoderProcess::isRunning() const
{
    return m_process != nullptr && m_process->state() != QProcess::NotRunning;
}

int ClipEncoderProcess::progressPercent(const QByteArray& lines, qint64 durationS)
{
    int percent = -1;
    for (const QByteArray& line : lines.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed == "progress=end") {
            percent = 100;
        } else if (trimmed.startsWith("out_time_us=") && durationS > 0) {
            bool ok = false;
            const qint64 micros = trimmed.mid(12).toLongLong(&ok);
            if (ok && micros >= 0) {
                percent = int(std::min<qint64>(100, micros / 10000 / durationS));
            }
        }
    }
    return percent;
}

void ClipEncoderProcess::start(const QStringList& arguments, qint64 durationS)
{
    m_durationS = durationS;
    m_cancelled = false;
    m_ended = false;
    m_lastErrorLine.clear();
    m_pendingProgress.clear();
    m_pendingErrors.clear();
    if (m_process != nullptr) {
        m_process->deleteLater();
    }
    // A new process object per run.
    m_process = new QProcess(this);
    connect(m_process, &QProcess::readyReadStandardOutput, this, &ClipEncoderProcess::readProgress);
    connect(m_process, &QProcess::readyReadStandardError, this, &ClipEncoderProcess::readErrors);
    connect(m_process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this,
            &ClipEncoderProcess::end);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            m_lastErrorLine =
                tr("The encoder \"%1\" could not be started: %2").arg(m_program, m_process->errorString());
            end(-1, QProcess::CrashExit);
        }
    });
    // Progress as key=value lines on standard output; no statistics and no
    // questions on the terminal.
    const QStringList full = QStringList{QStringLiteral("-nostdin"), QStringLiteral("-nostats"),
                                         QStringLiteral("-progress"), QStringLiteral("pipe:1")} +
                             arguments;
    m_process->start(m_program, full, QIODevice::ReadWrite);
}

void ClipEncoderProcess::cancel()
{
    if (!isRunning()) {
        return;
    }
    m_cancelled = true;
    m_process->kill();
}

void ClipEncoderProcess::readProgress()
{
    m_pendingProgress += m_process->readAllStandardOutput();
    const int lastBreak = m_pendingProgress.lastIndexOf('\n');
    if (lastBreak < 0) {
        return;
    }
    const int percent = progressPercent(m_pendingProgress.left(lastBreak), m_durationS);
    m_pendingProgress.remove(0, lastBreak + 1);
    if (percent >= 0) {
        emit progressChanged(percent);
    }
}

void ClipEncoderProcess::readErrors()
{
    m_pendingErrors += m_process->readAllStandardError();
    const QList<QByteArray> lines = m_pendingErrors.split('\n');
    for (int i = 0; i + 1 < lines.size(); ++i) {
        const QString line = QString::fromLocal8Bit(lines[i]).trimmed();
        if (!line.isEmpty()) {
            m_lastErrorLine = line;
        }
    }
    m_pendingErrors = lines.last();
}

void ClipEncoderProcess::end(int exitCode, QProcess::ExitStatus status)
{
    if (m_ended) {
        return;
    }
    m_ended = true;
    if (m_process->state() == QProcess::NotRunning && m_process->error() != QProcess::FailedToStart) {
        readProgress();
        m_pendingErrors += m_process->readAllStandardError() + '\n';
        readErrors();
    }
    emit processFinished(exitCode, status);
    if (m_cancelled) {
        emit finished(Outcome::Cancelled, QString());
    } else if (status == QProcess::NormalExit && exitCode == 0) {
        emit finished(Outcome::Done, QString());
    } else {
        QString error = m_lastErrorLine;
        if (error.isEmpty()) {
            error = status == QProcess::CrashExit ? m_process->errorString()
                                                  : tr("The encoder ended with code %1.").arg(exitCode);
        }
        qCWarning(lcMedia).noquote() << "ClipEncoderProcess: encoder failed:" << error;
        emit finished(Outcome::Failed, error);
    }
}
