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
};

class CtlRegistry
{
public:
    static void add(const CtlCommand& command);
    static const std::vector<CtlCommand>& commands();
    static const CtlCommand* find(const QString& name);
};

struct CtlRegistration
{
    explicit CtlRegistration(const CtlCommand& command) { CtlRegistry::add(command); }
};
