#include "ctlcommand.h"
#include "ctldevice.h"

#include "packets.h"

#include <QTextStream>

namespace {

const char* const kHelp = "usage: panelcast-ctl brightness PORT PERCENT\n"
                          "\n"
                          "Sets the backlight of the display at PORT, PERCENT from 0 to 100.\n";

int runBrightness(const QStringList& arguments)
{
    QTextStream out(stdout);
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        out << kHelp;
        return 0;
    }
    if (arguments.size() != 2) {
        return ctlFail("brightness", QStringLiteral("expected PORT and PERCENT (see --help)"), 2);
    }
    bool number = false;
    const int percent = arguments.at(1).toInt(&number);
    const int value = number ? Packets::brightnessFromPercent(percent) : -1;
    if (value < 0) {
        return ctlFail(
            "brightness",
            QStringLiteral("brightness '%1' is not a percentage from 0 to 100").arg(arguments.at(1)), 2);
    }
    CtlDevice device;
    QString error;
    if (!device.open(arguments.first(), &error)) {
        return ctlFail("brightness", error);
    }
    device.write(Packets::brightness(uint8_t(value)));
    if (!device.finish()) {
        return ctlFail("brightness", QStringLiteral("could not write to %1").arg(device.port().name));
    }
    return 0;
}

const CtlRegistration kBrightness({"brightness", "set a display's brightness (0 to 100 percent)",
                                   &runBrightness});

} // namespace
