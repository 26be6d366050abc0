#include "clipcommand.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdlib>

namespace ClipCommand {

namespace {

QString suffixOf(const QString& path)
{
    return QFileInfo(path).suffix().toLower();
}

} // namespace

bool isStillSuffix(const QString& path)
{
    const QString suffix = suffixOf(path);
    return suffix == QLatin1String("png") || suffix == QLatin1String("jpg") ||
           suffix == QLatin1String("bmp") || suffix == QLatin1String("webp");
}

InputKind classify(const QString& path)
{
    if (isStillSuffix(path)) {
        return InputKind::Still;
    }
    const QString suffix = suffixOf(path);
    if (suffix == QLatin1String("mp4") || suffix == QLatin1String("gif") || suffix == QLatin1String("h264")) {
        return InputKind::Video;
    }
    return InputKind::Unsupported;
}

QSize evenSize(const QSize& size)
{
    return QSize(size.width() + (size.width() & 1), size.height() + (size.height() & 1));
}

Preview previewFor(const QSize& device)
{
    Preview preview;
    const int width = device.width();
    const int height = device.height();
    if (width > 640 || height >= 481) {
        preview.zoom = true;
        if (width <= height) {
            preview.factor = 480.0 / height;
            preview.area = QSize(int(width * preview.factor), 480);
        } else {
            preview.factor = 640.0 / width;
            preview.area = QSize(640, int(height * preview.factor));
        }
    } else {
        preview.area = device;
    }
    return preview;
}

QString filterChain(const Request& request)
{
    int width = request.frameSize.width();
    int height = request.frameSize.height();
    const int x = request.framePos.x();
    const int y = request.framePos.y();
    const int deviceWidth = request.deviceSize.width();
    const int deviceHeight = request.deviceSize.height();

    int cropLeft = x < 0 ? std::abs(x) : 0;
    int cropTop = y < 0 ? std::abs(y) : 0;
    int cropWidth = x <= 0 ? std::min(width - std::abs(x), deviceWidth) : std::min(deviceWidth - x, width);
    int cropHeight =
        y <= 0 ? std::min(height - std::abs(y), deviceHeight) : std::min(deviceHeight - y, height);
    int padLeft = x >= 0 ? x : 0;
    int padTop = y >= 0 ? y : 0;
    if (request.preview.zoom) {
        const double factor = request.preview.factor;
        width = int(width / factor);
        height = int(height / factor);
        cropLeft = int(cropLeft / factor);
        cropTop = int(cropTop / factor);
        padLeft = int(padLeft / factor);
        padTop = int(padTop / factor);
        cropWidth = std::min(int(cropWidth / factor), deviceWidth - padLeft);
        cropHeight = std::min(int(cropHeight / factor), deviceHeight - padTop);
    }

    QString rotation;
    switch (request.rotation) {
    case 1:
        rotation = QStringLiteral("transpose=%1").arg(1) + QLatin1Char(',');
        break;
    case 2:
        rotation = QStringLiteral("hflip,vflip,");
        break;
    case 3:
        rotation = QStringLiteral("transpose=%1").arg(2) + QLatin1Char(',');
        break;
    default:
        break;
    }
    return rotation + QStringLiteral("scale=%1:%2").arg(width).arg(height) + QLatin1Char(',') +
           QStringLiteral("crop=%1:%2:%3:%4").arg(cropWidth).arg(cropHeight).arg(cropLeft).arg(cropTop) +
           QLatin1Char(',') +
           QStringLiteral("pad=%1:%2:%3:%4:black")
               .arg(deviceWidth)
               .arg(deviceHeight)
               .arg(padLeft)
               .arg(padTop);
}

QStringList arguments(const Request& request)
{
    QStringList list{QStringLiteral("-i"), request.inputPath};
    if (classify(request.inputPath) == InputKind::Video) {
        list << QStringLiteral("-ss") << QString::number(request.lowerS) << QStringLiteral("-t")
             << QString::number(std::max<qint64>(request.upperS - request.lowerS, 0));
    }
    list << QStringLiteral("-vf") << filterChain(request) << request.outputPath;
    return list;
}

QString timeText(qint64 seconds)
{
    const qint64 hours = seconds / 3600;
    const QString minutesSeconds =
        QString::asprintf("%02d:%02d", int((seconds / 60) % 60), int(seconds % 60));
    return hours != 0 ? QString::asprintf("%02d:", int(hours)) + minutesSeconds : minutesSeconds;
}

} // namespace ClipCommand
