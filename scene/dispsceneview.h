#pragma once

#include <QGraphicsView>

class QGraphicsItem;
class QMenu;

// Shows the selected device's scene; its context menu raises an item to the
// top of its siblings or sends it to the bottom. The scene is scaled to the
// space the view has (fit) unless the user zooms; drops, clicks and drags go
// through the view's transform, so they land where the cursor is at any zoom.
class DispSceneView : public QGraphicsView
{
    Q_OBJECT

public:
    static constexpr double kMinZoom = 0.1;
    static constexpr double kMaxZoom = 8.0;
    static constexpr double kZoomStep = 1.25;

    explicit DispSceneView(QGraphicsScene* scene, QWidget* parent = nullptr);

    // The scale the scene is shown at (1 = one scene pixel per screen pixel).
    double zoom() const { return transform().m11(); }
    // True while the view follows its size and the scene's (fit).
    bool fitting() const { return m_fit; }

    // The item last pressed with the right button (or its parent item).
    QGraphicsItem* contextItem() const { return m_contextItem; }

    // Shows scene fitted to the view (a new device, another selection).
    void showScene(QGraphicsScene* scene);

signals:
    void zoomChanged(double factor);
    // The context menu over item (the context item) is about to open; other
    // libraries add entries for the widget kinds they know.
    void contextMenuAboutToShow(QMenu* menu, QGraphicsItem* item);

public slots:
    void update();
    void zoomIn();
    void zoomOut();
    // One scene pixel per screen pixel.
    void zoomActual();
    // The whole scene in the view, and again whenever the view or the scene changes size.
    void zoomToFit();
    // A fixed scale, bounded by kMinZoom and kMaxZoom; leaves fitting.
    void setZoom(double factor);
    void raiseAction();
    void lowerAction();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool contextItemValid() const;
    void applyZoom(double factor);
    void refit();

    bool m_fit = true;
    QMetaObject::Connection m_sceneRectWatch;

    QGraphicsItem* m_contextItem = nullptr;
};
