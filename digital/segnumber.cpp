#include "segnumber.h"

#include <QPainter>

namespace {

// Lit segments per digit, bit i for segment i (Top first).
constexpr unsigned kPatterns[10] = {
    0b1110111, // 0: all but the middle
    0b1000100, // 1: upper right, lower right
    0b0111101, // 2
    0b1101101, // 3
    0b1001110, // 4
    0b1101011, // 5
    0b1111011, // 6
    0b1000101, // 7
    0b1111111, // 8
    0b1101111, // 9
};

const QColor kDark(15, 15, 15);

} // namespace

SegNumber::SegNumber(QGraphicsItem* parent)
    : QGraphicsWidget(parent), m_litFill(kDark), m_litOutline(kDark), m_unlitFill(kDark),
      m_unlitOutline(kDark)
{
    resize(180, 180);
    setScale(kScale);
    m_litFill = QColor(Qt::red);
    m_litOutline = QColor(Qt::red);
    setNumber(kBlank);
}

bool SegNumber::isLit(int digit, int segment)
{
    if (digit < 0 || digit > 9 || segment < 0 || segment >= kSegments) {
        return false;
    }
    return (kPatterns[digit] >> segment) & 1U;
}

QPolygonF SegNumber::segmentPolygon(int segment)
{
    switch (segment) {
    case Top:
        return QPolygonF({{7, 0}, {123, 0}, {113, 10}, {17, 10}});
    case UpperLeft:
        return QPolygonF({{2, 5}, {12, 15}, {12, 78}, {2, 85}});
    case UpperRight:
        return QPolygonF({{128, 5}, {118, 15}, {118, 78}, {128, 85}});
    case Middle:
        return QPolygonF({{5, 90}, {15, 85}, {115, 85}, {125, 90}, {115, 95}, {15, 95}});
    case LowerLeft:
        return QPolygonF({{2, 96}, {12, 102}, {12, 163}, {2, 173}, {2, 97}});
    case Bottom:
        return QPolygonF({{7, 178}, {123, 178}, {113, 168}, {17, 168}});
    case LowerRight:
        return QPolygonF({{128, 95}, {118, 102}, {118, 163}, {128, 173}, {128, 97}});
    default:
        return QPolygonF();
    }
}

void SegNumber::setNumber(int n)
{
    m_number = n;
    recolour();
}

void SegNumber::setColor(const QColor& color)
{
    m_litFill = color;
    m_litOutline = color;
    recolour();
}

void SegNumber::recolour()
{
    for (int i = 0; i < kSegments; ++i) {
        const bool lit = isLit(m_number, i);
        m_fill[i] = lit ? m_litFill : m_unlitFill;
        m_outline[i] = lit ? m_litOutline : m_unlitOutline;
    }
    update();
}

void SegNumber::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    for (int i = 0; i < kSegments; ++i) {
        painter->setPen(m_outline[i]);
        painter->setBrush(m_fill[i]);
        painter->drawPolygon(segmentPolygon(i));
    }
    painter->restore();
}
