#include "ctldevice.h"

#include "devicemodels.h"
#include "packets.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QSerialPort>
#include <QTimer>

namespace {

constexpr int kPollMs = 5;

} // namespace

CtlDevice::~CtlDevice()
{
    finish();
}

bool CtlDevice::waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    const QDeadlineTimer deadline =
        timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QEventLoop loop;
        QTimer::singleShot(kPollMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

bool CtlDevice::open(const CtlPort& port, QString* error)
{
    m_port = port;
    bool answered = false;
    const QMetaObject::Connection connection =
        QObject::connect(&m_transport, &Transport::searchDeviceFinish, [&answered] { answered = true; });
    m_transport.openDevice(port.name, port.vendorId, port.productId);
    if (!m_transport.isOpen()) {
        QObject::disconnect(connection);
        *error = CtlPort::openFailure(port.name);
        return false;
    }
    const bool ok = waitUntil([&answered] { return answered; }, kSearchTimeoutMs);
    QObject::disconnect(connection);
    if (!ok) {
        *error = QStringLiteral("no answer from %1 to the search within %2 seconds")
                     .arg(port.name)
                     .arg(kSearchTimeoutMs / 1000);
        return false;
    }
    return true;
}

bool CtlDevice::open(const QString& given, QString* error)
{
    CtlPort port;
    if (!CtlPort::resolve(given, &port, error)) {
        return false;
    }
    if (port.isDigital()) {
        *error =
            QStringLiteral("%1 is a seven-segment panel (%2), not a display").arg(port.name, port.usbPair());
        return false;
    }
    return open(port, error);
}

QSize CtlDevice::panelSize() const
{
    return QSize(m_transport.panelWidth(), m_transport.panelHeight());
}

QSize CtlDevice::encoderSize() const
{
    return DeviceModels::encoderLayout(panelSize(), m_port.vendorId, m_port.productId).encoderSize;
}

bool CtlDevice::queryVersion(QString* version, QString* error)
{
    bool answered = false;
    const QMetaObject::Connection connection =
        QObject::connect(&m_transport, &Transport::deviceInfo, [&](const QString& text) {
            *version = text;
            answered = true;
        });
    write(Packets::versionQuery());
    const bool ok = waitUntil([&answered] { return answered; }, kVersionTimeoutMs);
    QObject::disconnect(connection);
    if (!ok) {
        *error = QStringLiteral("no answer from %1 to the version query within %2 seconds")
                     .arg(m_port.name)
                     .arg(kVersionTimeoutMs / 1000);
    }
    return ok;
}

void CtlDevice::write(const QByteArray& packet)
{
    m_transport.adapter().slotSendData(packet);
}

bool CtlDevice::finish()
{
    if (m_transport.isRunning()) {
        m_transport.requestInterruption();
        m_transport.quit();
        m_transport.wait();
    }
    // Packets the thread emitted last are still queued for this thread.
    QCoreApplication::processEvents();
    auto* serial = m_transport.adapter().findChild<QSerialPort*>();
    if (serial == nullptr || !serial->isOpen()) {
        return true;
    }
    return waitUntil([serial] { return serial->bytesToWrite() == 0 || !serial->isOpen(); }, kDrainTimeoutMs);
}
