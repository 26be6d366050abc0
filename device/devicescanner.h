#pragma once

#include "portenumerator.h"

#include <QObject>
#include <QTimer>

#include <memory>

// Polls the serial ports and reports the ones with a known USB pair as they
// come and go. Each scan keeps the known ports in the order they are listed,
// compares names exactly with the previous scan, and emits deviceInserted for
// every new name (in the new order), then deviceRemoved for every vanished
// name (in the previous order). The first scan reports every known port as
// inserted.
class DeviceScanner : public QObject
{
    Q_OBJECT

public:
    static constexpr int kIntervalMs = 500;

    // Scans this machine's ports (serial ports plus virtual ones).
    explicit DeviceScanner(QObject* parent = nullptr);
    explicit DeviceScanner(std::unique_ptr<PortEnumerator> enumerator, QObject* parent = nullptr);
    ~DeviceScanner() override;

    DeviceScanner(const DeviceScanner&) = delete;
    DeviceScanner& operator=(const DeviceScanner&) = delete;

    void start();
    void stop();
    bool isActive() const;

    // Known ports as of the last scan.
    QList<SerialPortEntry> knownPorts() const { return m_previous; }

    // The USB (vendor, product) pairs of the supported displays and
    // seven-segment panels.
    static bool isKnownPair(int vendorId, int productId);

signals:
    void deviceInserted(QString port, int vid, int pid);
    void deviceRemoved(QString port, int vid, int pid);

public slots:
    void scan();

private:
    std::unique_ptr<PortEnumerator> m_enumerator;
    QTimer m_timer;
    QList<SerialPortEntry> m_previous;
};
