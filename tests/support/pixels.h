#pragma once

#include <QColor>
#include <QFont>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>

#include <cstdlib>

// Pixel checks shared by the rendering tests: colours within a tolerance
// (decoded frames and antialiased edges never match exactly), counts of such
// pixels in an area, fonts sized in pixels, and a scene rendered on a fill.
namespace Pixels {

// Every colour channel of a within tolerance of b's.
inline bool near(const QColor& a, const QColor& b, int tolerance = 40)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

inline int countNear(const QImage& image, const QRect& area, const QColor& colour, int tolerance = 40)
{
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            count += near(image.pixelColor(x, y), colour, tolerance) ? 1 : 0;
        }
    }
    return count;
}

inline QFont pixelFont(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(bold);
    font.setPixelSize(pixels);
    return font;
}

// The scene's own rectangle drawn onto an image filled with fill.
inline QImage renderScene(QGraphicsScene& scene, const QColor& fill = Qt::white)
{
    QImage image(scene.sceneRect().size().toSize(), QImage::Format_ARGB32);
    image.fill(fill);
    QPainter painter(&image);
    scene.render(&painter, QRectF(image.rect()), scene.sceneRect());
    return image;
}

} // namespace Pixels

namespace Pixels {

// The smallest rectangle holding every pixel of image that match accepts.
template <typename Match>
inline QRect boundsOf(const QImage& image, Match match)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            bounds |= match(image.pixel(x, y)) ? QRect(x, y, 1, 1) : QRect();
        }
    }
    return bounds;
}

} // namespace Pixels
