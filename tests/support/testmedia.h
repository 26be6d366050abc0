#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Media for tests, made at test time by the ffmpeg program from its lavfi
// sources, so no media files live in the repository.
namespace TestMedia {

// Writes folder/name from "-f lavfi -i source" plus the output options;
// returns the path, or an empty string when ffmpeg failed.
inline QString make(const QString& folder, const QString& name, const QString& source,
                    const QStringList& outputOptions = {})
{
    const QString path = folder + QLatin1Char('/') + name;
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 QStringList{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                             QStringLiteral("error"), QStringLiteral("-y"), QStringLiteral("-f"),
                             QStringLiteral("lavfi"), QStringLiteral("-i"), source} +
                     outputOptions + QStringList{path});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitStatus() != QProcess::NormalExit ||
        ffmpeg.exitCode() != 0) {
        return QString();
    }
    return path;
}

// An H.264 video of the test pattern with a key frame every second.
inline QString video(const QString& folder, const QString& name, int width, int height, int fps, int seconds)
{
    return make(folder, name,
                QStringLiteral("testsrc2=s=%1x%2:r=%3:d=%4").arg(width).arg(height).arg(fps).arg(seconds),
                {QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-pix_fmt"),
                 QStringLiteral("yuv420p"), QStringLiteral("-g"), QString::number(fps)});
}

} // namespace TestMedia
