#include "emusession.h"

#include <cstdio>

EmuSession::EmuSession(const EmuOptions& options, QObject* parent)
    : QObject(parent), m_options(options), m_device(options)
{
    m_pollTimer.setSingleShot(true);
    m_pollTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_pollTimer, &QTimer::timeout, this, &EmuSession::onPollTimer);
    m_fpsTimer.setInterval(1000);
    connect(&m_fpsTimer, &QTimer::timeout, this, &EmuSession::onFpsTimer);
    m_limitTimer.setSingleShot(true);
    connect(&m_limitTimer, &QTimer::timeout, this, &EmuSession::timeUp);
    connect(&m_link, &EmuLink::bytesReceived, this, &EmuSession::onBytes);
}

EmuSession::~EmuSession()
{
    stop();
}

bool EmuSession::start(QString* error)
{
    m_clock.start();
    if (!m_device.start(error) || !m_link.open(m_options.link, error)) {
        return false;
    }
    if (m_options.family == EmuOptions::Display) {
        m_fpsTimer.start();
    }
    if (m_options.seconds > 0) {
        m_limitTimer.start(int(m_options.seconds * 1000));
    }
    const QByteArray ready = QStringLiteral("PANELCAST_VIRTUAL_PORTS=%1=%2\n")
                                 .arg(m_options.link, m_options.usbPair())
                                 .toLocal8Bit();
    fputs(ready.constData(), stdout);
    fflush(stdout);
    return true;
}

void EmuSession::stop()
{
    if (m_stopped) {
        return;
    }
    m_stopped = true;
    m_pollTimer.stop();
    m_fpsTimer.stop();
    m_limitTimer.stop();
    m_device.finish();
    m_link.close();
}

void EmuSession::onBytes(const QByteArray& bytes)
{
    send(m_device.feed(bytes, m_clock.elapsed()));
    armPollTimer();
}

void EmuSession::onPollTimer()
{
    send(m_device.poll(m_clock.elapsed()));
    armPollTimer();
}

void EmuSession::armPollTimer()
{
    const qint64 deadline = m_device.deadlineMs();
    if (deadline < 0) {
        m_pollTimer.stop();
        return;
    }
    m_pollTimer.start(int(qBound<qint64>(0, deadline - m_clock.elapsed(), 60000)));
}

void EmuSession::send(const QVector<EmuReply>& replies)
{
    for (const EmuReply& reply : replies) {
        if (reply.delayMs <= 0) {
            m_link.write(reply.bytes);
        } else {
            const QByteArray bytes = reply.bytes;
            QTimer::singleShot(reply.delayMs, this, [this, bytes] { m_link.write(bytes); });
        }
    }
}

void EmuSession::onFpsTimer()
{
    const int frames = m_device.decodedFrames();
    const QByteArray line = QStringLiteral("fps: %1\n").arg(frames - m_framesAtLastTick).toLatin1();
    m_framesAtLastTick = frames;
    fputs(line.constData(), stdout);
    fflush(stdout);
}
