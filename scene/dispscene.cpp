#include "dispscene.h"

#include "devicemodels.h"
#include "dispwidget.h"
#include "scenelog.h"
#include "transport.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QGraphicsSceneDragDropEvent>
#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTimer>

#include <new>

Q_LOGGING_CATEGORY(lcScene, "panelcast.scene")

DispScene::DispScene(DispSensorManager* sensorManager, QObject* parent)
    : QGraphicsScene(parent), m_sensorManager(sensorManager)
{
    setItemIndexMethod(QGraphicsScene::NoIndex);
    connect(this, &QGraphicsScene::changed, this, &DispScene::noteContentChange);
    m_transport = new Transport(this);
    m_transport->start(QThread::InheritPriority);
}

DispScene::~DispScene()
{
    if (m_renderTimer != nullptr) {
        m_renderTimer->stop();
    }
    // The transport's own teardown stops its thread if clearThread did not.
}

void DispScene::setSceneSize(int width, int height)
{
    qCDebug(lcScene) << "DispScene::setSceneSize" << width << height;
    setSceneRect(0, 0, width, height);
    m_transport->setDeviceSize(width, height);
    if (m_renderTimer == nullptr) {
        m_renderTimer = new QTimer(this);
        m_renderTimer->setObjectName(QStringLiteral("renderTimer"));
        connect(m_renderTimer, &QTimer::timeout, this, &DispScene::pumpFrame);
    }
    restartTimer();
}

void DispScene::resizeScene(int width, int height)
{
    qCDebug(lcScene) << "DispScene::resizeScene" << width << height;
    if (m_renderTimer != nullptr) {
        m_renderTimer->stop();
    }
    setSceneRect(0, 0, width, height);
    if (m_renderTimer != nullptr) {
        restartTimer();
    }
}

void DispScene::restartTimer()
{
    m_renderTimer->start(kFrameIntervalMs);
}

void DispScene::noteContentChange()
{
    m_contentChanged = true;
    // A stopped timer stays stopped (before the first sizing, after
    // clearThread, or while a caller drives the pump itself).
    if (m_renderTimer == nullptr || !m_renderTimer->isActive() ||
        m_renderTimer->interval() != kFrameIntervalMs) {
        return;
    }
    if (!m_sinceRender.isValid() || m_sinceRender.elapsed() >= kQuietTicks * kFrameIntervalMs) {
        m_renderTimer->start(0);
    }
}

void DispScene::clearThread()
{
    qCDebug(lcScene) << "DispScene::clearThread";
    if (m_renderTimer != nullptr) {
        m_renderTimer->stop();
    }
    m_transport->requestInterruption();
    m_transport->quit();
    m_transport->wait();
    qCDebug(lcScene) << "DispScene::clearThread finish";
}

DispWidgetFactory* DispScene::widgetFactory() const
{
    return m_factory != nullptr ? m_factory : DispWidgetFactory::standard();
}

QList<QGraphicsItem*> DispScene::stackedItems(const QGraphicsScene* scene, Qt::SortOrder order)
{
    constexpr qreal kFar = 1e9;
    QList<QGraphicsItem*> list =
        scene->items(QRectF(-kFar, -kFar, 2 * kFar, 2 * kFar), Qt::IntersectsItemBoundingRect, order);
    if (list.size() != scene->items().size()) {
        // Items without any extent are not found by area; they go last.
        const QList<QGraphicsItem*> all = scene->items();
        for (QGraphicsItem* item : all) {
            if (!list.contains(item)) {
                list.append(item);
            }
        }
    }
    return list;
}

QGraphicsItem* DispScene::namedItem(QGraphicsItem* item)
{
    if (item == nullptr) {
        return nullptr;
    }
    if (!itemName(item).isEmpty()) {
        return item;
    }
    QGraphicsWidget* parent = item->parentWidget();
    return (parent != nullptr && !parent->objectName().isEmpty()) ? parent : nullptr;
}

QString DispScene::itemName(const QGraphicsItem* item)
{
    if (item == nullptr) {
        return QString();
    }
    const QGraphicsObject* object = const_cast<QGraphicsItem*>(item)->toGraphicsObject();
    return object != nullptr ? object->objectName() : QString();
}

