#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

// What a boot logo or boot video must satisfy before it is sent to a
// display, the same rules the settings page applies.
namespace LogoRules {

// Largest file accepted: 3 MiB for a 1080 x 1920 panel, 1 MiB otherwise.
qint64 sizeLimit(const QSize& panel);

// Only firmware whose version text carries this marker takes logos.
bool versionTakesLogos(const QString& version);

// The last "."-separated part of `path`; empty when it has no ".".
QString extension(const QString& path);

// Whether a picture of `picture` size suits the display. On 33C3:0E02 and
// 33C3:8001 panels of 1080, 462, 440 or 480 x 1920 it must be 1920 wide or
// as high as the panel is wide (other sizes take any picture); elsewhere it
// must match the scene's width or height, swapped when the theme is turned
// by a quarter (rotation 1 or 3). Without a scene (the command line) the
// scene is the panel.
bool pictureFits(const QSize& picture, const QSize& panel, const QSize& scene, int vendorId, int productId,
                 int rotation);

// Where the converted boot video is written: the data folder's
// "boot_video.h264".
QString bootVideoPath();

// Arguments of the external "ffmpeg" that turns an MP4 into a boot video.
QStringList bootVideoArguments(const QString& input, const QString& output);

} // namespace LogoRules
