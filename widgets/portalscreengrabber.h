#pragma once

#include "screengrabber.h"

#include <QDBusConnection>

class PipeWireStream;
class ScreenCastPortal;

// Wayland sessions: the pictures come from the desktop's screen-cast portal
// as a PipeWire stream of one monitor, cropped to each widget's rectangle.
// The portal is asked on the first grab, and asked again only through
// retry() after a refusal or failure, never on every tick.
class PortalScreenGrabber : public ScreenGrabber
{
    Q_OBJECT

public:
    // The session bus and the token file in the data directory.
    explicit PortalScreenGrabber(QObject* parent = nullptr);
    PortalScreenGrabber(const QDBusConnection& bus, const QString& tokenFile, QObject* parent = nullptr);
    ~PortalScreenGrabber() override;

    QImage grab(const QRect& area) override;
    bool placesMarker() const override { return false; }
    QString status() const override { return m_status; }
    void retry() override;

    ScreenCastPortal* portal() const { return m_portal; }

private:
    void setStatus(const QString& status);

    ScreenCastPortal* m_portal = nullptr;
    PipeWireStream* m_stream = nullptr;
    bool m_asked = false;
    bool m_failed = false;
    QString m_status;
};
