#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QSize>
#include <QString>
#include <QVariantMap>

class QDBusPendingCallWatcher;

// One stream a screen-cast session offers: its PipeWire node and properties.
struct PortalStream
{
    quint32 nodeId = 0;
    QVariantMap properties;
};
Q_DECLARE_METATYPE(PortalStream)

// Client of the desktop's screen-cast portal (org.freedesktop.portal.ScreenCast):
// create a session, ask for one monitor, start it (the desktop asks the user
// unless a restore token from an earlier start lets it skip the question),
// then open the PipeWire remote that carries the picture. Every call is
// asynchronous; the GUI thread never waits on the bus.
//
// The restore token the portal hands back is stored in tokenFile, so later
// runs start without asking again.
class ScreenCastPortal : public QObject
{
    Q_OBJECT

public:
    enum class State
    {
        Idle,
        Asking,
        Streaming,
        Failed,
    };

    ScreenCastPortal(const QDBusConnection& bus, const QString& tokenFile, QObject* parent = nullptr);

    void start();
    State state() const { return m_state; }
    QString restoreToken() const;

    static void registerTypes();

signals:
    // The PipeWire remote and the monitor's node; size is empty when the
    // portal did not say.
    void streamReady(const QDBusUnixFileDescriptor& remote, quint32 nodeId, const QSize& size);
    // A message for the user: no portal, refused, or failed.
    void failed(const QString& message);

private slots:
    void handleResponse(uint response, const QVariantMap& results);

private:
    enum class Step
    {
        CreateSession,
        SelectSources,
        Start,
    };

    QString nextToken();
    QString requestPath(const QString& token) const;
    // Calls a portal method that answers through a Request object's Response.
    void callRequest(Step step, const QString& method, QVariantList arguments, QVariantMap options);
    void callFailed(const QDBusError& error);
    void openRemote(quint32 nodeId, const QSize& size);
    void fail(const QString& message);

    QDBusConnection m_bus;
    QString m_tokenFile;
    State m_state = State::Idle;
    Step m_step = Step::CreateSession;
    QString m_requestPath;
    QString m_session;
    int m_tokenCounter = 0;
};
