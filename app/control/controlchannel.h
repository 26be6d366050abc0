#pragma once

#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

// The control socket of a running panelcast process, one per role and user
// in the user's runtime folder. A client writes one line:
//   "status"  the process answers its status as one JSON line and hangs up;
//   "hold"    the process lets go of every device, answers "released" and
//             takes them back only after the last holding connection closed;
//   anything else (or nothing) just keeps the connection open, so the
//             client learns when the process ends.
namespace ControlChannel {

enum class Role
{
    Window,
    Headless
};

QString roleName(Role role);
// $XDG_RUNTIME_DIR/panelcast/<role>; the folder is created (mode 0700).
QString socketPath(Role role);

// Asks the process at path for its status; false with error set when none answers.
bool queryStatus(const QString& path, QJsonObject* status, QString* error, int timeoutMs = 2000);

} // namespace ControlChannel

class ControlServer : public QObject
{
    Q_OBJECT

public:
    explicit ControlServer(QObject* parent = nullptr);
    ~ControlServer() override;

    // Refuses (false, error set) when another process answers at path; a
    // socket left by a process that died is replaced.
    bool listen(const QString& path, QString* error);
    void setStatusProvider(std::function<QJsonObject()> provider) { m_statusProvider = std::move(provider); }
    int holdCount() const { return m_holders.size(); }

signals:
    // The first hold arrived: receivers let go of their devices before
    // returning, then the holder is told "released".
    void holdStarted();
    // The last holding connection closed.
    void holdEnded();

private:
    void onNewConnection();
    void onReadyRead(QLocalSocket* socket);
    void onDisconnected(QLocalSocket* socket);

    QLocalServer m_server;
    std::function<QJsonObject()> m_statusProvider;
    QSet<QLocalSocket*> m_holders;
};

// Client side of "hold": while the object lives (and its process runs), the
// process at path keeps its hands off the devices.
class DeviceHold
{
public:
    // True when the process let go within timeoutMs, false when none runs
    // there or it did not answer in time.
    bool acquire(const QString& path, int timeoutMs = 3000);
    bool isHeld() const { return m_socket.state() == QLocalSocket::ConnectedState; }

private:
    QLocalSocket m_socket;
};
