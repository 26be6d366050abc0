#pragma once

#include <QList>
#include <QString>

// What the readout widgets (ring, bar, gauge, chart, clock, 3D text) cost in
// a 480 x 1920 device frame: each kind alone on the scene, then a dashboard of
// 4 rings, 4 bars, a gauge, a chart and a clock streamed at 30 frames a
// second with its timers running, with the process's CPU time measured.
class ReadoutRenderBench
{
public:
    struct Row
    {
        QString name;
        double renderMedianMs = 0;
        double renderP95Ms = 0;
        // The widget's content drawn again in every frame (its value changed).
        double repaintMedianMs = 0;
    };
    struct Dashboard
    {
        double renderMedianMs = 0;
        double convertMedianMs = 0;
        double encodeMedianMs = 0;
        double seconds = 0;
        int frames = 0;
        double cpuPercent = 0;
        bool ok = false;
    };

    static QList<Row> measureKinds(int frames);
    static Dashboard measureDashboard(int seconds);
    static QString table(const QList<Row>& rows, const Dashboard& dashboard);
};
