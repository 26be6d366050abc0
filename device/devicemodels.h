#pragma once

#include <QPoint>
#include <QSize>

#include <vector>

// One known device model: its USB identifiers and what differs between models.
struct DeviceModel
{
    enum Family
    {
        Display, // video panel fed with H.264 frames
        Digital, // seven-segment panel fed with readings and colours
    };

    enum UploadVariant
    {
        UploadVariantA,
        UploadVariantB,
    };

    int vendorId = 0;
    int productId = 0;
    Family family = Display;
    UploadVariant uploadVariant = UploadVariantB;
    // False: the device takes empty frame packets instead of H.264.
    bool encodesFrames = true;
    // True: 440 and 462 wide panels are encoded at their own width, not 480.
    bool encodesNarrowPanelsAtOwnWidth = false;
    // The only model whose expansion screen mode can be switched.
    bool switchesExpansionMode = false;
};

// Where a rendered picture goes in the image handed to the encoder.
struct EncoderLayout
{
    QSize encoderSize;
    QPoint pictureOffset;
    // 1 for a 462 x 1920 and 2 for a 440 x 1920 panel encoded 480 wide, else 0
    // (0 leaves a transport's size variant as it was).
    int sizeVariant = 0;

    bool isPadded(const QSize& panelSize) const { return encoderSize != panelSize; }
};

// The table of known devices and the per-size rules derived from it. The
// transport, the scene's padding, the uploads and the device scan all read
// these; nothing else decides by vendor or product id.
class DeviceModels
{
public:
    static const std::vector<DeviceModel>& all();

    // Null for an unknown pair.
    static const DeviceModel* find(int vendorId, int productId);
    static bool isKnown(int vendorId, int productId) { return find(vendorId, productId) != nullptr; }
    static bool isDisplay(int vendorId, int productId);
    static bool isDigital(int vendorId, int productId);

    // Unknown pairs behave like the common display models.
    static DeviceModel::UploadVariant uploadVariant(int vendorId, int productId);
    static bool encodesFrames(int vendorId, int productId);
    static bool switchesExpansionMode(int vendorId, int productId);

    // Encoder size and picture placement for a panel of the reported size.
    static EncoderLayout encoderLayout(const QSize& panelSize, int vendorId, int productId);
    // The reported panel size back from an encoder size and size variant.
    static QSize panelSizeForEncoder(const QSize& encoderSize, int sizeVariant);

    // Upload pack size in bytes for an upload kind (1 firmware, 2 logo or
    // boot video) and the number of 10 ms acknowledgement polls allowed.
    static int uploadPackSize(DeviceModel::UploadVariant variant, int kind);
    static int uploadAckPollLimit(DeviceModel::UploadVariant variant);
};
