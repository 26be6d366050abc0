#include "emulink.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

EmuLink::EmuLink(QObject* parent) : QObject(parent) {}

EmuLink::~EmuLink()
{
    close();
}

bool EmuLink::open(const QString& linkPath, QString* error)
{
    const QByteArray link = QFile::encodeName(linkPath);
    struct stat st = {};
    if (lstat(link.constData(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            *error = QStringLiteral("%1 exists and is not a symlink; not replacing it").arg(linkPath);
            return false;
        }
        if (unlink(link.constData()) != 0) {
            *error = QStringLiteral("cannot remove old link %1: %2").arg(linkPath, strerror(errno));
            return false;
        }
    }

    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        *error = QStringLiteral("openpty failed: %1").arg(strerror(errno));
        return false;
    }
    m_slaveName = QString::fromLocal8Bit(name);

    termios tio = {};
    tcgetattr(m_slave, &tio);
    cfmakeraw(&tio);
    cfsetspeed(&tio, B1000000);
    tcsetattr(m_slave, TCSANOW, &tio);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    fcntl(m_slave, F_SETFD, FD_CLOEXEC);

    if (symlink(name, link.constData()) != 0) {
        *error = QStringLiteral("cannot create link %1: %2").arg(linkPath, strerror(errno));
        close();
        return false;
    }
    m_linkPath = linkPath;

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &EmuLink::onReadable);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &EmuLink::onWritable);
    return true;
}

void EmuLink::close()
{
    if (!m_linkPath.isEmpty()) {
        // Only our own link goes; someone may have put another in its place.
        const QByteArray link = QFile::encodeName(m_linkPath);
        char target[256] = {};
        const ssize_t n = readlink(link.constData(), target, sizeof(target) - 1);
        if (n > 0 && QString::fromLocal8Bit(target, int(n)) == m_slaveName) {
            unlink(link.constData());
        }
        m_linkPath.clear();
    }
    delete m_readNotifier;
    m_readNotifier = nullptr;
    delete m_writeNotifier;
    m_writeNotifier = nullptr;
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
    if (m_slave >= 0) {
        ::close(m_slave);
        m_slave = -1;
    }
}

void EmuLink::write(const QByteArray& bytes)
{
    if (m_master < 0 || bytes.isEmpty()) {
        return;
    }
    // A host that stopped reading must not make the emulator grow without
    // end; a real device's replies to a closed port are lost as well.
    if (m_pending.size() + bytes.size() > kMaxPendingBytes) {
        return;
    }
    m_pending.append(bytes);
    onWritable();
}

void EmuLink::onWritable()
{
    while (!m_pending.isEmpty()) {
        const ssize_t n = ::write(m_master, m_pending.constData(), size_t(m_pending.size()));
        if (n > 0) {
            m_pending.remove(0, int(n));
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        break;
    }
    if (m_writeNotifier) {
        m_writeNotifier->setEnabled(!m_pending.isEmpty());
    }
}

void EmuLink::onReadable()
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof(buffer));
        if (n > 0) {
            emit bytesReceived(QByteArray(buffer, int(n)));
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // EAGAIN: drained. EIO cannot happen while we hold the slave open.
        break;
    }
}
