#include "ctlcommand.h"
#include "ctldevice.h"

#include "devicemodels.h"
#include "packets.h"

#include <QTextStream>

namespace {

const char* const kHelp = "usage: panelcast-ctl expansion PORT on|off\n"
                          "\n"
                          "Switches the expansion screen mode of the display at PORT. While it is on\n"
                          "the display shows no streamed frames. Only the models that have the mode\n"
                          "(33C3:0E02) accept it.\n";

int runExpansion(const QStringList& arguments)
{
    QTextStream out(stdout);
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        out << kHelp;
        return 0;
    }
    if (arguments.size() != 2) {
        return ctlFail("expansion", QStringLiteral("expected PORT and on|off (see --help)"), 2);
    }
    const QString state = arguments.at(1);
    if (state != QLatin1String("on") && state != QLatin1String("off")) {
        return ctlFail("expansion", QStringLiteral("expected on or off, not '%1'").arg(state), 2);
    }
    CtlDevice device;
    QString error;
    if (!device.open(arguments.first(), &error)) {
        return ctlFail("expansion", error);
    }
    const CtlPort& port = device.port();
    if (!DeviceModels::switchesExpansionMode(port.vendorId, port.productId)) {
        return ctlFail("expansion",
                       QStringLiteral("the display at %1 (%2) has no expansion screen mode")
                           .arg(port.name, port.known ? port.usbPair() : QStringLiteral("unknown model")));
    }
    device.write(Packets::expansionMode(state == QLatin1String("on")));
    if (!device.finish()) {
        return ctlFail("expansion", QStringLiteral("could not write to %1").arg(port.name));
    }
    return 0;
}

const CtlRegistration kExpansion({"expansion", "switch a display's expansion screen mode (on|off)",
                                  &runExpansion});

} // namespace
