#pragma once

#include "ctlport.h"
#include "transport.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <functional>

// One display device opened for a command: a Transport on the port, the
// search answered. Control packets a command sends on its own are written
// straight to the serial adapter, so they need no picture to travel with.
class CtlDevice
{
public:
    static constexpr int kSearchTimeoutMs = 2000;
    static constexpr int kVersionTimeoutMs = 2000;
    static constexpr int kDrainTimeoutMs = 5000;

    CtlDevice() = default;
    ~CtlDevice();

    CtlDevice(const CtlDevice&) = delete;
    CtlDevice& operator=(const CtlDevice&) = delete;

    // Opens the port and waits for the answer to the search. False with a
    // one-line reason when the port cannot be opened or stays silent.
    bool open(const CtlPort& port, QString* error);
    // The same for a port named on the command line (CtlPort::resolve);
    // seven-segment panels are refused, they answer no search.
    bool open(const QString& given, QString* error);

    const CtlPort& port() const { return m_port; }
    Transport& transport() { return m_transport; }
    QSize panelSize() const;
    QSize encoderSize() const;

    // Asks for the version text and waits for it.
    bool queryVersion(QString* version, QString* error);

    // Writes one packet through the serial adapter.
    void write(const QByteArray& packet);

    // Stops the transport thread, if it runs, and waits until everything
    // written has left for the device.
    bool finish();

    // Runs the event loop until `done` returns true or `timeoutMs` has
    // passed (negative: no limit). Returns done().
    static bool waitUntil(const std::function<bool()>& done, int timeoutMs);

private:
    CtlPort m_port;
    Transport m_transport;
};
