#include "ctlcommand.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>

#include <algorithm>
#include <memory>

void CtlRegistry::add(const CtlCommand& command)
{
    auto& list = const_cast<std::vector<CtlCommand>&>(commands());
    list.push_back(command);
    std::sort(list.begin(), list.end(),
              [](const CtlCommand& a, const CtlCommand& b) { return qstrcmp(a.name, b.name) < 0; });
}

const std::vector<CtlCommand>& CtlRegistry::commands()
{
    static std::vector<CtlCommand> list;
    return list;
}

const CtlCommand* CtlRegistry::find(const QString& name)
{
    for (const CtlCommand& command : commands()) {
        if (name == QLatin1String(command.name)) {
            return &command;
        }
    }
    return nullptr;
}

int ctlFail(const char* command, const QString& message, int exitCode)
{
    QTextStream err(stderr);
    err << "panelcast-ctl " << command << ": " << message << '\n';
    return exitCode;
}

namespace {

void printUsage(QTextStream& out)
{
    out << "usage: panelcast-ctl <command> [options]\n\ncommands:\n";
    for (const CtlCommand& command : CtlRegistry::commands()) {
        out << "  " << QString::fromLatin1(command.name).leftJustified(16) << command.summary << '\n';
    }
    out << "\n'panelcast-ctl <command> --help' describes a command's options.\n";
}

} // namespace

int main(int argc, char** argv)
{
    // Commands that draw scenes need a widget application; they never open a
    // window, so the offscreen platform serves without a display.
    const CtlCommand* early = argc > 1 ? CtlRegistry::find(QString::fromLocal8Bit(argv[1])) : nullptr;
    std::unique_ptr<QCoreApplication> application;
    if (early != nullptr && early->widgets) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        application = std::make_unique<QApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("panelcast-ctl"));
    // The libraries' debug lines would mix with the output; QT_LOGGING_RULES
    // brings them back.
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES")) {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    }
    QStringList arguments = QCoreApplication::arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help") ||
        arguments.first() == QLatin1String("-h")) {
        printUsage(arguments.isEmpty() ? err : out);
        return arguments.isEmpty() ? 2 : 0;
    }
    const QString name = arguments.takeFirst();
    const CtlCommand* command = CtlRegistry::find(name);
    if (!command) {
        err << "panelcast-ctl: unknown command '" << name << "'\n";
        printUsage(err);
        return 2;
    }
    return command->run(arguments);
}
