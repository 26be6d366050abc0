#pragma once

#include "dispframerenderer.h"
#include "dispwidgetfactory.h"

#include <QElapsedTimer>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QVariantMap>
#include <QVector>

#include <array>

class DispSensorManager;
class DispWidget;
class QTimer;
class Transport;

// The editing surface of one display device and the source of its frames.
// Every 33 ms the scene hands its device link an image of the device's size:
// the scene rendered on white, turned by the theme's rotation and padded
// where the panel's encoder is wider. It renders only when something changed
// since the last frame (an item, the scene's size, the rotation or the
// panel); otherwise it hands over the previous image again, which the link
// codes without converting it. A change after a quiet spell does not wait
// for the next tick: the pump runs at once and its rhythm restarts from
// there, so the change is on its way to the device within milliseconds,
// while a steadily changing scene keeps its 33 ms rhythm. Widgets are
// dropped from the tool list, selected, moved, stacked and deleted here.
class DispScene : public QGraphicsScene
{
    Q_OBJECT

public:
    static constexpr int kFrameIntervalMs = 33;
    // Ticks without a change after which the next change is sent at once.
    static constexpr int kQuietTicks = 2;
    // Still this long, the scene frees the frame images it does not show
    // (longer than a clock's second, so a ticking clock does not churn them).
    static constexpr int kStillReleaseMs = 2500;
    // Frames after the last edit before the selection frame is cleared.
    static constexpr int kDeselectFrames = 100;
    static constexpr int kTextItemType = QGraphicsItem::UserType + 1;
    static constexpr const char* kToolMimeType = "application/x-qabstractitemmodeldatalist";

    // What an editor panel keeps on the scene it is attached to, so that a
    // panel attached to this scene again finds its state as it left it.
    struct PanelStore
    {
        bool shown = false;
        int counter = 0;             // the panel's item count
        QList<QGraphicsItem*> items; // the panel's items in creation order
        int current = -1;            // index of the item being edited, -1 for none
        QVariantMap values;          // anything else the panel keeps with the scene
    };
    static constexpr int kPanelStoreCount = 7;

    // Recorded by the background panel when it reads a theme; not drawn here.
    struct BackgroundState
    {
        int type = 0;
        int rotation = 0;
        QColor color = Qt::white; // a new scene is white, as it renders without a background
        QString path;
        QString secondPath;
        bool shown = true;
    };

    explicit DispScene(DispSensorManager* sensorManager = nullptr, QObject* parent = nullptr);
    ~DispScene() override;

    // First sizing: scene rectangle, device size of the link, frame pump.
    void setSceneSize(int width, int height);
    // Later sizing (rotation changes): the device link keeps its size.
    void resizeScene(int width, int height);
    // Stops the frame pump and the device link's thread; blocks until done.
    void clearThread();

    void setRotation(int quarterTurns) { m_rotation = quarterTurns; }
    int rotation() const { return m_rotation; }
    void setSensorManager(DispSensorManager* manager) { m_sensorManager = manager; }
    DispSensorManager* sensorManager() const { return m_sensorManager; }

    // The last rendered frame upright and unpadded, as the scene looks.
    QImage frameImage() const;
    // The last image handed to the device link (turned and padded).
    QImage deviceFrame() const { return m_deviceFrame; }

    void startDeselectCountdown();
    bool deselectCountdownActive() const { return m_deselectActive; }

    DispTextWidget* addTextWidget(const QString& suffix, const QPointF& position);
    DispNumberWidget* addNumberWidget(const QString& suffix, const QPointF& position);
    DispDateWidget* addDateWidget(const QString& suffix, const QPointF& position);
    DispTimeWidget* addTimeWidget(const QString& suffix, const QPointF& position);
    DispWeekdayWidget* addWeekdayWidget(const QString& suffix, const QPointF& position);
    DispImageWidget* addImageWidget(const QString& suffix, const QPointF& position);
    DispScreenCaptureWidget* addScreenCaptureWidget(const QString& suffix, const QPointF& position);
    DispArcWidget* addArcWidget(const QPointF& position);
    DispProgressBarWidget* addProgressBarWidget(const QPointF& position);

    // Items whose object name contains the prefix, topmost first; entries of
    // items that are not display widgets are null.
    QList<DispWidget*> arcWidgets() const;
    QList<DispWidget*> barWidgets() const;
    QList<DispWidget*> dateWidgets() const;
    QList<DispWidget*> dataWidgets() const;
    QList<DispWidget*> iconWidgets() const;
    QList<DispWidget*> maskWidgets() const;
    // Text items, topmost first. A template so that the scene library needs
    // no definition of the text widget; callers that have it instantiate it.
    template <typename Text = DispTextWidget>
    QList<Text*> textWidgets() const
    {
        QList<Text*> list;
        const QList<QGraphicsItem*> all = stackedItems(this, Qt::DescendingOrder);
        for (QGraphicsItem* item : all) {
            if (item->type() == kTextItemType && itemName(item).contains(QLatin1String("text_"))) {
                list.append(qgraphicsitem_cast<Text*>(item));
            }
        }
        return list;
    }
    QList<DispWidget*> widgetsNamed(const QString& part) const;

