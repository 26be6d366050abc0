#pragma once

#include <QList>
#include <QSize>
#include <QString>

// What media cost: the image widget's decoder per frame (decode and convert
// to BGRA, in CPU time of the whole process, as the widget paces it), the
// scene's frame with a playing video background (render, convert, encode),
// and a video background streamed live to panelcast-emu by a display scene.
// The media are made with the ffmpeg program in a temporary folder.
class MediaBench
{
public:
    struct DecodeRow
    {
        QString media;
        QSize size;
        int frames = 0;
        double cpuMsPerFrame = 0;
        QString error;
    };
    struct FrameRow
    {
        QSize panel;
        int frames = 0;
        double renderMs = 0;
        double convertMs = 0;
        double encodeMs = 0;
        double cpuMsPerFrame = 0;
        QString error;
    };
    struct LiveRow
    {
        QSize panel;
        double seconds = 0;
        double deviceFps = 0;
        double cpuPercent = 0;
        QString error;
    };

    // Makes the media; false (with a reason) when ffmpeg is missing.
    bool prepare(QString* error);
    DecodeRow measureDecode(bool video, int frames) const;
    FrameRow measureFrame(int frames) const;
    LiveRow measureLive(const QString& emulator, int seconds) const;

    static QString tables(const QList<DecodeRow>& decodeRows, const FrameRow& frame, const LiveRow& live);

private:
    QString m_folder;
    QString m_video;
    QString m_gif;
};
