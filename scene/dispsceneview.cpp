#include "dispsceneview.h"

#include "dispscene.h"
#include "scenelog.h"

#include <QContextMenuEvent>
#include <QGraphicsItem>
#include <QMenu>
#include <QMouseEvent>

DispSceneView::DispSceneView(QGraphicsScene* scene, QWidget* parent) : QGraphicsView(scene, parent) {}

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