DispScene::FrameLayout DispScene::frameLayout() const
{
    const QSize panel(m_transport->panelWidth(), m_transport->panelHeight());
    const EncoderLayout layout =
        DeviceModels::encoderLayout(panel, m_transport->vendorId(), m_transport->productId());
    const bool padded = !panel.isEmpty() && layout.isPadded(panel);
    FrameLayout frame;
    frame.imageSize = padded ? layout.encoderSize : QSize();
    frame.offset = padded ? layout.pictureOffset : QPoint();
    frame.pictureSize = DispFrameRenderer::turnedSize(sceneRect().size().toSize(), m_rotation);
    frame.rotation = m_rotation;
    return frame;
}

QImage DispScene::paddedFrame()
{
    m_frameLayout = frameLayout();
    return m_renderer.render(*this, m_rotation, m_frameLayout.imageSize, m_frameLayout.offset);
}

void DispScene::pumpFrame()
{
    if (m_renderTimer == nullptr) {
        return;
    }
    // An item's update reaches `changed` through two queued calls on the
    // scene; run them now, so a change made just before this tick is in
    // this tick's frame.
    for (int hop = 0; hop < 2; ++hop) {
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }
    if (m_renderTimer->isActive() && m_renderTimer->interval() != kFrameIntervalMs) {
        restartTimer(); // a pump brought forward by a change: the rhythm goes on from here
    }
    if (m_contentChanged || m_deviceFrame.isNull() || !(frameLayout() == m_frameLayout)) {
        m_contentChanged = false;
        m_deviceFrame = paddedFrame();
        m_sinceRender.start();
        m_spareReleased = false;
    } else if (!m_spareReleased && m_sinceRender.isValid() && m_sinceRender.elapsed() >= kStillReleaseMs) {
        m_renderer.releaseSpareImages();
        m_spareReleased = true;
    }
    // A scene without an open port (the placeholder, an unplugged device)
    // keeps its encoder idle.
    if (m_transport->isOpen()) {
        m_transport->send(m_deviceFrame);
    }

    if (m_deselectActive) {
        ++m_deselectCounter;
        if (m_deselectCounter > kDeselectFrames) {
            m_deselectActive = false;
            m_deselectCounter = 0;
            clearSelection();
        }
    }
}

QImage DispScene::frameImage() const
{
    if (m_deviceFrame.isNull()) {
        return QImage();
    }
    const bool turned = m_frameLayout.rotation >= 1 && m_frameLayout.rotation <= 3;
    if (!turned && m_deviceFrame.size() == m_frameLayout.pictureSize) {
        return m_deviceFrame;
    }
    // The preview asks more often than frames are made: one conversion per
    // frame at most.
    if (m_uprightKey == m_deviceFrame.cacheKey() && !m_uprightFrame.isNull()) {
        return m_uprightFrame;
    }
    QImage picture = m_deviceFrame.copy(QRect(m_frameLayout.offset, m_frameLayout.pictureSize));
    if (turned) {
        QTransform back;
        back.rotate(-90 * m_frameLayout.rotation);
        picture = picture.transformed(back, Qt::FastTransformation);
    }
    m_uprightFrame = picture;
    m_uprightKey = m_deviceFrame.cacheKey();
    return m_uprightFrame;
}

void DispScene::resetPanelStoreCounters()
{
    constexpr int kCountedStores = 5;
    for (int index = 0; index < kCountedStores; ++index) {
        m_panelStores[size_t(index)].counter = 0;
    }
}

void DispScene::startDeselectCountdown()
{
    m_deselectCounter = 0;
    m_deselectActive = true;
}

void DispScene::placeItem(QGraphicsItem* item, const QPointF& position)
{
    clearSelection();
    addItem(item);
    item->setPos(position);
    item->setSelected(true);
}

template <typename W>
W* DispScene::place(const DispMadeWidget<W>& made, const QPointF& position)
{
    if (made.item == nullptr) {
        return nullptr;
    }
    placeItem(made.item, position);
    return made.widget;
}

DispTextWidget* DispScene::addTextWidget(const QString& suffix, const QPointF& position)
{
    DispWidgetFactory* factory = widgetFactory();
    return factory != nullptr ? place(factory->makeTextWidget(suffix), position) : nullptr;
}

