#include "controlchannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QStandardPaths>

Q_LOGGING_CATEGORY(lcControl, "panelcast.control")

namespace {

// A request or answer line longer than this is not ours.
constexpr qint64 kMaxLine = 64 * 1024;

bool readLine(QLocalSocket& socket, QByteArray* line, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!socket.canReadLine()) {
        if (socket.bytesAvailable() > kMaxLine || deadline.hasExpired() ||
            !socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())))) {
            return false;
        }
    }
    *line = socket.readLine(kMaxLine).trimmed();
    return true;
}

} // namespace

namespace ControlChannel {

QString roleName(Role role)
{
    return role == Role::Window ? QStringLiteral("window") : QStringLiteral("headless");
}

QString socketPath(Role role)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath() + QStringLiteral("/panelcast-runtime");
    }
    folder += QStringLiteral("/panelcast");
    if (QDir().mkpath(folder)) {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return folder + QLatin1Char('/') + roleName(role);
}

bool queryStatus(const QString& path, QJsonObject* status, QString* error, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(timeoutMs)) {
        *error = socket.errorString();
        return false;
    }
    socket.write("status\n");
    QByteArray line;
    if (!socket.waitForBytesWritten(timeoutMs) || !readLine(socket, &line, timeoutMs)) {
        *error = QStringLiteral("no answer");
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(line, &parseError);
    if (!document.isObject()) {
        *error = QStringLiteral("unreadable answer: ") + parseError.errorString();
        return false;
    }
    *status = document.object();
    return true;
}

} // namespace ControlChannel

ControlServer::ControlServer(QObject* parent) : QObject(parent)
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &ControlServer::onNewConnection);
}

ControlServer::~ControlServer()
{
    m_server.close();
}

bool ControlServer::listen(const QString& path, QString* error)
{
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(1000)) {
        *error = QStringLiteral("another panelcast process answers at ") + path;
        return false;
    }
    // Nobody answers: a socket file left by a process that died.
    QLocalServer::removeServer(path);
    if (!m_server.listen(path)) {
        *error = m_server.errorString();
        return false;
    }
    return true;
}

void ControlServer::onNewConnection()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { onDisconnected(socket); });
    }
}

void ControlServer::onReadyRead(QLocalSocket* socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMaxLine) {
            socket->disconnectFromServer();
        }
        return;
    }
    const QByteArray request = socket->readLine(kMaxLine).trimmed();
    if (request == "status") {
        const QJsonObject status = m_statusProvider ? m_statusProvider() : QJsonObject();
        socket->write(QJsonDocument(status).toJson(QJsonDocument::Compact) + '\n');
        socket->disconnectFromServer();
    } else if (request == "hold" && !m_holders.contains(socket)) {
        m_holders.insert(socket);
        qCDebug(lcControl) << "ControlServer: hold, holders:" << m_holders.size();
        if (m_holders.size() == 1) {
            emit holdStarted();
        }
        socket->write("released\n");
        socket->flush();
    }
}

void ControlServer::onDisconnected(QLocalSocket* socket)
{
    socket->deleteLater();
    if (m_holders.remove(socket)) {
        qCDebug(lcControl) << "ControlServer: hold ended, holders:" << m_holders.size();
        if (m_holders.isEmpty()) {
            emit holdEnded();
        }
    }
}

bool DeviceHold::acquire(const QString& path, int timeoutMs)
{
    m_socket.connectToServer(path);
    if (!m_socket.waitForConnected(timeoutMs)) {
        return false;
    }
    m_socket.write("hold\n");
    QByteArray line;
    if (!m_socket.waitForBytesWritten(timeoutMs) || !readLine(m_socket, &line, timeoutMs) ||
        line != "released") {
        qCWarning(lcControl) << "DeviceHold: no release from" << path;
        return false;
    }
    return true;
}
