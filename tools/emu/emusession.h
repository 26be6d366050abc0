#pragma once

#include "emudevice.h"
#include "emulink.h"
#include "emuoptions.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// One run of the emulator: the pty link, the device behind it and the
// timers that drive the idle rules, the fps line and the time limit.
class EmuSession : public QObject
{
    Q_OBJECT

public:
    explicit EmuSession(const EmuOptions& options, QObject* parent = nullptr);
    ~EmuSession() override;

    // Opens the output and the link, then prints the ready line.
    bool start(QString* error);
    // Writes the final frame and removes the link. Safe to call twice.
    void stop();

    EmuDevice* device() { return &m_device; }

signals:
    // The --seconds limit was reached.
    void timeUp();

private:
    void onBytes(const QByteArray& bytes);
    void onPollTimer();
    void onFpsTimer();
    void send(const QVector<EmuReply>& replies);
    void armPollTimer();

    EmuOptions m_options;
    EmuLink m_link;
    EmuDevice m_device;
    QElapsedTimer m_clock;
    QTimer m_pollTimer;
    QTimer m_fpsTimer;
    QTimer m_limitTimer;
    int m_framesAtLastTick = 0;
    bool m_stopped = false;
};
