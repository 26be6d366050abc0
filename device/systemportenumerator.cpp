#include "systemportenumerator.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSerialPortInfo>

namespace {

Q_LOGGING_CATEGORY(lcPorts, "panelcast.device.ports")

constexpr int kMaxUsbId = 0xFFFF;

// A USB id of one to four hex digits, with or without a 0x prefix; -1 when
// the text is anything else.
int parseUsbId(QString text)
{
    text = text.trimmed();
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        text = text.mid(2);
    }
    if (text.isEmpty() || text.size() > 4) {
        return -1;
    }
    bool ok = false;
    const int value = text.toInt(&ok, 16);
    return ok && value >= 0 && value <= kMaxUsbId ? value : -1;
}

} // namespace

QList<SerialPortEntry> SystemPortEnumerator::parseVirtualPorts(const QString& text, QStringList* rejected)
{
    QList<SerialPortEntry> entries;
    const QStringList parts = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const QString entry = part.trimmed();
        if (entry.isEmpty()) {
            continue;
        }
        // The ids never contain '=', a path might.
        const int equals = entry.lastIndexOf(QLatin1Char('='));
        const QString path = equals > 0 ? entry.left(equals).trimmed() : QString();
        const QStringList ids = equals > 0 ? entry.mid(equals + 1).split(QLatin1Char(':')) : QStringList();
        const int vid = ids.size() == 2 ? parseUsbId(ids.at(0)) : -1;
        const int pid = ids.size() == 2 ? parseUsbId(ids.at(1)) : -1;
        if (path.isEmpty() || !QDir::isAbsolutePath(path) || vid < 0 || pid < 0) {
            if (rejected) {
                rejected->append(entry);
            }
            continue;
        }
        entries.append({QDir::cleanPath(path), vid, pid});
    }
    return entries;
}

QList<SerialPortEntry> SystemPortEnumerator::availablePorts()
{
    QList<SerialPortEntry> ports;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos) {
        ports.append({info.portName(), info.hasVendorIdentifier() ? int(info.vendorIdentifier()) : 0,
                      info.hasProductIdentifier() ? int(info.productIdentifier()) : 0});
    }

    QStringList rejected;
    const QList<SerialPortEntry> virtualPorts =
        parseVirtualPorts(qEnvironmentVariable(kVirtualPortsVariable), &rejected);
    for (const QString& entry : qAsConst(rejected)) {
        if (!m_warned.contains(entry)) {
            m_warned.insert(entry);
            qCWarning(lcPorts) << "SystemPortEnumerator: skipping malformed virtual port entry" << entry
                               << "(expected PATH=VID:PID with an absolute path and hexadecimal ids)";
        }
    }
    for (const SerialPortEntry& port : virtualPorts) {
        if (QFileInfo::exists(port.name)) {
            ports.append(port);
        }
    }
    return ports;
}
