#pragma once

#include <QLabel>
#include <QPoint>
#include <QSize>

// The movable crop frame of the clipping tool: a label dragged with the
// left button inside an area, never so far that less than 25 pixels of it
// stay inside.
class scaleLabel : public QLabel
{
    Q_OBJECT

public:
    static constexpr int kKeptInside = 25;

    explicit scaleLabel(QWidget* parent = nullptr);

    void setItemSize(int w, int h);
    void setAreaSize(int w, int h);
    // Where the label's top-left corner may go.
    QRect allowedTopLeft() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QSize m_itemSize;
    QSize m_areaSize;
    QPoint m_dragOffset;
};