DispNumberWidget* DispScene::addNumberWidget(const QString& suffix, const QPointF& position)
{
    DispWidgetFactory* factory = widgetFactory();
    return factory != nullptr ? place(factory->makeNumberWidget(m_sensorManager, suffix), position) : nullptr;
}

DispDateWidget* DispScene::addDateWidget(const QString& suffix, const QPointF& position)
{
    DispWidgetFactory* factory = widgetFactory();
    return factory != nullptr ? place(factory->makeDateWidget(suffix), position) : nullptr;
}

DispTimeWidget* DispScene::addTimeWidget(const QString& suffix, const QPointF& position)
{
    DispWidgetFactory* factory = widgetFactory();
    return factory != nullptr ? place(factory->makeTimeWidget(suffix), position) : nullptr;
}

DispWeekdayWidget* DispScene::addWeekdayWidget(const QString& suffix, const QPointF& position)
{
    DispWidgetFactory* factory = widgetFactory();
    return factory != nullptr ? place(factory->makeWeekdayWidget(suffix), position) : nullptr;
}

DispImageWidget* DispScene::addImageWidget(const QString& suffix, const QPointF& position)
{
    DispWidgetFactory* factory = widgetFactory();
    return factory != nullptr ? place(factory->makeImageWidget(suffix), position) : nullptr;
}

DispScreenCaptureWidget* DispScene::addScreenCaptureWidget(const QString& suffix, const QPointF& position)
{
    DispWidgetFactory* factory = widgetFactory();
    return factory != nullptr ? place(factory->makeScreenCaptureWidget(suffix), position) : nullptr;
}

DispArcWidget* DispScene::addArcWidget(const QPointF& position)
{
    DispWidgetFactory* factory = widgetFactory();
    return factory != nullptr ? place(factory->makeArcWidget(m_sensorManager), position) : nullptr;
}

DispProgressBarWidget* DispScene::addProgressBarWidget(const QPointF& position)
{
    DispWidgetFactory* factory = widgetFactory();
    return factory != nullptr ? place(factory->makeProgressBarWidget(m_sensorManager), position) : nullptr;
}

QList<DispWidget*> DispScene::widgetsNamed(const QString& part) const
{
    QList<DispWidget*> list;
    const QList<QGraphicsItem*> all = stackedItems(this, Qt::DescendingOrder);
    for (QGraphicsItem* item : all) {
        if (!itemName(item).contains(part)) {
            continue;
        }
        DispWidget* widget = nullptr;
        if (item->type() == QGraphicsWidget::Type) {
            widget = qobject_cast<DispWidget*>(item->toGraphicsObject());
        }
        list.append(widget);
    }
    return list;
}

QList<DispWidget*> DispScene::arcWidgets() const
{
    return widgetsNamed(QStringLiteral("arc_"));
}

QList<DispWidget*> DispScene::barWidgets() const
{
    return widgetsNamed(QStringLiteral("bar_"));
}

QList<DispWidget*> DispScene::dateWidgets() const
{
    return widgetsNamed(QStringLiteral("date_"));
}

QList<DispWidget*> DispScene::dataWidgets() const
{
    return widgetsNamed(QStringLiteral("data_"));
}

QList<DispWidget*> DispScene::iconWidgets() const
{
    return widgetsNamed(QStringLiteral("image_ico"));
}

QList<DispWidget*> DispScene::maskWidgets() const
{
    return widgetsNamed(QStringLiteral("image_mask"));
}

DispWidget* DispScene::findWidgetByName(const QString& name) const
{
    const QList<QGraphicsItem*> all = stackedItems(this, Qt::DescendingOrder);
    for (QGraphicsItem* item : all) {
        if (itemName(item) == name) {
            return qobject_cast<DispWidget*>(item->toGraphicsObject());
        }
    }
    return nullptr;
}

void DispScene::clearWidgets()
{
    const QList<QGraphicsItem*> all = stackedItems(this, Qt::DescendingOrder);
    for (QGraphicsItem* item : all) {
        const QString name = itemName(item);
        const bool plain =
            name.contains(QLatin1String("text_")) || name.contains(QLatin1String("data_")) ||
            name.contains(QLatin1String("date_")) || name.contains(QLatin1String("image_ico")) ||
            name.contains(QLatin1String("arc_")) || name.contains(QLatin1String("progress_bar_"));
        const bool media =
            name.contains(QLatin1String("image_mask")) || name.contains(QLatin1String("image_background"));
        if (!plain && !media) {
            continue;
        }
        if (media) {
            if (auto* widget = qobject_cast<DispWidget*>(item->toGraphicsObject())) {
                widget->stopDecoder();
            }
        }
        removeItem(item);
        item->toGraphicsObject()->deleteLater();
    }
}

