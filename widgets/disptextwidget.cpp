#include "disptextwidget.h"

#include "displabelwidget.h"
#include "dispwidget.h"
#include "dispwidgetnames.h"
#include "widgetslog.h"

#include <QFontMetrics>
#include <QGraphicsScene>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QTextCursor>
#include <QTimer>

DispTextWidget::DispTextWidget(QGraphicsItem* parent, const QString& suffix) : QGraphicsTextItem(parent)
{
    setObjectName(DispWidgetNames::next(DispWidgetNames::Text, suffix));
    setPlainText(QStringLiteral("text"));
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
    setTextInteractionFlags(Qt::NoTextInteraction);

    connect(this, &QGraphicsObject::xChanged, this, [this] { emit xChanged2(int(x())); });
    connect(this, &QGraphicsObject::yChanged, this, [this] { emit yChanged2(int(y())); });
    connect(this, &QGraphicsObject::widthChanged, this, [this] {
        qCDebug(lcWidgets) << "test point 1";
        emit wChanged2(int(boundingRect().width()));
    });
    connect(this, &QGraphicsObject::heightChanged, this, [this] {
        qCDebug(lcWidgets) << "test point 2";
        emit hChanged2(int(boundingRect().height()));
    });

    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &DispTextWidget::effectTick);
    m_timer->start(kConstructionIntervalMs);
}

QStringList DispTextWidget::effectNames()
{
    return {QStringLiteral("Default"), QStringLiteral("Left"), QStringLiteral("Right"),
            QStringLiteral("Up"),      QStringLiteral("Down"), QStringLiteral("Flicker")};
}

void DispTextWidget::setEffect(qint32 mode)
{
    m_timer->stop();
    switch (mode) {
    case EffectDefault:
        m_timer->start(kDefaultIntervalMs);
        break;
    case EffectLeft:
    case EffectRight:
        m_timer->start(kHorizontalIntervalMs);
        break;
    case EffectUp:
    case EffectDown:
    case EffectFlicker:
        m_timer->start(kVerticalIntervalMs);
        break;
    default:
        break; // an unknown mode stays still and draws nothing
    }
    m_effect = mode;
    m_scrollOffset = 0;
    m_blank = false;
    m_flickerTicks = 0;
    update();
}

void DispTextWidget::effectTick()
{
    // Only a tick that moves or blanks the text repaints it: a still text
    // leaves the scene unchanged, so the frame pump need not render again.
    const qint32 offset = m_scrollOffset;
    const bool blank = m_blank;
    switch (m_effect) {
    case EffectLeft:
    case EffectRight: {
        ++m_scrollOffset;
        // Measured with the font as set, not the pixel-sized one of paint.
        const int width = QFontMetrics(font()).horizontalAdvance(toPlainText());
        if (m_scrollOffset > 2 * width) {
            m_scrollOffset = 0;
        }
        break;
    }
    case EffectUp:
    case EffectDown: {
        ++m_scrollOffset;
        const int pixelSize = DispLabelWidget::pixelSizedFont(font()).pixelSize();
        if (m_scrollOffset > boundingRect().height() + pixelSize) {
            m_scrollOffset = 0;
        }
        break;
    }
    case EffectFlicker:
        if (m_flickerTicks >= kFlickerTicks) {
            m_flickerTicks = 0;
            m_blank = !m_blank;
        } else {
            ++m_flickerTicks;
        }
        break;
    default:
        break;
    }
    if (m_scrollOffset != offset || m_blank != blank) {
        update();
    }
}

void DispTextWidget::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    Q_UNUSED(widget)
    if (option->state & QStyle::State_Selected) {
        DispWidget::paintSelectionFrame(painter, boundingRect(), option->palette);
    }

    const QFont font = DispLabelWidget::pixelSizedFont(this->font());
    painter->setFont(font);
    painter->setPen(defaultTextColor());

    QRectF rect = boundingRect();
    const QString text = toPlainText();
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text);
    const int height = metrics.height();
    const int d = m_scrollOffset;

    switch (m_effect) {
    case EffectDefault:
        painter->drawText(rect, Qt::AlignCenter, text);
        break;
    case EffectLeft:
        // The text's left edge is at right - d: it enters on the right.
        if (d < width) {
            rect.setLeft(rect.right() - d);
            painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, text);
        } else {
            rect.setRight(rect.right() - (d - width));
            painter->drawText(rect, Qt::AlignRight | Qt::AlignVCenter, text);
        }
        break;
    case EffectRight:
        // The text's right edge is at d: it enters on the left.
        if (d < width) {
            rect.setRight(d);
            painter->drawText(rect, Qt::AlignRight | Qt::AlignVCenter, text);
        } else {
            rect.setLeft(rect.left() + d - width);
            painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, text);
        }
        break;
    case EffectUp:
        if (d < height) {
            rect.setTop(rect.bottom() - d);
            painter->drawText(rect, Qt::AlignTop | Qt::AlignHCenter, text);
        } else {
            rect.setBottom(rect.bottom() - (d - height));
            painter->drawText(rect, Qt::AlignBottom | Qt::AlignHCenter, text);
        }
        break;
    case EffectDown:
        if (d < height) {
            rect.setBottom(d);
            painter->drawText(rect, Qt::AlignBottom | Qt::AlignHCenter, text);
        } else {
            rect.setTop(rect.top() + d - height);
            painter->drawText(rect, Qt::AlignTop | Qt::AlignHCenter, text);
        }
        break;
    case EffectFlicker:
        painter->drawText(rect, Qt::AlignCenter, m_blank ? QString() : text);
        break;
    default:
        break;
    }
}

QVariant DispTextWidget::itemChange(GraphicsItemChange change, const QVariant& value)
{
    if (change == ItemPositionChange && scene() != nullptr) {
        const QRectF sceneArea = scene()->sceneRect();
        const QRectF bounds = boundingRect();
        const QRectF allowed(0, 0, sceneArea.width() - bounds.width(), sceneArea.height() - bounds.height());
        return QGraphicsTextItem::itemChange(change, DispWidget::clampPosition(value.toPointF(), allowed));
    }
    return QGraphicsTextItem::itemChange(change, value);
}

void DispTextWidget::focusOutEvent(QFocusEvent* event)
{
    qCDebug(lcWidgets) << "DispTextWidget::focusOutEvent";
    QTextCursor cursor = textCursor();
    cursor.clearSelection();
    setTextCursor(cursor);
    setTextInteractionFlags(Qt::NoTextInteraction);
    QGraphicsTextItem::focusOutEvent(event);
}

void DispTextWidget::mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event)
{
    Q_UNUSED(event) // no in-place editing
}
