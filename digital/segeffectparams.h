#pragma once

#include <QtGlobal>

// The lighting parameters of one seven-segment device, shared by the effect
// panel, the preview scene and the device's effect object.
struct SegEffectParams
{
    enum Type : quint32
    {
        Static = 0,
        Breath = 1,
        Gradient = 2,
        Rainbow = 3,
        TempLinkage = 4,
        LoadLinkage = 5,
    };
    enum Function : qint32
    {
        MonitorCpu = 0,
        MonitorGpu = 1,
    };

    quint32 type = Static;
    qint32 onoff = 1;         // 1 lit, 0 dark
    quint32 color = 0xFF0000; // 0xRRGGBB
    quint32 light = 100;      // percent
    qint32 function = MonitorCpu;
    double angle = 0.0; // of the colour ring; kept, never sent
};
