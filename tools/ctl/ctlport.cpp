#include "ctlport.h"

#include "devicemodels.h"
#include "devicescanner.h"

#include <QFileInfo>
#include <QSerialPort>

namespace {

const QString kDevPrefix = QStringLiteral("/dev/");

bool samePort(const QString& entry, const QString& given)
{
    if (entry == given) {
        return true;
    }
    if (!entry.contains(QLatin1Char('/'))) {
        return given == kDevPrefix + entry;
    }
    // Virtual ports are paths: compare them resolved, so "./link" and
    // "/tmp/dir/link" name the same port.
    return QFileInfo(entry).absoluteFilePath() == QFileInfo(given).absoluteFilePath();
}

} // namespace

bool CtlPort::resolve(const QString& given, CtlPort* port, QString* error)
{
    if (given.isEmpty()) {
        *error = QStringLiteral("no port given");
        return false;
    }
    DeviceScanner scanner;
    scanner.scan();
    for (const SerialPortEntry& entry : scanner.knownPorts()) {
        if (samePort(entry.name, given)) {
            port->name = entry.name;
            port->vendorId = entry.vendorId;
            port->productId = entry.productId;
            port->known = true;
            return true;
        }
    }
    // A path outside the scan (an emulator's link, a port whose USB pair the
    // scan cannot read) is the user's explicit choice.
    if (given.contains(QLatin1Char('/')) && QFileInfo::exists(given)) {
        port->name = given;
        port->vendorId = 0;
        port->productId = 0;
        port->known = false;
        return true;
    }
    if (!given.contains(QLatin1Char('/')) && QFileInfo::exists(kDevPrefix + given)) {
        *error = QStringLiteral("unknown port '%1': not a known device (give its path, %2, to use it anyway)")
                     .arg(given, kDevPrefix + given);
    } else {
        *error =
            QStringLiteral("unknown port '%1' ('panelcast-ctl list' shows the known devices)").arg(given);
    }
    return false;
}

QString CtlPort::openFailure(const QString& name)
{
    QSerialPort probe;
    probe.setPortName(name);
    if (probe.open(QIODevice::ReadWrite)) {
        probe.close();
        return QStringLiteral("cannot open %1").arg(name);
    }
    const QFileInfo info(name.contains(QLatin1Char('/')) ? name : kDevPrefix + name);
    switch (probe.error()) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("port %1 does not exist").arg(name);
    case QSerialPort::PermissionError:
        // A port locked or held exclusively by another program comes back
        // as a permission error too.
        if (info.isReadable() && info.isWritable()) {
            return QStringLiteral("port busy: %1 is in use by another program").arg(name);
        }
        return QStringLiteral("no permission to open %1").arg(name);
    default:
        return QStringLiteral("cannot open %1: %2").arg(name, probe.errorString());
    }
}

QString CtlPort::usbPair() const
{
    return QStringLiteral("%1:%2")
        .arg(vendorId, 4, 16, QLatin1Char('0'))
        .arg(productId, 4, 16, QLatin1Char('0'))
        .toUpper();
}

bool CtlPort::isDigital() const
{
    return DeviceModels::isDigital(vendorId, productId);
}
