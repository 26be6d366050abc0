#pragma once

#include <QString>

// Start at user log-on. On Linux this is the XDG autostart entry
// $XDG_CONFIG_HOME/autostart/panelcast.desktop (default ~/.config) whose Exec
// line is the executable's absolute path; on Windows the per-user Run value.
class AutoRun
{
public:
    AutoRun() = delete;

    // A process that must leave the log-on entry alone (the headless
    // service): the first-start registration is skipped there.
    static void setFirstStartRegistration(bool allowed) { s_firstStartRegistration = allowed; }
    static bool firstStartRegistration() { return s_firstStartRegistration; }

    // The running executable (QCoreApplication::applicationFilePath()).
    static QString currentExecutable();

    // Writes (on) or removes (off) the entry for the given executable.
    // Returns false when the file system or registry refused.
    static bool setRegistered(bool on, const QString& executable = currentExecutable());

    // True only when an entry exists and names exactly this executable; a
    // moved program therefore reads as not registered.
    static bool isRegistered(const QString& executable = currentExecutable());

#ifndef Q_OS_WIN
    static QString autostartFilePath();

    // Exec value quoting of desktop entries: quote when needed, escape inside
    // quotes, then the general string escape of backslashes; and back.
    static QString quoteExec(const QString& program);
    static QString unquoteExec(const QString& value);
#endif

private:
    static inline bool s_firstStartRegistration = true;
};
