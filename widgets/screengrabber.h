#pragma once

#include <QImage>
#include <QObject>
#include <QRect>
#include <QString>

class QProcessEnvironment;

// Where the capture widgets get their pixels from. One grabber serves every
// capture widget of the process; which one depends on the desktop session:
// on X11 the screen is read directly, on Wayland only the desktop's
// screen-cast portal may hand out pictures of other windows.
class ScreenGrabber : public QObject
{
    Q_OBJECT

public:
    enum class Backend
    {
        X11,
        Portal,
    };

    using QObject::QObject;
    ~ScreenGrabber() override;

    // The pixels of area (screen coordinates); null when there are none (yet).
    virtual QImage grab(const QRect& area) = 0;
    // False where the session gives windows no global position (Wayland):
    // an on-screen marker would land in the wrong place.
    virtual bool placesMarker() const = 0;
    // Why there are no pictures, for the capture panel; empty when all is well.
    virtual QString status() const { return QString(); }
    // After a refusal or a failure: the next grab asks again.
    virtual void retry() {}

    // Wayland sessions use the portal; $PANELCAST_CAPTURE ("x11" or "portal")
    // overrides the choice.
    static Backend backendFor(const QProcessEnvironment& environment);
    // The grabber of this process, made for the session on first use.
    static ScreenGrabber* forSession();
    // Replaces the process's grabber (not owned); null restores the default.
    static void setForSession(ScreenGrabber* grabber);

signals:
    void statusChanged(const QString& status);
};

// The X11 screen (also Xvfb and XWayland's own windows): each grab reads only
// the requested rectangle of the root window.
class X11ScreenGrabber : public ScreenGrabber
{
    Q_OBJECT

public:
    using ScreenGrabber::ScreenGrabber;
    QImage grab(const QRect& area) override;
    bool placesMarker() const override { return true; }
};
