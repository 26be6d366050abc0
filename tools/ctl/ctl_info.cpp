#include "ctlcommand.h"
#include "ctldevice.h"

#include <QTextStream>

namespace {

const char* const kHelp = "usage: panelcast-ctl info PORT\n"
                          "\n"
                          "Identifies the display at PORT and prints its panel size, expansion screen\n"
                          "mode, encoder size and firmware version, one per line.\n";

int runInfo(const QStringList& arguments)
{
    QTextStream out(stdout);
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        out << kHelp;
        return 0;
    }
    if (arguments.size() != 1) {
        return ctlFail("info", QStringLiteral("expected PORT (see --help)"), 2);
    }
    CtlDevice device;
    QString error;
    if (!device.open(arguments.first(), &error)) {
        return ctlFail("info", error);
    }
    const QSize panel = device.panelSize();
    const QSize encoder = device.encoderSize();
    out << "size: " << panel.width() << 'x' << panel.height() << '\n';
    out << "mode: " << device.transport().expansionMode() << '\n';
    out << "encoder: " << encoder.width() << 'x' << encoder.height() << '\n';
    out.flush();
    QString version;
    if (!device.queryVersion(&version, &error)) {
        return ctlFail("info", error);
    }
    out << "version: " << version << '\n';
    return 0;
}

const CtlRegistration kInfo({"info", "identify a display: size, mode, encoder size, version", &runInfo});

} // namespace
