#pragma once

#include <QStringList>

#include <vector>

// One panelcast-ctl subcommand. Each lives in its own ctl_<name>.cpp and
// registers itself with a static CtlRegistration, so adding one touches no
// other file but CMakeLists.txt.
struct CtlCommand
{
    const char* name;
    const char* summary;
    // Arguments after the subcommand's name; returns the exit code.
    int (*run)(const QStringList& arguments);
    // Runs with a widget application on the offscreen platform (scenes, panels).
    bool widgets = false;
};

class CtlRegistry
{
public:
    static void add(const CtlCommand& command);
    static const std::vector<CtlCommand>& commands();
    static const CtlCommand* find(const QString& name);
};

// Prints "panelcast-ctl <command>: <message>" as one line on stderr and
// returns `exitCode`: 2 for a wrong command line, 1 for anything else.
int ctlFail(const char* command, const QString& message, int exitCode = 1);

struct CtlRegistration
{
    explicit CtlRegistration(const CtlCommand& command) { CtlRegistry::add(command); }
};
