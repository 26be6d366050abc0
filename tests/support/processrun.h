#pragma once

#include <QHash>
#include <QProcess>
#include <QString>
#include <QStringList>

// A command-line tool run to its end, with what it printed.
struct ProcessRun
{
    int exitCode = -1; // also when it crashed or did not end in time
    QString out;
    QString err;

    // env overrides the test's own environment; a null value removes a variable.
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
        ProcessRun run;
        if (!process.waitForFinished(timeoutMs)) {
            process.kill();
            process.waitForFinished();
            run.err = program + QStringLiteral(" did not finish");
            return run;
        }
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }
};
