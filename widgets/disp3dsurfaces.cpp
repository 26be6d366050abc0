#include "disp3dsurfaces.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPainterPath>
#include <QVector3D>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

double signedArea(const QPolygonF& polygon)
{
    double area = 0.0;
    for (int i = 0; i < polygon.size(); ++i) {
        const QPointF& a = polygon[i];
        const QPointF& b = polygon[(i + 1) % polygon.size()];
        area += a.x() * b.y() - b.x() * a.y();
    }
    return area / 2;
}

// A closed subpath repeats its first point at the end; ear clipping wants it once.
QPolygonF openRing(QPolygonF polygon)
{
    if (polygon.size() > 1 && polygon.first() == polygon.last()) {
        polygon.removeLast();
    }
    QPolygonF ring;
    for (const QPointF& p : qAsConst(polygon)) {
        if (ring.isEmpty() || ring.last() != p) {
            ring.append(p);
        }
    }
    return ring;
}

double cross(const QPointF& o, const QPointF& a, const QPointF& b)
{
    return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
}

bool insideTriangle(const QPointF& p, const QPointF& a, const QPointF& b, const QPointF& c)
{
    const double d1 = cross(a, b, p);
    const double d2 = cross(b, c, p);
    const double d3 = cross(c, a, p);
    const bool negative = d1 < 0 || d2 < 0 || d3 < 0;
    const bool positive = d1 > 0 || d2 > 0 || d3 > 0;
    return !(negative && positive);
}

bool segmentsCross(const QPointF& a, const QPointF& b, const QPointF& c, const QPointF& d)
{
    const double d1 = cross(c, d, a);
    const double d2 = cross(c, d, b);
    const double d3 = cross(a, b, c);
    const double d4 = cross(a, b, d);
    return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

// Joins a hole into the outline with a two-way bridge from the hole's
// rightmost point to the nearest outline point that sees it, so the result
// is one ring that ear clipping can cut.
QPolygonF bridge(const QPolygonF& outline, const QPolygonF& hole, const QVector<QPolygonF>& others)
{
    int m = 0;
    for (int i = 1; i < hole.size(); ++i) {
        if (hole[i].x() > hole[m].x()) {
            m = i;
        }
    }
    const QPointF from = hole[m];
    const auto blocked = [&](const QPointF& to) {
        const auto crossesRing = [&](const QPolygonF& ring) {
            for (int i = 0; i < ring.size(); ++i) {
                if (segmentsCross(from, to, ring[i], ring[(i + 1) % ring.size()])) {
                    return true;
                }
            }
            return false;
        };
        if (crossesRing(outline) || crossesRing(hole)) {
            return true;
        }
        return std::any_of(others.begin(), others.end(), crossesRing);
    };
    int best = -1;
    double bestDistance = std::numeric_limits<double>::max();
    for (int i = 0; i < outline.size(); ++i) {
        const double distance = QLineF(from, outline[i]).length();
        if (distance < bestDistance && !blocked(outline[i])) {
            best = i;
            bestDistance = distance;
        }
    }
    if (best < 0) {
        return outline; // no visible point: the hole stays filled
    }
    QPolygonF joined;
    for (int i = 0; i <= best; ++i) {
        joined.append(outline[i]);
    }
    for (int i = 0; i <= hole.size(); ++i) {
        joined.append(hole[(m + i) % hole.size()]);
    }
    for (int i = best; i < outline.size(); ++i) {
        joined.append(outline[i]);
    }
    return joined;
}

void appendTriangle(QVector<float>& out, QVector3D a, QVector3D b, QVector3D c, const QVector3D& outward)
{
    QVector3D normal = QVector3D::crossProduct(b - a, c - a);
    if (QVector3D::dotProduct(normal, outward) < 0) {
        std::swap(b, c); // counter-clockwise seen from outside, for back-face culling
        normal = -normal;
    }
    normal.normalize();
    for (const QVector3D& v : {a, b, c}) {
        out << v.x() << v.y() << v.z() << normal.x() << normal.y() << normal.z();
    }
}

void appendPrism(QVector<float>& out, const QPointF& a, const QPointF& b, const QPointF& c, float depth)
{
    const QPointF corners[3] = {a, b, c};
    const auto at = [](const QPointF& p, float z) { return QVector3D(float(p.x()), float(p.y()), z); };
    // z = 0 faces the camera once the text is turned about x by 180 degrees.
    appendTriangle(out, at(a, 0), at(b, 0), at(c, 0), QVector3D(0, 0, -1));
    appendTriangle(out, at(a, depth), at(b, depth), at(c, depth), QVector3D(0, 0, 1));
    const QPointF centre = (a + b + c) / 3;
    for (int i = 0; i < 3; ++i) {
        const QPointF& p = corners[i];
        const QPointF& q = corners[(i + 1) % 3];
        const QPointF mid = (p + q) / 2;
        const QVector3D outward(float(mid.x() - centre.x()), float(mid.y() - centre.y()), 0);
        appendTriangle(out, at(p, 0), at(q, 0), at(q, depth), outward);
        appendTriangle(out, at(p, 0), at(q, depth), at(p, depth), outward);
    }
}

} // namespace

