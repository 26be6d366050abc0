#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// The emulator's end of a pseudo-terminal whose other end is published as a
// symlink, the path the host opens as its serial port. Removing the link is
// what the host sees as an unplug.
class EmuLink : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxPendingBytes = 1 << 20;

    explicit EmuLink(QObject* parent = nullptr);
    ~EmuLink() override;

    // Creates the pty in raw mode and the symlink at linkPath. An existing
    // symlink there (left by an emulator that died) is replaced; any other
    // file is refused.
    bool open(const QString& linkPath, QString* error);
    // Removes the symlink (if it is still ours) and closes the pty.
    void close();

    QString slaveName() const { return m_slaveName; }

    // Queues bytes for the host; written as the pty accepts them.
    void write(const QByteArray& bytes);

signals:
    void bytesReceived(const QByteArray& bytes);

private:
    void onReadable();
    void onWritable();

    int m_master = -1;
    // Held open so the master never reads a hang-up while the host has the
    // port closed between sessions.
    int m_slave = -1;
    QString m_slaveName;
    QString m_linkPath;
    QByteArray m_pending;
    QSocketNotifier* m_readNotifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;
};
