#include "ctlcommand.h"

#include "controlchannel.h"

#include <QJsonArray>
#include <QTextStream>

namespace {

const char* const kHelp = "usage: panelcast-ctl status\n"
                          "\n"
                          "Shows the running Panelcast processes of this user (the window and the\n"
                          "headless service) and, for each device one of them drives: port, family,\n"
                          "USB pair, panel size, state, buffers written in the last second (frames\n"
                          "of a display, effect packets of a seven-segment panel), theme and the last\n"
                          "port error. While the window runs, the service stands by.\n";

void printProcess(QTextStream& out, const QJsonObject& status)
{
    const QJsonArray devices = status.value(QStringLiteral("devices")).toArray();
    out << status.value(QStringLiteral("mode")).toString() << " (pid "
        << status.value(QStringLiteral("pid")).toInt()
        << "): " << status.value(QStringLiteral("state")).toString() << ", " << devices.size()
        << (devices.size() == 1 ? " device" : " devices") << '\n';
    for (const QJsonValue& value : devices) {
        const QJsonObject device = value.toObject();
        out << "  " << device.value(QStringLiteral("port")).toString() << '\t'
            << device.value(QStringLiteral("family")).toString();
        for (const char* key : {"usb", "size"}) {
            const QString text = device.value(QLatin1String(key)).toString();
            if (!text.isEmpty()) {
                out << '\t' << text;
            }
        }
        out << '\t' << device.value(QStringLiteral("state")).toString() << '\t'
            << device.value(QStringLiteral("fps")).toInt() << " fps";
        const QString theme = device.value(QStringLiteral("theme")).toString();
        if (!theme.isEmpty()) {
            out << "\ttheme: " << theme;
        }
        const QString error = device.value(QStringLiteral("lastError")).toString();
        out << "\tlast error: " << (error.isEmpty() ? QStringLiteral("none") : error) << '\n';
    }
}

int runStatus(const QStringList& arguments)
{
    QTextStream out(stdout);
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        out << kHelp;
        return 0;
    }
    if (!arguments.isEmpty()) {
        return ctlFail("status", QStringLiteral("unexpected argument '%1'").arg(arguments.first()), 2);
    }
    int running = 0;
    for (ControlChannel::Role role : {ControlChannel::Role::Window, ControlChannel::Role::Headless}) {
        QJsonObject status;
        QString error;
        if (ControlChannel::queryStatus(ControlChannel::socketPath(role), &status, &error)) {
            printProcess(out, status);
            ++running;
        }
    }
    if (running == 0) {
        out << "no panelcast process is running\n";
    }
    return 0;
}

const CtlRegistration kStatus({"status", "which panelcast process drives which device, fps, last error",
                               &runStatus});

} // namespace
