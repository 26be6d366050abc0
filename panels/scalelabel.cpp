#include "scalelabel.h"

#include <QMouseEvent>

scaleLabel::scaleLabel(QWidget* parent) : QLabel(parent) {}

void scaleLabel::setItemSize(int w, int h)
{
    m_itemSize = QSize(w, h);
}

void scaleLabel::setAreaSize(int w, int h)
{
    m_areaSize = QSize(w, h);
}

QRect scaleLabel::allowedTopLeft() const
{
    return QRect(kKeptInside - m_itemSize.width(), kKeptInside - m_itemSize.height(),
                 m_areaSize.width() - 2 * kKeptInside + m_itemSize.width(),
                 m_areaSize.height() - 2 * kKeptInside + m_itemSize.height());
}

void scaleLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragOffset = event->globalPos() - pos();
    }
    QLabel::mousePressEvent(event);
}

void scaleLabel::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton) {
        const QPoint topLeft = event->globalPos() - m_dragOffset;
        // Both ends count: 25 pixels inside on the right is as good as on the left.
        const QRect allowed = allowedTopLeft();
        if (topLeft.x() >= allowed.x() && topLeft.x() <= allowed.x() + allowed.width() &&
            topLeft.y() >= allowed.y() && topLeft.y() <= allowed.y() + allowed.height()) {
            move(topLeft);
        }
    }
    QLabel::mouseMoveEvent(event);
}
