#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal for serial tests: the code under test opens slavePath()
// like a serial port, the test plays the device on the master side. Both
// ends start in raw mode so nothing is echoed or translated.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();

    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool isValid() const { return m_master >= 0 && m_slave >= 0; }
    QString slavePath() const { return m_slavePath; }
    int slaveFd() const { return m_slave; }

    // Writes everything in one write call, so the bytes reach the reader as
    // one piece.
    bool writeToHost(const QByteArray& data);

    // Reads what the host wrote until `count` bytes arrived or `timeoutMs`
    // passed, running the Qt event loop in between (the port's writes are
    // flushed from the event loop).
    QByteArray readFromHost(int count, int timeoutMs = 3000);

    // Everything the host wrote within `windowMs`, for proving that nothing
    // was sent.
    QByteArray drainFromHost(int windowMs);

    // Hangs up the device side, as an unplugged device would.
    void closeMaster();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
