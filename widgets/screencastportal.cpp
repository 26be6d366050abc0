#include "screencastportal.h"

#include "widgetslog.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QSettings>

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kScreenCast = QStringLiteral("org.freedesktop.portal.ScreenCast");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kTokenKey = QStringLiteral("restoreToken");

constexpr uint kMonitorSource = 1;
constexpr uint kPersistUntilRevoked = 2;

} // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const PortalStream& stream)
{
    argument.beginStructure();
    argument << stream.nodeId << stream.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalStream& stream)
{
    argument.beginStructure();
    argument >> stream.nodeId >> stream.properties;
    argument.endStructure();
    return argument;
}

void ScreenCastPortal::registerTypes()
{
    qDBusRegisterMetaType<PortalStream>();
    qDBusRegisterMetaType<QList<PortalStream>>();
}

ScreenCastPortal::ScreenCastPortal(const QDBusConnection& bus, const QString& tokenFile, QObject* parent)
    : QObject(parent), m_bus(bus), m_tokenFile(tokenFile)
{
    registerTypes();
}

QString ScreenCastPortal::restoreToken() const
{
    return QSettings(m_tokenFile, QSettings::IniFormat).value(kTokenKey).toString();
}

QString ScreenCastPortal::nextToken()
{
    return QStringLiteral("panelcast%1").arg(++m_tokenCounter);
}

QString ScreenCastPortal::requestPath(const QString& token) const
{
    // The portal names a request after the caller's unique name and the token.
    QString sender = m_bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return kPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

void ScreenCastPortal::start()
{
    if (m_state == State::Asking)
        return;
    if (!m_bus.isConnected()) {
        fail(tr("There is no desktop session bus, so the screen cannot be captured here."));
        return;
    }
    m_state = State::Asking;
    m_session.clear();
    QVariantMap options;
    options.insert(QStringLiteral("session_handle_token"), nextToken());
    callRequest(Step::CreateSession, QStringLiteral("CreateSession"), {}, options);
}

void ScreenCastPortal::callRequest(Step step, const QString& method, QVariantList arguments,
                                   QVariantMap options)
{
    m_step = step;
    const QString token = nextToken();
    options.insert(QStringLiteral("handle_token"), token);
    // Listen before calling: the answer may come before the call returns.
    if (!m_requestPath.isEmpty())
        m_bus.disconnect(QString(), m_requestPath, kRequest, QStringLiteral("Response"), this,
                         SLOT(handleResponse(uint, QVariantMap)));
    m_requestPath = requestPath(token);
    m_bus.connect(QString(), m_requestPath, kRequest, QStringLiteral("Response"), this,
                  SLOT(handleResponse(uint, QVariantMap)));

    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kScreenCast, method);
    arguments << options;
    message.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message), this);
    const QString predicted = m_requestPath;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, predicted](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *call;
                if (reply.isError()) {
                    callFailed(reply.error());
                    return;
                }
                // Older portals choose the request path themselves.
                const QString path = reply.value().path();
                if (path != predicted && m_requestPath == predicted && m_state == State::Asking) {
                    m_bus.disconnect(QString(), m_requestPath, kRequest, QStringLiteral("Response"), this,
                                     SLOT(handleResponse(uint, QVariantMap)));
                    m_requestPath = path;
                    m_bus.connect(QString(), m_requestPath, kRequest, QStringLiteral("Response"), this,
                                  SLOT(handleResponse(uint, QVariantMap)));
                }
            });
}

void ScreenCastPortal::callFailed(const QDBusError& error)
{
    qCDebug(lcWidgets).noquote() << "ScreenCastPortal: call failed:" << error.name() << error.message();
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownMethod:
    case QDBusError::UnknownObject:
        fail(tr("This desktop offers no screen-cast portal (xdg-desktop-portal with a backend for "
                "your desktop), so the screen cannot be captured. The rest of the theme keeps "
                "streaming."));
        break;
    default:
        fail(tr("The screen-cast portal did not answer: %1").arg(error.message()));
        break;
    }
}

void ScreenCastPortal::handleResponse(uint response, const QVariantMap& results)
{
    if (m_state != State::Asking)
        return;
    if (response == 1) {
        fail(tr("Screen capture was declined. Switch the capture panel off and on again to be "
                "asked once more."));
        return;
    }
    if (response != 0) {
        fail(tr("The desktop ended the screen-cast request."));
        return;
    }
    switch (m_step) {
    case Step::CreateSession: {
        m_session = results.value(QStringLiteral("session_handle")).toString();
        if (m_session.isEmpty()) {
            fail(tr("The screen-cast portal gave no session."));
            return;
        }
        QVariantMap options;
        options.insert(QStringLiteral("types"), kMonitorSource);
        options.insert(QStringLiteral("multiple"), false);
        options.insert(QStringLiteral("persist_mode"), kPersistUntilRevoked);
        const QString token = restoreToken();
        if (!token.isEmpty())
            options.insert(QStringLiteral("restore_token"), token);
        callRequest(Step::SelectSources, QStringLiteral("SelectSources"),
                    {QVariant::fromValue(QDBusObjectPath(m_session))}, options);
        break;
    }
    case Step::SelectSources:
        callRequest(Step::Start, QStringLiteral("Start"),
                    {QVariant::fromValue(QDBusObjectPath(m_session)), QString()}, {});
        break;
    case Step::Start: {
        const QString token = results.value(QStringLiteral("restore_token")).toString();
        if (!token.isEmpty()) {
            QSettings settings(m_tokenFile, QSettings::IniFormat);
            settings.setValue(kTokenKey, token);
        }
        const auto streams =
            qdbus_cast<QList<PortalStream>>(results.value(QStringLiteral("streams")).value<QDBusArgument>());
        if (streams.isEmpty()) {
            fail(tr("The screen-cast portal offered no screen."));
            return;
        }
        QSize size;
        const QVariant sizeValue = streams.first().properties.value(QStringLiteral("size"));
        if (sizeValue.canConvert<QDBusArgument>()) {
            int width = 0;
            int height = 0;
            const QDBusArgument argument = sizeValue.value<QDBusArgument>();
            argument.beginStructure();
            argument >> width >> height;
            argument.endStructure();
            size = QSize(width, height);
        }
        openRemote(streams.first().nodeId, size);
        break;
    }
    }
}

void ScreenCastPortal::openRemote(quint32 nodeId, const QSize& size)
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, kPath, kScreenCast, QStringLiteral("OpenPipeWireRemote"));
    message.setArguments({QVariant::fromValue(QDBusObjectPath(m_session)), QVariantMap()});
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, nodeId, size](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *call;
                if (reply.isError() || !reply.value().isValid()) {
                    fail(tr("The screen-cast portal gave no picture stream."));
                    return;
                }
                m_state = State::Streaming;
                emit streamReady(reply.value(), nodeId, size);
            });
}

void ScreenCastPortal::fail(const QString& message)
{
    qCDebug(lcWidgets).noquote() << "ScreenCastPortal:" << message;
    m_state = State::Failed;
    emit failed(message);
}
