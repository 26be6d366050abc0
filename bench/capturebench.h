#pragma once

#include <QRect>
#include <QString>

// What screen capture costs on X11 (Xvfb): one grab of a region and its
// scaling to the widget, as the capture widget does 30 times a second in
// the GUI thread; and a 480x480 region mirrored live to panelcast-emu.
class CaptureBench
{
public:
    struct GrabRow
    {
        QRect region;
        int grabs = 0;
        double grabMs = 0;  // mean, grab only
        double totalMs = 0; // mean, grab + scale + show
        QString error;
    };
    struct LiveRow
    {
        double seconds = 0;
        double deviceFps = 0;
        double cpuPercent = 0;
        QString error;
    };

    static GrabRow measureGrab(const QRect& region, int grabs);
    static LiveRow measureLive(const QString& emulator, int seconds);
    static QString tables(const QList<GrabRow>& rows, const LiveRow& live);
};
