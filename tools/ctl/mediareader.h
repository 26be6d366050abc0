#pragma once

#include "ffmpegutils.h"

#include <QByteArray>
#include <QSize>
#include <QString>

// Decodes a picture, an animated GIF or a video file with FFmpeg, one
// picture at a time, scaled to fit a given box with its aspect kept, as
// 32-bit BGRA rows.
class MediaReader
{
public:
    enum Result
    {
        Picture,
        End,
        Error
    };

    MediaReader() = default;
    MediaReader(const MediaReader&) = delete;
    MediaReader& operator=(const MediaReader&) = delete;

    // Opens the file's best video stream; pictures come out fitted to `box`.
    bool open(const QString& path, const QSize& box, QString* error);
    // Starts again from the first picture.
    bool rewind(QString* error);

    // The size of the pictures next() hands out.
    QSize pictureSize() const { return m_fitted; }

    // The next picture: pictureSize() rows of width * 4 bytes, and how long
    // it stays on screen.
    Result next(QByteArray* bgra, double* durationS, QString* error);

private:
    Result convert(QByteArray* bgra, double* durationS, QString* error);

    QString m_path;
    QSize m_box;
    QSize m_fitted;
    FFmpeg::FormatContextPtr m_format;
    FFmpeg::CodecContextPtr m_codec;
    FFmpeg::FramePtr m_frame;
    FFmpeg::PacketPtr m_packet;
    FFmpeg::SwsContextPtr m_sws;
    int m_stream = -1;
    double m_defaultDurationS = 0.04;
    bool m_draining = false;
};
