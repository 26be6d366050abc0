#pragma once

#include "portenumerator.h"

#include <QSet>
#include <QStringList>

// The ports of this machine: every port the serial port module reports,
// followed by the virtual ports named in $PANELCAST_VIRTUAL_PORTS whose path
// exists at the time of the call. A virtual entry reads PATH=VID:PID with
// hexadecimal ids, entries separated by ';' (for example
// "/tmp/pc-emu0=1f3a:0007;/tmp/pc-emu1=1a86:fe00"). It lets an emulated
// device on a pseudo-terminal be found exactly like a plugged one.
class SystemPortEnumerator : public PortEnumerator
{
public:
    static constexpr const char* kVirtualPortsVariable = "PANELCAST_VIRTUAL_PORTS";

    QList<SerialPortEntry> availablePorts() override;

    // Parses a virtual port list without looking at the file system.
    // Malformed entries are left out and, when `rejected` is given, appended
    // to it as written.
    static QList<SerialPortEntry> parseVirtualPorts(const QString& text, QStringList* rejected = nullptr);

private:
    // Malformed entries already warned about, so a bad variable does not
    // flood the log at every scan.
    QSet<QString> m_warned;
};
