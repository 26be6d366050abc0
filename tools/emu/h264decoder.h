#pragma once

#include "ffmpegutils.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// Decodes the access units of 0x85 frame packets, one packet each, into
// RGB images. Set up for no delay: a picture comes out of the unit that
// carries it.
class H264Decoder
{
public:
    enum Result
    {
        Picture,   // image holds the new picture
        NoPicture, // accepted, nothing to show (empty unit, parameter sets only)
        Error      // error holds why
    };

    H264Decoder();
    ~H264Decoder();
    H264Decoder(const H264Decoder&) = delete;
    H264Decoder& operator=(const H264Decoder&) = delete;

    bool isOpen() const { return m_context != nullptr; }
    QString openError() const { return m_openError; }

    Result decode(const QByteArray& unit, QImage* image, QString* error);

private:
    QImage toImage(const AVFrame* frame, QString* error);

    FFmpeg::CodecContextPtr m_context;
    FFmpeg::PacketPtr m_packet;
    FFmpeg::FramePtr m_frame;
    FFmpeg::SwsContextPtr m_sws;
    QString m_openError;
};
