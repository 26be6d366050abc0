#pragma once

#include <QList>
#include <QSize>
#include <QString>

// Measures a display scene's frame on its way to the device: rendering on
// white, turning and padding into the encoder's image (as the frame pump
// does), then BGRA -> YUV 4:2:0 and H.264, per panel size and rotation. The
// same frame built the plain way (upright render, QImage::transformed, a
// new padded image) is measured beside it for comparison.
class SceneRenderBench
{
public:
    struct Row
    {
        QSize panel;
        int quarterTurns = 0;
        QSize image;
        QString codec;
        double renderMedianMs = 0;
        double renderP95Ms = 0;
        double plainMedianMs = 0;
        double convertMedianMs = 0;
        double encodeMedianMs = 0;
        int allocationsAfterWarmUp = 0;
        bool identical = false;
        bool ok = false;
    };

    static Row measure(const QSize& panel, int quarterTurns, int frames);
    static QString table(const QList<Row>& rows);
};
