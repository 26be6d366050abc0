#include "devicescanner.h"

#include "devicemodels.h"
#include "systemportenumerator.h"

#include <QSet>

namespace {

QSet<QString> namesOf(const QList<SerialPortEntry>& entries)
{
    QSet<QString> names;
    for (const SerialPortEntry& entry : entries) {
        names.insert(entry.name);
    }
    return names;
}

} // namespace

DeviceScanner::DeviceScanner(QObject* parent)
    : DeviceScanner(std::make_unique<SystemPortEnumerator>(), parent)
{
}

DeviceScanner::DeviceScanner(std::unique_ptr<PortEnumerator> enumerator, QObject* parent)
    : QObject(parent), m_enumerator(std::move(enumerator))
{
    if (!m_enumerator) {
        m_enumerator = std::make_unique<SystemPortEnumerator>();
    }
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &DeviceScanner::scan);
}

DeviceScanner::~DeviceScanner() = default;

void DeviceScanner::start()
{
    m_timer.start();
}

void DeviceScanner::stop()
{
    m_timer.stop();
}

bool DeviceScanner::isActive() const
{
    return m_timer.isActive();
}

bool DeviceScanner::isKnownPair(int vendorId, int productId)
{
    return DeviceModels::isKnown(vendorId, productId);
}

void DeviceScanner::scan()
{
    QList<SerialPortEntry> current;
    const QList<SerialPortEntry> ports = m_enumerator->availablePorts();
    for (const SerialPortEntry& port : ports) {
        if (isKnownPair(port.vendorId, port.productId)) {
            current.append(port);
        }
    }

    const QSet<QString> previousNames = namesOf(m_previous);
    const QSet<QString> currentNames = namesOf(current);
    QList<SerialPortEntry> added;
    for (const SerialPortEntry& entry : qAsConst(current)) {
        if (!previousNames.contains(entry.name)) {
            added.append(entry);
        }
    }
    QList<SerialPortEntry> removed;
    for (const SerialPortEntry& entry : qAsConst(m_previous)) {
        if (!currentNames.contains(entry.name)) {
            removed.append(entry);
        }
    }

    // Replaced before anyone hears of the change, so a receiver that scans
    // again from its slot sees a consistent state.
    m_previous = current;
    for (const SerialPortEntry& entry : qAsConst(added)) {
        emit deviceInserted(entry.name, entry.vendorId, entry.productId);
    }
    for (const SerialPortEntry& entry : qAsConst(removed)) {
        emit deviceRemoved(entry.name, entry.vendorId, entry.productId);
    }
}
