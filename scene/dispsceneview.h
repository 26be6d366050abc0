#pragma once

#include <QGraphicsView>

class QGraphicsItem;
class QMenu;

// Shows the selected device's scene; its context menu raises an item to the
// top of its siblings or sends it to the bottom.
class DispSceneView : public QGraphicsView
{
    Q_OBJECT

public:
    explicit DispSceneView(QGraphicsScene* scene, QWidget* parent = nullptr);

    // The item last pressed with the right button (or its parent item).
    QGraphicsItem* contextItem() const { return m_contextItem; }

signals:
    // The context menu over item (the context item) is about to open; other
    // libraries add entries for the widget kinds they know.
    void contextMenuAboutToShow(QMenu* menu, QGraphicsItem* item);

public slots:
    void update();
    void raiseAction();
    void lowerAction();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool contextItemValid() const;

    QGraphicsItem* m_contextItem = nullptr;
};
