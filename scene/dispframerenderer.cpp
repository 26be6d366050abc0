#include "dispframerenderer.h"

#include <QGraphicsScene>
#include <QPainter>

#ifdef __GLIBC__
#include <malloc.h>
#endif

QSize DispFrameRenderer::turnedSize(const QSize& sceneSize, int quarterTurns)
{
    return (quarterTurns == 1 || quarterTurns == 3) ? sceneSize.transposed() : sceneSize;
}

QTransform DispFrameRenderer::pictureTransform(const QSize& sceneSize, int quarterTurns, const QPoint& offset)
{
    // The same pixel mapping as QImage::transformed with a pure rotation:
    // pixel (x, y) goes to (h - 1 - y, x) for 90 degrees, and so on.
    QTransform transform;
    transform.translate(offset.x(), offset.y());
    switch (quarterTurns) {
    case 1:
        transform.translate(sceneSize.height(), 0);
        transform.rotate(90);
        break;
    case 2:
        transform.translate(sceneSize.width(), sceneSize.height());
        transform.rotate(180);
        break;
    case 3:
        transform.translate(0, sceneSize.width());
        transform.rotate(270);
        break;
    default:
        break;
    }
    return transform;
}

int DispFrameRenderer::releaseSpareImages()
{
    int released = 0;
    for (QImage& image : m_pool) {
        if (!image.isNull() && image.isDetached()) {
            image = QImage();
            ++released;
        }
    }
    if (!m_upright.isNull()) {
        m_upright = QImage();
        ++released;
    }
#ifdef __GLIBC__
    // Frames this size come from the heap once glibc has raised its mmap
    // threshold past them, and freeing them there leaves the pages resident.
    if (released > 0) {
        malloc_trim(0);
    }
#endif
    return released;
}

int DispFrameRenderer::imageCount() const
{
    int count = m_upright.isNull() ? 0 : 1;
    for (const QImage& image : m_pool) {
        count += image.isNull() ? 0 : 1;
    }
    return count;
}

QImage& DispFrameRenderer::freeImage(const QSize& size)
{
    for (QImage& image : m_pool) {
        if (!image.isNull() && image.isDetached()) {
            return image;
        }
    }
    // Every pooled image is still in use elsewhere (or the pool is cold):
    // replace one; its holder keeps its own copy alive.
    QImage* slot = &m_pool[0];
    for (QImage& image : m_pool) {
        if (image.isNull()) {
            slot = &image;
            break;
        }
    }
    *slot = QImage(size, QImage::Format_ARGB32_Premultiplied);
    slot->fill(Qt::transparent);
    ++m_allocations;
    return *slot;
}

QImage DispFrameRenderer::render(QGraphicsScene& scene, int quarterTurns, const QSize& imageSize,
                                 const QPoint& offset)
{
    const QSize sceneSize = scene.sceneRect().size().toSize();
    const QSize pictureSize = turnedSize(sceneSize, quarterTurns);
    const QSize size = imageSize.isEmpty() ? pictureSize : imageSize;
    const QPoint at = imageSize.isEmpty() ? QPoint() : offset;
    if (size.isEmpty()) {
        return QImage();
    }
    if (size != m_poolSize || at != m_poolOffset) {
        m_pool = {};
        m_poolSize = size;
        m_poolOffset = at;
    }

    QImage& image = freeImage(size);
    const QRect picture = QRect(at, pictureSize).intersected(image.rect());
    const QRectF sceneArea(QPointF(0, 0), QSizeF(sceneSize));
    const bool turned = quarterTurns >= 1 && quarterTurns <= 3;
    // Only the picture is drawn over; a band around it stays transparent
    // from the image's allocation. A clip costs the raster engine its fast
    // paths, so it is set only when there is a band to protect.
    const bool banded = picture != image.rect();
    // Every painter on the image ends before the image is returned: a copy
    // of an image being painted on is a deep copy, a new full frame per call.
    if (!turned) {
        if (!banded) {
            image.fill(Qt::white);
        }
        QPainter painter(&image);
        if (banded) {
            painter.setClipRect(picture);
            painter.fillRect(picture, Qt::white);
        }
        painter.translate(at);
        scene.render(&painter, sceneArea, scene.sceneRect(), Qt::KeepAspectRatio);
        painter.end();
        return image;
    }

    if (m_upright.size() != sceneSize) {
        m_upright = QImage(sceneSize, QImage::Format_ARGB32_Premultiplied);
        ++m_allocations;
    }
    m_upright.fill(Qt::white);
    {
        QPainter painter(&m_upright);
        scene.render(&painter, sceneArea, scene.sceneRect(), Qt::KeepAspectRatio);
    }
    QPainter painter(&image);
    if (banded) {
        painter.setClipRect(picture);
    }
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setTransform(pictureTransform(sceneSize, quarterTurns, at));
    painter.drawImage(QPointF(0, 0), m_upright);
    painter.end();
    return image;
}
