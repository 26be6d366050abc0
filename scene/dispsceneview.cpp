#include "dispsceneview.h"

#include "dispscene.h"
#include "scenelog.h"

#include <QContextMenuEvent>
#include <QGraphicsItem>
#include <QMenu>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

DispSceneView::DispSceneView(QGraphicsScene* scene, QWidget* parent) : QGraphicsView(scene, parent)
{
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setRenderHint(QPainter::SmoothPixmapTransform);
    showScene(scene);
}

void DispSceneView::showScene(QGraphicsScene* scene)
{
    disconnect(m_sceneRectWatch);
    setScene(scene);
    if (scene != nullptr) {
        // A rotation turns the scene's rectangle; a fitted view follows it.
        m_sceneRectWatch = connect(scene, &QGraphicsScene::sceneRectChanged, this, [this] {
            if (m_fit) {
                refit();
            }
        });
    }
    zoomToFit();
}

void DispSceneView::zoomIn()
{
    setZoom(zoom() * kZoomStep);
}

void DispSceneView::zoomOut()
{
    setZoom(zoom() / kZoomStep);
}

void DispSceneView::zoomActual()
{
    setZoom(1.0);
}

void DispSceneView::zoomToFit()
{
    m_fit = true;
    refit();
}

void DispSceneView::setZoom(double factor)
{
    m_fit = false;
    applyZoom(factor);
}

void DispSceneView::applyZoom(double factor)
{
    factor = std::clamp(factor, kMinZoom, kMaxZoom);
    if (qFuzzyCompare(factor, zoom())) {
        return;
    }
    setTransform(QTransform::fromScale(factor, factor));
    emit zoomChanged(factor);
}

void DispSceneView::refit()
{
    const QRectF rect = scene() != nullptr ? scene()->sceneRect() : QRectF();
    const QSize space = viewport()->size();
    if (rect.width() <= 0 || rect.height() <= 0 || space.isEmpty()) {
        return;
    }
    // A small panel is enlarged only up to twice its size: bigger than that
    // shows nothing new and blurs the frame.
    // Two pixels spare keep rounding from calling up the scroll bars.
    const double factor =
        std::min({(space.width() - 2) / rect.width(), (space.height() - 2) / rect.height(), 2.0});
    applyZoom(factor);
}

void DispSceneView::resizeEvent(QResizeEvent* event)
{
    QGraphicsView::resizeEvent(event);
    if (m_fit) {
        refit();
    }
}

void DispSceneView::wheelEvent(QWheelEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        const int steps = event->angleDelta().y() / 120;
        if (steps != 0) {
            setZoom(zoom() * std::pow(kZoomStep, steps));
        }
        event->accept();
        return;
    }
    QGraphicsView::wheelEvent(event);
}

void DispSceneView::update()
{
    viewport()->update();
}

bool DispSceneView::contextItemValid() const
{
    // The item may have been deleted since the press; only trust it while the
    // scene still holds it.
    return m_contextItem != nullptr && scene() != nullptr && scene()->items().contains(m_contextItem);
}

void DispSceneView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        QGraphicsItem* item = itemAt(event->pos());
        if (item != nullptr && item->parentItem() != nullptr) {
            item = item->parentItem();
        }
        m_contextItem = item;
    }
    QGraphicsView::mousePressEvent(event);
}

void DispSceneView::contextMenuEvent(QContextMenuEvent* event)
{
    if (itemAt(event->pos()) != nullptr) {
        QMenu menu(this);
        menu.setStyleSheet(QStringLiteral("QMenu { background-color: gray}"));
        menu.addAction(tr("Raise"), this, &DispSceneView::raiseAction);
        menu.addAction(tr("Lower"), this, &DispSceneView::lowerAction);
        emit contextMenuAboutToShow(&menu, m_contextItem);
        menu.exec(event->globalPos());
    }
    QGraphicsView::contextMenuEvent(event);
}

void DispSceneView::raiseAction()
{
    if (!contextItemValid()) {
        return;
    }
    bool moved = false;
    const QList<QGraphicsItem*> stack = DispScene::stackedItems(scene(), Qt::DescendingOrder);
    for (QGraphicsItem* item : stack) {
        if (item == m_contextItem) {
            break;
        }
        if (item->parentItem() == m_contextItem->parentItem()) {
            item->stackBefore(m_contextItem);
            moved = true;
        }
    }
    if (moved) {
        scene()->update();
    }
}

void DispSceneView::lowerAction()
{
    if (!contextItemValid()) {
        return;
    }
    bool moved = false;
    const QList<QGraphicsItem*> stack = DispScene::stackedItems(scene(), Qt::AscendingOrder);
    for (QGraphicsItem* item : stack) {
        if (item == m_contextItem) {
            break;
        }
        if (item->parentItem() == m_contextItem->parentItem()) {
            m_contextItem->stackBefore(item);
            moved = true;
        }
    }
    if (moved) {
        scene()->update();
    }
}