    DispWidget* findWidgetByName(const QString& name) const;
    void clearWidgets();

    void raiseItem(QGraphicsItem* item);
    void lowerItem(QGraphicsItem* item);

    PanelStore& panelStore(int index) { return m_panelStores[size_t(index)]; }
    // Before a theme load: the item counters of the first five stores.
    void resetPanelStoreCounters();
    BackgroundState& backgroundState() { return m_background; }

    // Null means the standard factory of the widget library.
    void setWidgetFactory(DispWidgetFactory* factory) { m_factory = factory; }
    DispWidgetFactory* widgetFactory() const;

    // Every item of a scene in stacking order. QGraphicsScene::items(order)
    // does not sort when the scene has no index, so this asks for the items
    // of an unbounded area, which are sorted.
    static QList<QGraphicsItem*> stackedItems(const QGraphicsScene* scene, Qt::SortOrder order);

    // The display widget an item under the cursor belongs to: the item when
    // it is named, else its parent widget (a widget's content proxy is
    // unnamed), else null. currentSelectItem carries the item under the
    // cursor as it is; panels map it with this.
    static QGraphicsItem* namedItem(QGraphicsItem* item);

    // The object name of a graphics item, empty for non-objects.
    static QString itemName(const QGraphicsItem* item);

    // The device link of this scene: encodes and writes its frames.
    Transport* transport() const { return m_transport; }
    const DispFrameRenderer& frameRenderer() const { return m_renderer; }

signals:
    void widgetSelectionChanged(QGraphicsItem* selected);
    void widgetListUpdated();
    void widgetPosChanged();
    void currentSelectItem(QGraphicsItem* item);
    void deleteSelectItem(QGraphicsItem* item);

public slots:
    // One tick of the frame pump: render if needed, hand to the device link,
    // count down the selection.
    void pumpFrame();

protected:
    void dragEnterEvent(QGraphicsSceneDragDropEvent* event) override;
    void dragMoveEvent(QGraphicsSceneDragDropEvent* event) override;
    void dropEvent(QGraphicsSceneDragDropEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // One-step stacking: the item to move (the single selected one when none
    // is given) and its neighbour in the given stacking order.
    QGraphicsItem* stackTarget(QGraphicsItem* item) const;
    QGraphicsItem* stackNeighbour(QGraphicsItem* target, Qt::SortOrder order) const;

    template <typename W>
    W* place(const DispMadeWidget<W>& made, const QPointF& position);
    void placeItem(QGraphicsItem* item, const QPointF& position);
    static void acceptTool(QGraphicsSceneDragDropEvent* event);
    void dropTool(const QString& name, QGraphicsSceneDragDropEvent* event);
    // The item itself when named, else its parent widget unless that is the
    // background; null when neither qualifies.
    QGraphicsItem* movedItemAt(const QPointF& scenePos) const;
    QImage paddedFrame();
    // Where the next frame goes: its image size (empty: the turned picture
    // itself) and the picture's offset in it.
    struct FrameLayout
    {
        QSize imageSize;
        QPoint offset;
        QSize pictureSize;
        int rotation = 0;
        bool operator==(const FrameLayout& other) const
        {
            return imageSize == other.imageSize && offset == other.offset &&
                   pictureSize == other.pictureSize && rotation == other.rotation;
        }
    };
    FrameLayout frameLayout() const;
    void restartTimer();
    // The scene's `changed`: marks the content changed and, after a quiet
    // spell, runs the pump at once.
    void noteContentChange();

    DispSensorManager* m_sensorManager = nullptr;
    DispWidgetFactory* m_factory = nullptr;
    QTimer* m_renderTimer = nullptr;
    DispFrameRenderer m_renderer;
    QImage m_deviceFrame;
    // frameImage() of the last device frame that was asked for.
    mutable QImage m_uprightFrame;
    mutable qint64 m_uprightKey = 0;
    FrameLayout m_frameLayout;
    // Set by every change of the scene's content after the last render.
    bool m_contentChanged = true;
    // Since the last render; invalid before the first.
    QElapsedTimer m_sinceRender;
    bool m_spareReleased = false;
    int m_rotation = 0;
    QPointF m_lastItemPos;
    bool m_dragging = false;
    bool m_deselectActive = false;
    int m_deselectCounter = 0;
    BackgroundState m_background;
    std::array<PanelStore, kPanelStoreCount> m_panelStores;
    Transport* m_transport = nullptr;
};