QGraphicsItem* DispScene::stackTarget(QGraphicsItem* item) const
{
    if (item != nullptr) {
        return item;
    }
    const QList<QGraphicsItem*> selected = selectedItems();
    return selected.size() == 1 ? selected.first() : nullptr;
}

QGraphicsItem* DispScene::stackNeighbour(QGraphicsItem* target, Qt::SortOrder order) const
{
    // Walking from the far end towards the target, the last sibling passed is
    // the one directly above (descending) or below (ascending) it.
    const QList<QGraphicsItem*> stack = items(itemsBoundingRect(), Qt::IntersectsItemShape, order);
    QGraphicsItem* neighbour = nullptr;
    for (QGraphicsItem* candidate : stack) {
        if (candidate == target) {
            break;
        }
        if (candidate->parentItem() == target->parentItem()) {
            neighbour = candidate;
        }
    }
    return neighbour;
}

void DispScene::raiseItem(QGraphicsItem* item)
{
    QGraphicsItem* target = stackTarget(item);
    if (target == nullptr) {
        return;
    }
    QGraphicsItem* neighbour = stackNeighbour(target, Qt::DescendingOrder);
    qCDebug(lcScene) << "itself: " << target << "upper: " << neighbour;
    if (neighbour == nullptr) {
        qCDebug(lcScene) << "all ready topmost";
        return;
    }
    neighbour->stackBefore(target);
}

void DispScene::lowerItem(QGraphicsItem* item)
{
    QGraphicsItem* target = stackTarget(item);
    if (target == nullptr) {
        return;
    }
    QGraphicsItem* neighbour = stackNeighbour(target, Qt::AscendingOrder);
    qCDebug(lcScene) << "itself: " << target << "lower: " << neighbour;
    if (neighbour == nullptr) {
        qCDebug(lcScene) << "all ready topmost";
        return;
    }
    target->stackBefore(neighbour);
}

void DispScene::acceptTool(QGraphicsSceneDragDropEvent* event)
{
    // Unlike QDropEvent's, this one does not accept the event by itself.
    event->acceptProposedAction();
    event->accept();
}

void DispScene::dragEnterEvent(QGraphicsSceneDragDropEvent* event)
{
    if (event->mimeData()->hasFormat(QLatin1String(kToolMimeType))) {
        acceptTool(event);
        return;
    }
    QGraphicsScene::dragEnterEvent(event);
}

void DispScene::dragMoveEvent(QGraphicsSceneDragDropEvent* event)
{
    if (event->mimeData()->hasFormat(QLatin1String(kToolMimeType))) {
        acceptTool(event);
        return;
    }
    QGraphicsScene::dragMoveEvent(event);
}

void DispScene::dropEvent(QGraphicsSceneDragDropEvent* event)
{
    if (!event->mimeData()->hasFormat(QLatin1String(kToolMimeType))) {
        QGraphicsScene::dropEvent(event);
        return;
    }
    QByteArray encoded = event->mimeData()->data(QLatin1String(kToolMimeType));
    QDataStream stream(&encoded, QIODevice::ReadOnly);
    int row = 0;
    int column = 0;
    QMap<int, QVariant> roles;
    bool readable = true;
    try {
        stream >> row >> column >> roles;
    } catch (const std::bad_alloc&) {
        // Any application can start a drag with this format. Qt's reader
        // reserves room for the entries a list claims before reading them,
        // and a claim beyond what can be allocated throws.
        readable = false;
        roles.clear();
    }
    if (!readable || stream.status() != QDataStream::Ok || roles.isEmpty()) {
        if (!readable || stream.status() != QDataStream::Ok) {
            qCWarning(lcScene) << "DispScene::dropEvent: unreadable tool data";
        }
        acceptTool(event);
        return;
    }
    const QString name = roles.value(Qt::DisplayRole).toString();
    qCDebug(lcScene) << "DispScene::dropEvent" << name;
    dropTool(name, event);
    emit widgetPosChanged();
    emit widgetListUpdated();
    acceptTool(event);
}

