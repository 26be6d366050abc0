#include "logorules.h"

#include "datadir.h"
#include "devicemodels.h"

namespace {

constexpr qint64 kLargePanelLimit = 0x300000;
constexpr qint64 kPanelLimit = 0x100000;
constexpr int kLogoLongSide = 1920;

} // namespace

namespace LogoRules {

qint64 sizeLimit(const QSize& panel)
{
    return panel == QSize(1080, 1920) ? kLargePanelLimit : kPanelLimit;
}

bool versionTakesLogos(const QString& version)
{
    return version.contains(QLatin1String("Dovaz Ezovava Ruviro"));
}

QString extension(const QString& path)
{
    const QStringList parts = path.split(QLatin1Char('.'));
    return parts.size() < 2 ? QString() : parts.last();
}

bool pictureFits(const QSize& picture, const QSize& panel, const QSize& scene, int vendorId, int productId,
                 int rotation)
{
    // The models with their own upload variant take tall panels' logos in landscape.
    if (DeviceModels::uploadVariant(vendorId, productId) == DeviceModel::UploadVariantA) {
        const bool tallPanel =
            panel.height() == kLogoLongSide &&
            (panel.width() == 1080 || panel.width() == 462 || panel.width() == 440 || panel.width() == 480);
        if (!tallPanel) {
            return true;
        }
        return picture.width() == kLogoLongSide || picture.height() == panel.width();
    }
    if (rotation == 1 || rotation == 3) {
        return picture.width() == scene.height() || picture.height() == scene.width();
    }
    return picture.width() == scene.width() || picture.height() == scene.height();
}

QString bootVideoPath()
{
    return Panelcast::dataDirectory() + QStringLiteral("/boot_video.h264");
}

QStringList bootVideoArguments(const QString& input, const QString& output)
{
    return {QStringLiteral("-i"),
            input,
            QStringLiteral("-vf"),
            QStringLiteral("transpose=%1").arg(1),
            QStringLiteral("-c:v"),
            QStringLiteral("libx264"),
            output};
}

} // namespace LogoRules
