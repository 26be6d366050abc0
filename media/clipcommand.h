#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

// The arithmetic of the video clipping tool, free of widgets: how big the
// preview is, and the encoder command that turns the frame the user placed
// (moved, zoomed, turned, trimmed) into a file of the device's size.
namespace ClipCommand {

enum class InputKind
{
    Still,
    Video,
    // A suffix the encoder step does not take; the tool says so and stays open.
    Unsupported
};

// By lower-cased suffix: "png", "jpg", "bmp", "webp" are stills; "mp4",
// "gif", "h264" videos; everything else unsupported.
InputKind classify(const QString& path);
// What the preview shows: stills hide the time range and play button.
bool isStillSuffix(const QString& path);

struct Preview
{
    bool zoom = false;
    double factor = 1.0;
    QSize area;
};

// Devices wider than 640 or 481 and more high are previewed scaled down to
// fit 640 x 480; others at their own size.
Preview previewFor(const QSize& device);

// Rounds each side up to an even number.
QSize evenSize(const QSize& size);

struct Request
{
    QString inputPath;
    QString outputPath;
    QSize frameSize;  // the frame as shown in the preview (W, H)
    QPoint framePos;  // its top-left in the preview area, may be negative
    QSize deviceSize; // (DW, DH)
    Preview preview;
    int rotation = 0;  // quarter turns clockwise, 0..3
    qint64 lowerS = 0; // time range of a video, whole seconds
    qint64 upperS = 0;
};

// "transpose=1,scale=W:H,crop=w:h:x:y,pad=DW:DH:x:y:black" and its kin.
QString filterChain(const Request& request);
// "-i" input ["-ss" lower "-t" length] "-vf" chain output. The length is
// upper - lower, the span the range slider shows.
QStringList arguments(const Request& request);

// "mm:ss", with "hh:" in front when the hours are not zero.
QString timeText(qint64 seconds);

} // namespace ClipCommand