void DispScene::dropTool(const QString& name, QGraphicsSceneDragDropEvent* event)
{
    DispWidgetFactory* factory = widgetFactory();
    if (factory == nullptr) {
        qCWarning(lcScene) << "DispScene::dropEvent: no widget factory installed";
        return;
    }
    const QPointF position = event->scenePos();
    if (name == QLatin1String("Text")) {
        const DispMadeWidget<DispTextWidget> made = factory->makeTextWidget(QString());
        place(made, position);
        qCDebug(lcScene) << "screen:" << event->screenPos() << "scene:" << position
                         << "pos:" << (made.item != nullptr ? made.item->pos() : QPointF());
    } else if (name == QLatin1String("Image")) {
        place(factory->makeImageWidget(QString()), position);
    } else if (name == QLatin1String("Number")) {
        place(factory->makeNumberWidget(m_sensorManager, QString()), position);
    } else if (name == QLatin1String("Bar")) {
        place(factory->makeProgressBarWidget(m_sensorManager), position);
    } else if (name == QLatin1String("Arc")) {
        place(factory->makeArcWidget(m_sensorManager), position);
    } else if (name == QLatin1String("DateTime")) {
        const QList<QGraphicsItem*> group = factory->makeDateTimeGroup(position);
        clearSelection();
        for (QGraphicsItem* item : group) {
            addItem(item);
        }
        if (!group.isEmpty()) {
            group.first()->setSelected(true);
        }
    } else if (name == QLatin1String("Clock")) {
        place(factory->makeAnalogClockWidget(), position);
    } else if (name == QLatin1String("Gauge")) {
        place(factory->makeGaugeWidget(m_sensorManager), position);
    } else if (name == QLatin1String("Chart")) {
        place(factory->makeChartWidget(m_sensorManager), position);
    } else if (name == QLatin1String("3D")) {
        place(factory->make3DWidget(m_sensorManager), position);
    }
    // "Weather" and unknown tools create nothing.
}

QGraphicsItem* DispScene::movedItemAt(const QPointF& scenePos) const
{
    QGraphicsItem* item = itemAt(scenePos, QTransform());
    if (item == nullptr) {
        return nullptr;
    }
    if (!itemName(item).isEmpty()) {
        return item;
    }
    QGraphicsWidget* parent = item->parentWidget();
    if (parent != nullptr && !parent->objectName().contains(QLatin1String("background"))) {
        return parent;
    }
    return nullptr;
}

void DispScene::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (QGraphicsItem* moved = movedItemAt(event->scenePos())) {
        m_dragging = true;
        m_lastItemPos = moved->pos();
    }
    emit currentSelectItem(itemAt(event->scenePos(), QTransform()));
    QGraphicsScene::mousePressEvent(event);
}

void DispScene::mouseMoveEvent(QGraphicsSceneMouseEvent* event)
{
    if (QGraphicsItem* moved = movedItemAt(event->scenePos())) {
        if (moved->pos() != m_lastItemPos) {
            m_lastItemPos = moved->pos();
            if (m_dragging) {
                emit widgetPosChanged();
            }
        }
    }
    QGraphicsScene::mouseMoveEvent(event);
}

void DispScene::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    m_dragging = false;
    startDeselectCountdown();
    QGraphicsScene::mouseReleaseEvent(event);
}

void DispScene::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        raiseItem(nullptr);
        break;
    case Qt::Key_Down:
        lowerItem(nullptr);
        break;
    case Qt::Key_Delete: {
        const QList<QGraphicsItem*> selected = selectedItems();
        for (QGraphicsItem* item : selected) {
            emit deleteSelectItem(item);
        }
        for (QGraphicsItem* item : selected) {
            removeItem(item);
            if (QGraphicsObject* object = item->toGraphicsObject()) {
                object->deleteLater();
            } else {
                delete item;
            }
        }
        break;
    }
    default:
        emit widgetListUpdated();
        QGraphicsScene::keyPressEvent(event);
        return;
    }
    emit widgetPosChanged();
    emit widgetListUpdated();
    QGraphicsScene::keyPressEvent(event);
}
