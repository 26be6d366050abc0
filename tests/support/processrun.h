#pragma once

#include <QHash>
#include <QProcess>
#include <QString>
#include <QStringList>

// A command-line tool run to its end, with what it printed.
struct ProcessRun
{
    int exitCode = -1; // also when it crashed or was stopped at the time-out
    QString out;
    QString err;

    // env overrides the test's own environment; a null value removes a variable.
    // A tool still running after timeoutMs is killed, keeping what it printed.
    static ProcessRun of(const QString& program, const QStringList& arguments,
                         const QHash<QString, QString>& env = {}, int timeoutMs = 30000)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (auto it = env.begin(); it != env.end(); ++it) {
            it.value().isNull() ? environment.remove(it.key()) : environment.insert(it.key(), it.value());
        }
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        const bool finished = process.waitForFinished(timeoutMs);
        if (!finished) {
            process.kill();
            process.waitForFinished();
        }
        ProcessRun run;
        run.exitCode = finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError()) +
                  (finished ? QString() : program + QStringLiteral(" did not finish\n"));
        return run;
    }
};
