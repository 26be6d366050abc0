#pragma once

#include <QGraphicsWidget>
#include <QPointer>

class QGraphicsProxyWidget;
class QPalette;

// Base of every display widget placed on a scene. Its identity is its object
// name (type word plus "_<counter>" or a given suffix), by which panels and
// the theme code find widgets. It shows its content through a graphics proxy,
// keeps itself inside the scene and draws the selection frame.
class DispWidget : public QGraphicsWidget
{
    Q_OBJECT

public:
    explicit DispWidget(DispWidget* parent = nullptr);
    ~DispWidget() override;

    DispWidget(const DispWidget&) = delete;
    DispWidget& operator=(const DispWidget&) = delete;

    QRectF boundingRect() const override;
    // Hits follow the content even before the first paint resizes the item.
    QPainterPath shape() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    QWidget* contentWidget() const;
    // Installs a new content widget in the proxy (which takes it over); the
    // previous one is hidden and released with deleteLater.
    void setContentWidget(QWidget* widget);
    // Frames reuse the content's last drawing until it repaints. The device
    // frames and the editor views share one cached drawing: with one cache per
    // paint device, the first to draw after a repaint takes the invalidation
    // and the others keep showing the old drawing.
    void cacheContent();

    // Progress bars clamp by their bar length and rotation in degrees; other
    // widgets have neither.
    virtual int progressBarLength() const { return 0; }
    virtual int progressBarRotation() const { return 0; }
    // Widgets that decode media stop their decoder thread here before the
    // scene deletes them.
    virtual void stopDecoder() {}

    // The frame drawn around a selected item: a solid cosmetic rectangle in
    // the contrast of the window-text colour, then a dashed one in the
    // window-text colour itself.
    static void paintSelectionFrame(QPainter* painter, const QRectF& rect, const QPalette& palette);
    // The proposed position limited to allowed (edges count as inside). An
    // allowed rectangle of negative width or height pins the item to its
    // right or bottom bound, which is then below the left or top one.
    static QPointF clampPosition(const QPointF& proposed, const QRectF& allowed);

signals:
    void xChanged2(int x);
    void yChanged2(int y);
    void wChanged2(int w);
    void hChanged2(int h);

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;

private:
    QRectF allowedArea() const;

    QGraphicsProxyWidget* m_proxy = nullptr;
};
