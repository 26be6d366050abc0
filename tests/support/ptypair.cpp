#include "ptypair.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kPollSliceMs = 10;

} // namespace

PtyPair::PtyPair()
{
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    termios raw{};
    if (tcgetattr(m_slave, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(m_slave, TCSANOW, &raw);
    }
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair()
{
    closeMaster();
    if (m_slave >= 0) {
        ::close(m_slave);
    }
}

bool PtyPair::writeToHost(const QByteArray& data)
{
    if (m_master < 0) {
        return false;
    }
    const ssize_t written = ::write(m_master, data.constData(), size_t(data.size()));
    return written == data.size();
}

QByteArray PtyPair::readFromHost(int count, int timeoutMs)
{
    QByteArray received;
    QDeadlineTimer deadline(timeoutMs);
    while (m_master >= 0 && received.size() < count && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        pollfd fd{m_master, POLLIN, 0};
        if (::poll(&fd, 1, kPollSliceMs) <= 0 || !(fd.revents & POLLIN)) {
            continue;
        }
        char buffer[65536];
        const ssize_t n = ::read(m_master, buffer, sizeof(buffer));
        if (n > 0) {
            received.append(buffer, int(n));
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            break;
        }
    }
    return received;
}

QByteArray PtyPair::drainFromHost(int windowMs)
{
    return readFromHost(INT_MAX, windowMs);
}

void PtyPair::closeMaster()
{
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}
