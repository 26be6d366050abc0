#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include <cstdlib>

// Pixel checks for pictures that went through H.264 or antialiased drawing.
namespace Pixels {

// Largest difference of one colour channel between two colours.
inline int distance(QRgb a, QRgb b)
{
    return qMax(qAbs(qRed(a) - qRed(b)), qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
}

inline bool near(QRgb a, QRgb b, int tolerance = 24)
{
    return distance(a, b) < tolerance;
}

// Pixels of the image inside rect whose channels sum within 120 of colour.
inline int countNear(const QImage& image, const QRect& rect, const QColor& colour)
{
    int count = 0;
    const QRect inside = rect.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            count += std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green()) +
                         std::abs(pixel.blue() - colour.blue()) <
                     120;
        }
    }
    return count;
}

} // namespace Pixels
