#include "ctlcommand.h"
#include "ctlport.h"

#include "devicemodels.h"
#include "devicescanner.h"

#include <QTextStream>

namespace {

const char* const kHelp = "usage: panelcast-ctl list\n"
                          "\n"
                          "Prints the known devices found on this machine's serial ports (and the\n"
                          "virtual ports of $PANELCAST_VIRTUAL_PORTS), one per line: port, VID:PID,\n"
                          "family (display or digital).\n";

int runList(const QStringList& arguments)
{
    QTextStream out(stdout);
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        out << kHelp;
        return 0;
    }
    if (!arguments.isEmpty()) {
        return ctlFail("list", QStringLiteral("unexpected argument '%1'").arg(arguments.first()), 2);
    }
    DeviceScanner scanner;
    scanner.scan();
    for (const SerialPortEntry& entry : scanner.knownPorts()) {
        CtlPort port;
        port.name = entry.name;
        port.vendorId = entry.vendorId;
        port.productId = entry.productId;
        out << port.name << '\t' << port.usbPair() << '\t' << (port.isDigital() ? "digital" : "display")
            << '\n';
    }
    return 0;
}

const CtlRegistration kList({"list", "list the known devices: port, VID:PID, family", &runList});

} // namespace