QVector<QPointF> Disp3DSurfaces::triangulate(QPolygonF outline, const QVector<QPolygonF>& holes)
{
    // Outline counter-clockwise, holes clockwise (in y-up terms: the sign
    // only has to differ), then each hole bridged in, largest x first.
    outline = openRing(outline);
    if (signedArea(outline) < 0) {
        std::reverse(outline.begin(), outline.end());
    }
    QVector<QPolygonF> rings;
    for (const QPolygonF& hole : holes) {
        QPolygonF ring = openRing(hole);
        if (ring.size() < 3) {
            continue;
        }
        if (signedArea(ring) > 0) {
            std::reverse(ring.begin(), ring.end());
        }
        rings.append(ring);
    }
    std::sort(rings.begin(), rings.end(), [](const QPolygonF& a, const QPolygonF& b) {
        return a.boundingRect().right() > b.boundingRect().right();
    });
    for (int i = 0; i < rings.size(); ++i) {
        outline = bridge(outline, rings[i], rings.mid(i + 1));
    }

    QVector<QPointF> triangles;
    QVector<QPointF> ring(outline.begin(), outline.end());
    // Each pass cuts one ear; a ring that has none left (degenerate input)
    // stops the cutting instead of looping.
    while (ring.size() >= 3) {
        const int n = ring.size();
        bool cut = false;
        for (int i = 0; i < n; ++i) {
            const QPointF& a = ring[(i + n - 1) % n];
            const QPointF& b = ring[i];
            const QPointF& c = ring[(i + 1) % n];
            if (cross(a, b, c) <= 0) {
                continue; // reflex or flat corner
            }
            bool ear = true;
            for (int j = 0; j < n && ear; ++j) {
                const QPointF& p = ring[j];
                if (p == a || p == b || p == c) {
                    continue;
                }
                ear = !insideTriangle(p, a, b, c);
            }
            if (ear) {
                triangles << a << b << c;
                ring.remove(i);
                cut = true;
                break;
            }
        }
        if (!cut) {
            // Remove a flat corner, if any, and try again; else give up.
            bool removed = false;
            for (int i = 0; i < n; ++i) {
                if (std::abs(cross(ring[(i + n - 1) % n], ring[i], ring[(i + 1) % n])) < 1e-9) {
                    ring.remove(i);
                    removed = true;
                    break;
                }
            }
            if (!removed) {
                break;
            }
        }
    }
    return triangles;
}

Disp3DSurfaces::Result Disp3DSurfaces::build(const QString& text, const QFont& font, float depth)
{
    Result result;
    const QFontMetricsF metrics(font);
    qreal x = 0;
    for (const QChar ch : text) {
        QPainterPath path;
        path.addText(QPointF(x, 0), font, QString(ch));
        x += metrics.horizontalAdvance(ch);
        const QList<QPolygonF> polygons = path.toSubpathPolygons();
        // A polygon inside an odd number of others is a hole of the smallest
        // of them; every other polygon is an outline of its own (so "%" and
        // "i" come out as separate solids with open holes).
        QVector<QPolygonF> rings;
        for (const QPolygonF& polygon : polygons) {
            const QPolygonF ring = openRing(polygon);
            if (ring.size() >= 3 && std::abs(signedArea(ring)) > 1e-6) {
                rings.append(ring);
            }
        }
        QVector<int> parent(rings.size(), -1);
        QVector<int> depthOf(rings.size(), 0);
        for (int i = 0; i < rings.size(); ++i) {
            double smallest = std::numeric_limits<double>::max();
            const double area = std::abs(signedArea(rings[i]));
            for (int j = 0; j < rings.size(); ++j) {
                const double other = std::abs(signedArea(rings[j]));
                if (j == i || other <= area || !rings[j].containsPoint(rings[i].first(), Qt::OddEvenFill)) {
                    continue;
                }
                ++depthOf[i];
                if (other < smallest) {
                    smallest = other;
                    parent[i] = j;
                }
            }
        }
        for (int i = 0; i < rings.size(); ++i) {
            if (depthOf[i] % 2 != 0) {
                continue;
            }
            QVector<QPolygonF> holes;
            for (int j = 0; j < rings.size(); ++j) {
                if (parent[j] == i && depthOf[j] % 2 != 0) {
                    holes.append(rings[j]);
                }
            }
            const QVector<QPointF> triangles = triangulate(rings[i], holes);
            for (int t = 0; t + 2 < triangles.size(); t += 3) {
                appendPrism(result.vertices, triangles[t], triangles[t + 1], triangles[t + 2], depth);
            }
        }
    }
    result.textWidth = int(x);
    return result;
}
