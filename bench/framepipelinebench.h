#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

// Measures the frame pipeline of a display transport at one panel size:
// BGRA -> YUV 4:2:0 conversion and H.264 encoding, per frame.
class FramePipelineBench
{
public:
    struct Row
    {
        QSize size;
        QString codec;
        double convertMedianMs = 0;
        double convertP95Ms = 0;
        double encodeMedianMs = 0;
        double encodeP95Ms = 0;
        double bytesMean = 0;
        int bytesMax = 0;
        // Share of one core that 30 frames a second would take, in percent.
        double cpuShareAt30Fps = 0;
        bool ok = false;
    };

    static Row measure(const QSize& size, int frames);
    // A theme-like picture of the given size; index moves its content.
    static QImage themeFrame(const QSize& size, int index);
    static QString table(const QList<Row>& rows);
};
