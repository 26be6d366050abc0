#include "dispwidget.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QPainter>
#include <QPalette>
#include <QStyleOptionGraphicsItem>
#include <QWidget>

#include <algorithm>

DispWidget::DispWidget(DispWidget* parent) : QGraphicsWidget(parent)
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);

    m_proxy = new QGraphicsProxyWidget(this);
    // Presses on the content move and select the widget, not the content.
    m_proxy->setAcceptedMouseButtons(Qt::NoButton);
    m_proxy->setWidget(new QWidget);

    connect(this, &QGraphicsObject::xChanged, this, [this] { emit xChanged2(int(x())); });
    connect(this, &QGraphicsObject::yChanged, this, [this] { emit yChanged2(int(y())); });
}

DispWidget::~DispWidget()
{
    delete m_proxy; // deletes the content widget with it
}

QWidget* DispWidget::contentWidget() const
{
    return m_proxy->widget();
}

void DispWidget::cacheContent()
{
    m_proxy->setCacheMode(QGraphicsItem::ItemCoordinateCache);
}

void DispWidget::setContentWidget(QWidget* widget)
{
    QWidget* previous = m_proxy->widget();
    if (previous == widget) {
        return;
    }
    prepareGeometryChange();
    m_proxy->setWidget(widget);
    if (previous != nullptr) {
        // Out of the proxy the old content is a shown top-level window of its
        // own until it is deleted: hide it so it never gets a window buffer.
        previous->hide();
        previous->deleteLater();
    }
}

QRectF DispWidget::boundingRect() const
{
    const QWidget* content = m_proxy->widget();
    if (content == nullptr) {
        return QRectF();
    }
    return QRectF(QPointF(0, 0), QSizeF(content->size()));
}

QPainterPath DispWidget::shape() const
{
    QPainterPath path;
    path.addRect(boundingRect());
    return path;
}

void DispWidget::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    Q_UNUSED(widget)
    const QRectF bounds = boundingRect();
    if (size() != bounds.size()) {
        resize(bounds.size());
    }
    if (option->state & QStyle::State_Selected) {
        paintSelectionFrame(painter, bounds, option->palette);
    }
}

void DispWidget::paintSelectionFrame(QPainter* painter, const QRectF& rect, const QPalette& palette)
{
    const QColor text = palette.windowText().color();
    const QColor contrast(text.red() < 128 ? 255 : 0, text.green() < 128 ? 255 : 0,
                          text.blue() < 128 ? 255 : 0, 255);
    painter->setPen(QPen(contrast, 0, Qt::SolidLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect);
    painter->setPen(QPen(palette.windowText(), 0, Qt::DashLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect);
}

QPointF DispWidget::clampPosition(const QPointF& proposed, const QRectF& allowed)
{
    // Not QRectF::contains: it would normalise a negative width.
    const bool inside = proposed.x() >= allowed.left() && proposed.x() <= allowed.right() &&
                        proposed.y() >= allowed.top() && proposed.y() <= allowed.bottom();
    if (inside) {
        return proposed;
    }
    // Raised to the lower bound first, then lowered to the upper one, so an
    // item larger than the scene ends on the upper (possibly negative) bound.
    const qreal x = std::min(std::max(proposed.x(), allowed.left()), allowed.right());
    const qreal y = std::min(std::max(proposed.y(), allowed.top()), allowed.bottom());
    return QPointF(x, y);
}

QRectF DispWidget::allowedArea() const
{
    const QRectF sceneArea = scene()->sceneRect();
    const QRectF bounds = boundingRect();
    if (!objectName().contains(QLatin1String("progress_bar"))) {
        return QRectF(0, 0, sceneArea.width() - bounds.width(), sceneArea.height() - bounds.height());
    }
    const int length = progressBarLength();
    const int half = length / 2;
    const int rotation = progressBarRotation();
    if (rotation != 0 && rotation != 180) {
        return QRectF(half - bounds.width() / 2, 0, sceneArea.width() - length,
                      sceneArea.height() - bounds.height());
    }
    return QRectF(0, half - bounds.height() / 2, sceneArea.width() - bounds.width(),
                  sceneArea.height() - length);
}

QVariant DispWidget::itemChange(GraphicsItemChange change, const QVariant& value)
{
    if (change == ItemPositionChange && scene() != nullptr) {
        bool clamp = true;
        if (objectName().contains(QLatin1String("progress_bar"))) {
            // A bar is only held in while it is the one being edited.
            const QList<QGraphicsItem*> selected = scene()->selectedItems();
            clamp = false;
            if (!selected.isEmpty()) {
                const QGraphicsObject* first = selected.first()->toGraphicsObject();
                clamp = first != nullptr && first->objectName() == objectName();
            }
        }
        if (clamp) {
            return QGraphicsWidget::itemChange(change, clampPosition(value.toPointF(), allowedArea()));
        }
    }
    return QGraphicsWidget::itemChange(change, value);
}
