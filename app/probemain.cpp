// panelcast-probe: lists the supported devices the port scan would find right
// now, one "PORT VID:PID family" line each. Exit status 0 when at least one is
// present, 1 when none is. scripts/run-panelcast asks it whether to start a
// virtual display.
#include "devicemodels.h"
#include "systemportenumerator.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    SystemPortEnumerator enumerator;
    int found = 0;
    for (const SerialPortEntry& port : enumerator.availablePorts()) {
        const DeviceModel* model = DeviceModels::find(port.vendorId, port.productId);
        if (model == nullptr) {
            continue;
        }
        out << port.name << ' ' << QString::number(port.vendorId, 16).rightJustified(4, QLatin1Char('0'))
            << ':' << QString::number(port.productId, 16).rightJustified(4, QLatin1Char('0')) << ' '
            << (model->family == DeviceModel::Display ? "display" : "digital") << '\n';
        ++found;
    }
    return found > 0 ? 0 : 1;
}
