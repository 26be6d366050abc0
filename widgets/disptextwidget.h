#pragma once

#include <QGraphicsTextItem>

class QTimer;

// Free text on the scene: one line in one font and colour, still, scrolling
// in one of four directions or flickering. Draws itself (it is not a
// DispWidget) but is named, moved, selected and kept inside the scene the
// same way.
class DispTextWidget : public QGraphicsTextItem
{
    Q_OBJECT

public:
    enum
    {
        Type = QGraphicsItem::UserType + 1
    };

    enum Effect
    {
        EffectDefault = 0,
        EffectLeft = 1,
        EffectRight = 2,
        EffectUp = 3,
        EffectDown = 4,
        EffectFlicker = 5,
    };

    static constexpr int kDefaultIntervalMs = 100;
    static constexpr int kHorizontalIntervalMs = 15;
    static constexpr int kVerticalIntervalMs = 50;
    static constexpr int kConstructionIntervalMs = 50;
    // Ticks of one flicker phase beyond the first.
    static constexpr int kFlickerTicks = 10;

    explicit DispTextWidget(QGraphicsItem* parent = nullptr, const QString& suffix = QString());

    // Effect names in combo order (index = mode), untranslated.
    static QStringList effectNames();

    void setEffect(qint32 mode);
    qint32 effect() const { return m_effect; }
    qint32 scrollOffset() const { return m_scrollOffset; }
    bool blankPhase() const { return m_blank; }
    QTimer* effectTimer() const { return m_timer; }

    int type() const override { return Type; }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

public slots:
    void effectTick();

signals:
    void xChanged2(int x);
    void yChanged2(int y);
    void wChanged2(int w);
    void hChanged2(int h);

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) override;

private:
    qint32 m_effect = EffectDefault;
    qint32 m_scrollOffset = 0;
    bool m_blank = false;
    qint32 m_flickerTicks = 0;
    QTimer* m_timer = nullptr;
};
