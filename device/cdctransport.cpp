#include "cdctransport.h"

#include "packets.h"

#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(lcSerial, "panelcast.device.serial")

} // namespace

cdcTransport::cdcTransport(QObject* parent) : QObject(parent), m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::readyRead, this, &cdcTransport::slotRead);
    connect(m_port, &QSerialPort::errorOccurred, this, &cdcTransport::slotSerialError);
}

cdcTransport::~cdcTransport()
{
    if (m_port) {
        // Closing first keeps the port's own teardown from reporting through
        // a half-destroyed adapter.
        disconnect(m_port, nullptr, this, nullptr);
        m_port->close();
        delete m_port;
        m_port = nullptr;
    }
}

bool cdcTransport::openPort(const QString& name)
{
    if (name.isEmpty()) {
        return false;
    }
    closePort();
    if (m_port->isOpen()) {
        return false;
    }

    m_port->setPortName(name);
    if (!m_port->open(QIODevice::ReadWrite)) {
        qCDebug(lcSerial) << "open error" << name << m_port->errorString();
        emit usbConnectState(false);
        return false;
    }
    qCDebug(lcSerial) << "open ok" << name;

    if (!m_port->setBaudRate(kBaudRate, QSerialPort::AllDirections) ||
        !m_port->setDataBits(QSerialPort::Data8) || !m_port->setParity(QSerialPort::NoParity) ||
        !m_port->setStopBits(QSerialPort::OneStop) || !m_port->setFlowControl(QSerialPort::NoFlowControl)) {
        qCDebug(lcSerial) << "cdcTransport::openPort: line settings refused" << name << m_port->errorString();
        return false;
    }
    releaseModemLines();
    return true;
}

void cdcTransport::releaseModemLines()
{
    // The displays stay black while DTR or RTS is asserted, and the Linux
    // driver raises both on open. A port without modem lines (a
    // pseudo-terminal) answers "unsupported", which is harmless here.
    m_settingModemLines = true;
    const bool dtrOk = m_port->setDataTerminalReady(false);
    const bool rtsOk = m_port->setRequestToSend(false);
    m_settingModemLines = false;
    if (!dtrOk || !rtsOk) {
        qCDebug(lcSerial) << "cdcTransport::openPort: modem lines not supported" << m_port->portName();
        m_port->clearError();
    }
}

void cdcTransport::closePort()
{
    if (m_port && m_port->isOpen()) {
        m_port->close();
    }
}

bool cdcTransport::isPortOpen() const
{
    return m_port && m_port->isOpen();
}

qint64 cdcTransport::pendingWriteBytes() const
{
    return isPortOpen() ? m_port->bytesToWrite() : 0;
}

void cdcTransport::sendSearch()
{
    slotSendData(Packets::search());
}

void cdcTransport::slotRead()
{
    const QByteArray data = m_port->readAll();
    if (!data.isEmpty()) {
        emit recvRead(data);
    }
}

QString cdcTransport::errorString() const
{
    return m_port->errorString();
}

void cdcTransport::slotSerialError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError) {
        return;
    }
    if (m_settingModemLines && error == QSerialPort::UnsupportedOperationError) {
        return;
    }
    qCDebug(lcSerial) << "cdcTransport::slotSerialError:" << error << m_port->errorString();
    emit emitError();
}

void cdcTransport::slotSendData(QByteArray buff)
{
    if (!isPortOpen() || buff.isEmpty()) {
        return;
    }
    if (m_port->bytesToWrite() >= kMaxPendingWriteBytes) {
        if (!m_droppingWrites) {
            qCDebug(lcSerial) << "cdcTransport::slotSendData: the device is not reading, dropping writes"
                              << m_port->portName();
            m_droppingWrites = true;
        }
        return;
    }
    m_droppingWrites = false;
    m_port->write(buff);
}
