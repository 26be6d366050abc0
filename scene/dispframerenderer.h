#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>

#include <array>

class QGraphicsScene;

// Renders a scene into the image a device takes: the scene on white, turned
// by quarter turns and placed on a transparent, wider image when the panel's
// encoder needs one. An upright scene is drawn straight into the device
// image. A turned one is drawn upright into a reused buffer and then through a
// rotated painter into the device image: drawing the items themselves turned
// would rasterise glyphs and anti-aliased edges differently, while a quarter
// turn of an image by the painter is exact, so the frame matches, pixel for
// pixel, the upright frame turned with QImage::transformed, at a fraction of
// its cost. Images are reused from a small pool: a frame still held
// elsewhere (queued for encoding, shown as the preview) is never drawn over,
// and no full frame is allocated per call once the pool is warm. A still
// scene keeps only the frame it shows (releaseSpareImages).
class DispFrameRenderer
{
public:
    static constexpr int kPoolSize = 4;

    // The picture's size after quarterTurns (1 = 90 degrees clockwise, 2 =
    // 180, 3 = 270, any other value none).
    static QSize turnedSize(const QSize& sceneSize, int quarterTurns);
    // Maps scene coordinates onto the turned picture with its top-left corner
    // at offset.
    static QTransform pictureTransform(const QSize& sceneSize, int quarterTurns, const QPoint& offset);

    // imageSize empty: the image is the turned picture itself. Otherwise the
    // image has imageSize, is transparent and holds the picture at offset.
    QImage render(QGraphicsScene& scene, int quarterTurns, const QSize& imageSize = QSize(),
                  const QPoint& offset = QPoint());

    // Full-size images allocated so far (pool warm-up and size changes).
    int allocationCount() const { return m_allocations; }
    // Frees the pooled images no one else holds and the upright buffer, and
    // hands the memory back to the system: for a scene that has stopped
    // changing, whose one frame stays in use. The next changes fill the pool
    // again. Returns the number of images freed.
    int releaseSpareImages();
    // Full-size images held now: the pool's and the upright buffer.
    int imageCount() const;

private:
    QImage& freeImage(const QSize& size);

    std::array<QImage, kPoolSize> m_pool;
    QImage m_upright;
    QSize m_poolSize;
    QPoint m_poolOffset;
    int m_allocations = 0;
};
