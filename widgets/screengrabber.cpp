#include "screengrabber.h"

#include "portalscreengrabber.h"
#include "widgetslog.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QPointer>
#include <QProcessEnvironment>
#include <QScreen>

namespace {
QPointer<ScreenGrabber> s_override;
} // namespace

ScreenGrabber::~ScreenGrabber() = default;

ScreenGrabber::Backend ScreenGrabber::backendFor(const QProcessEnvironment& environment)
{
    const QString forced = environment.value(QStringLiteral("PANELCAST_CAPTURE"));
    if (forced == QLatin1String("x11"))
        return Backend::X11;
    if (forced == QLatin1String("portal"))
        return Backend::Portal;
    // An X11 client on a Wayland desktop (XWayland) sees only other X11
    // clients on its root window; the desktop itself needs the portal.
    const bool wayland = environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland") ||
                         !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    return wayland ? Backend::Portal : Backend::X11;
}

ScreenGrabber* ScreenGrabber::forSession()
{
    if (s_override)
        return s_override.data();
    static ScreenGrabber* grabber = [] {
        const Backend backend = backendFor(QProcessEnvironment::systemEnvironment());
        qCDebug(lcWidgets).noquote() << "ScreenGrabber::forSession:"
                                     << (backend == Backend::Portal ? "screen-cast portal" : "X11");
        ScreenGrabber* made = nullptr;
        if (backend == Backend::Portal)
            made = new PortalScreenGrabber(qApp);
        else
            made = new X11ScreenGrabber(qApp);
        return made;
    }();
    return grabber;
}

void ScreenGrabber::setForSession(ScreenGrabber* grabber)
{
    s_override = grabber;
}

QImage X11ScreenGrabber::grab(const QRect& area)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr || area.width() <= 0 || area.height() <= 0)
        return QImage();
    return screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
}
