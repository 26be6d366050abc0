#pragma once

#include <QFont>
#include <QPolygonF>
#include <QString>
#include <QVector>

// The solid surfaces of extruded text: each glyph's outline split into
// polygons, outlines triangulated with their holes by ear clipping, and every
// triangle made into a closed prism between z = 0 and z = depth. Six floats
// per vertex: position x, y, z and the flat normal of its triangle.
class Disp3DSurfaces
{
public:
    Disp3DSurfaces() = delete;

    struct Result
    {
        QVector<float> vertices;
        // The sum of the glyph advances.
        int textWidth = 0;
    };

    // Glyphs sit side by side from x = 0 (each at the advances before it),
    // baseline at y = 0, in the font's coordinates (y grows downwards).
    static Result build(const QString& text, const QFont& font, float depth);

    // Triangles (three points each) covering outline minus its holes.
    static QVector<QPointF> triangulate(QPolygonF outline, const QVector<QPolygonF>& holes);
};
