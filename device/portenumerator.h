#pragma once

#include <QList>
#include <QString>

// One serial port as the device scan sees it: the name to open it by and its
// USB identifiers (0 when the port has none).
struct SerialPortEntry
{
    QString name;
    int vendorId = 0;
    int productId = 0;

    bool operator==(const SerialPortEntry& other) const
    {
        return name == other.name && vendorId == other.vendorId && productId == other.productId;
    }
};

// Lists the serial ports present right now. The scan asks once per period;
// tests replace the system's list with their own.
class PortEnumerator
{
public:
    virtual ~PortEnumerator() = default;
    virtual QList<SerialPortEntry> availablePorts() = 0;
};
