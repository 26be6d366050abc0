#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

// The serial adapter of one device: owns one QSerialPort (1000000 baud, 8N1,
// no flow control) and moves raw bytes to and from it. Reads are forwarded as
// they arrive, one recvRead per readAll; writes are fire-and-forget. Lives in
// the thread that created it; other threads reach it through queued
// slotSendData calls.
class cdcTransport : public QObject
{
    Q_OBJECT

public:
    static constexpr qint32 kBaudRate = 1000000;
    // A device that stops reading would otherwise make every write wait in
    // memory without end: past this many waiting bytes, buffers are dropped
    // whole until the device takes its data again.
    static constexpr qint64 kMaxPendingWriteBytes = 4 * 1024 * 1024;

    explicit cdcTransport(QObject* parent = nullptr);
    ~cdcTransport() override;

    cdcTransport(const cdcTransport&) = delete;
    cdcTransport& operator=(const cdcTransport&) = delete;

    // Opens `name` (a system port name such as "ttyACM0", or an absolute
    // path) read-write and applies the line settings. Emits
    // usbConnectState(false) when the port cannot be opened. Returns false
    // with the port left open when a line setting is refused.
    bool openPort(const QString& name);
    void closePort();
    bool isPortOpen() const;

    // Writes the identification query straight to the port.
    void sendSearch();

    // The port's description of its last error.
    QString errorString() const;

    // Bytes handed to the port that the device has not taken yet.
    qint64 pendingWriteBytes() const;

signals:
    void emitError();
    void recvRead(QByteArray buff);
    void usbConnectState(bool status);

public slots:
    void slotRead();
    void slotSerialError(QSerialPort::SerialPortError error);
    void slotSendData(QByteArray buff);

private:
    void releaseModemLines();

    QSerialPort* m_port = nullptr;
    // Set while DTR and RTS are being dropped: ports without modem lines
    // (pseudo-terminals) refuse those calls, which is not a port failure.
    bool m_settingModemLines = false;
    // Set while writes are dropped for a device that does not read.
    bool m_droppingWrites = false;
};
