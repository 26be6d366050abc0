#pragma once

#include <QColor>
#include <QGraphicsWidget>

#include <array>

// One seven-segment digit of the segment scene: 180 x 180, drawn at scale
// 0.7. Shows 0 to 9, or nothing (10).
class SegNumber : public QGraphicsWidget
{
    Q_OBJECT

public:
    static constexpr int kSegments = 7;
    static constexpr int kBlank = 10;
    static constexpr qreal kScale = 0.7;

    // Segment order: top, upper left, upper right, middle, lower left,
    // bottom, lower right.
    enum Segment
    {
        Top,
        UpperLeft,
        UpperRight,
        Middle,
        LowerLeft,
        Bottom,
        LowerRight,
    };

    explicit SegNumber(QGraphicsItem* parent = nullptr);

    int number() const { return m_number; }
    QColor litColor() const { return m_litFill; }
    // Whether `segment` is lit for `digit` (0 to 9; 10 and anything else
    // lights none).
    static bool isLit(int digit, int segment);
    // The segment's outline in item coordinates (unscaled).
    static QPolygonF segmentPolygon(int segment);

    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

public slots:
    void setNumber(int n);
    void setColor(const QColor& color);

private:
    void recolour();

    int m_number = kBlank;
    QColor m_litFill;
    QColor m_litOutline;
    QColor m_unlitFill;
    QColor m_unlitOutline;
    std::array<QColor, kSegments> m_fill;
    std::array<QColor, kSegments> m_outline;
};
