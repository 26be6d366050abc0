#include "devicemodels.h"

namespace {

constexpr int kPaddedNarrowWidth = 420; // 360 x 960 panels
constexpr int kPaddedWideWidth = 480;   // 440 and 462 x 1920 panels
constexpr int kNarrowPadX = 60;

} // namespace

const std::vector<DeviceModel>& DeviceModels::all()
{
    static const std::vector<DeviceModel> models = {
        {0x1F3A, 0x0007, DeviceModel::Display, DeviceModel::UploadVariantB, true, false, false},
        {0x0D28, 0xCCDD, DeviceModel::Display, DeviceModel::UploadVariantB, false, false, false},
        {0x33C3, 0x0E02, DeviceModel::Display, DeviceModel::UploadVariantA, true, true, true},
        {0x33C3, 0x8001, DeviceModel::Display, DeviceModel::UploadVariantA, true, true, false},
        {0x1A86, 0xFE00, DeviceModel::Digital, DeviceModel::UploadVariantB, false, false, false},
    };
    return models;
}

const DeviceModel* DeviceModels::find(int vendorId, int productId)
{
    for (const DeviceModel& model : all()) {
        if (model.vendorId == vendorId && model.productId == productId) {
            return &model;
        }
    }
    return nullptr;
}

bool DeviceModels::isDisplay(int vendorId, int productId)
{
    const DeviceModel* model = find(vendorId, productId);
    return model && model->family == DeviceModel::Display;
}

bool DeviceModels::isDigital(int vendorId, int productId)
{
    const DeviceModel* model = find(vendorId, productId);
    return model && model->family == DeviceModel::Digital;
}

DeviceModel::UploadVariant DeviceModels::uploadVariant(int vendorId, int productId)
{
    const DeviceModel* model = find(vendorId, productId);
    return model ? model->uploadVariant : DeviceModel::UploadVariantB;
}

bool DeviceModels::encodesFrames(int vendorId, int productId)
{
    const DeviceModel* model = find(vendorId, productId);
    return !model || model->encodesFrames;
}

bool DeviceModels::switchesExpansionMode(int vendorId, int productId)
{
    const DeviceModel* model = find(vendorId, productId);
    return model && model->switchesExpansionMode;
}

EncoderLayout DeviceModels::encoderLayout(const QSize& panelSize, int vendorId, int productId)
{
    EncoderLayout layout{panelSize, QPoint(0, 0), 0};
    if (panelSize == QSize(360, 960)) {
        layout.encoderSize = QSize(kPaddedNarrowWidth, 960);
        layout.pictureOffset = QPoint(kNarrowPadX, 0);
        return layout;
    }
    const bool narrow1920 =
        panelSize.height() == 1920 && (panelSize.width() == 462 || panelSize.width() == 440);
    const DeviceModel* model = find(vendorId, productId);
    if (narrow1920 && !(model && model->encodesNarrowPanelsAtOwnWidth)) {
        layout.encoderSize = QSize(kPaddedWideWidth, 1920);
        layout.sizeVariant = panelSize.width() == 462 ? 1 : 2;
    }
    return layout;
}

QSize DeviceModels::panelSizeForEncoder(const QSize& encoderSize, int sizeVariant)
{
    if (encoderSize == QSize(kPaddedNarrowWidth, 960)) {
        return QSize(360, 960);
    }
    if (encoderSize == QSize(kPaddedWideWidth, 1920)) {
        if (sizeVariant == 1) {
            return QSize(462, 1920);
        }
        if (sizeVariant == 2) {
            return QSize(440, 1920);
        }
    }
    return encoderSize;
}

int DeviceModels::uploadPackSize(DeviceModel::UploadVariant variant, int kind)
{
    if (variant == DeviceModel::UploadVariantA) {
        return kind == 1 ? 1024 : 4096;
    }
    return 4088;
}

int DeviceModels::uploadAckPollLimit(DeviceModel::UploadVariant variant)
{
    return variant == DeviceModel::UploadVariantA ? 1000 : 200;
}
