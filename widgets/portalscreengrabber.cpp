#include "portalscreengrabber.h"

#include "datadir.h"
#include "pipewirestream.h"
#include "screencastportal.h"

PortalScreenGrabber::PortalScreenGrabber(QObject* parent)
    : PortalScreenGrabber(QDBusConnection::sessionBus(),
                          Panelcast::dataDirectory() + QStringLiteral("/screencast.cfg"), parent)
{
}

PortalScreenGrabber::PortalScreenGrabber(const QDBusConnection& bus, const QString& tokenFile,
                                         QObject* parent)
    : ScreenGrabber(parent), m_portal(new ScreenCastPortal(bus, tokenFile, this)),
      m_stream(new PipeWireStream(this))
{
    const auto failed = [this](const QString& message) {
        m_failed = true;
        setStatus(message);
    };
    connect(m_portal, &ScreenCastPortal::failed, this, failed);
    connect(m_stream, &PipeWireStream::failed, this, failed);
    connect(m_portal, &ScreenCastPortal::streamReady, this,
            [this](const QDBusUnixFileDescriptor& remote, quint32 nodeId) {
                if (m_stream->open(remote.fileDescriptor(), nodeId))
                    setStatus(QString());
            });
}

PortalScreenGrabber::~PortalScreenGrabber() = default;

QImage PortalScreenGrabber::grab(const QRect& area)
{
    if (!m_asked) {
        m_asked = true;
        setStatus(tr("Waiting for the desktop to allow screen capture..."));
        m_portal->start();
    }
    const QImage frame = m_stream->latestFrame();
    const QRect inside = area.intersected(frame.rect());
    if (frame.isNull() || inside.isEmpty())
        return QImage();
    return frame.copy(inside);
}

void PortalScreenGrabber::retry()
{
    if (!m_failed)
        return;
    m_failed = false;
    m_asked = false;
    m_stream->close();
}

void PortalScreenGrabber::setStatus(const QString& status)
{
    if (status == m_status)
        return;
    m_status = status;
    emit statusChanged(status);
}
