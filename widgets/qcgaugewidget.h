#pragma once

#include <QColor>
#include <QGradientStops>
#include <QList>
#include <QObject>
#include <QPair>
#include <QRectF>
#include <QWidget>

#include <stdexcept>

class QcGaugeWidget;
class QPainter;

// The gauge's drawing items. Each is placed at a radius given as a
// percentage of the dial's half size (its position) and draws itself on the
// largest square centred on the dial. Angles: 0 degrees points to 9 o'clock,
// 90 to 12 o'clock, 180 to 3 o'clock.
class QcItem : public QObject
{
    Q_OBJECT

public:
    // Thrown by a scale item given a range whose maximum is not above its minimum.
    class Error : public std::invalid_argument
    {
    public:
        using std::invalid_argument::invalid_argument;
    };

    explicit QcItem(QcGaugeWidget* parent);

    virtual void draw(QPainter* painter) = 0;
    void setPosition(float position);
    float position() const { return m_position; }

    static qreal radius(const QRectF& rect);
    static QPointF pointAt(qreal degrees, const QRectF& rect);

protected:
    // The working square: the largest square centred on the dial.
    void resetRect();
    // The working square inset so that its radius is position % of the full one.
    QRectF rectAt(float position) const;
    void update();

    QcGaugeWidget* m_gauge;
    QRectF m_rect;
    float m_position = 50.0f;
};

// An item with a value range mapped onto an angle range.
class QcScaleItem : public QcItem
{
    Q_OBJECT

public:
    explicit QcScaleItem(QcGaugeWidget* parent);

    // Throws QcItem::Error unless maximum > minimum.
    void setValueRange(float minimum, float maximum);
    void setDegreeRange(float minimum, float maximum);
    float minValue() const { return m_minValue; }
    float maxValue() const { return m_maxValue; }
    qreal degreesFor(qreal value) const;

protected:
    float m_minValue = 0.0f;
    float m_maxValue = 100.0f;
    float m_minDegrees = -45.0f;
    float m_maxDegrees = 225.0f;
};

class QcBackgroundItem : public QcItem
{
    Q_OBJECT

public:
    explicit QcBackgroundItem(QcGaugeWidget* parent);
    void draw(QPainter* painter) override;
    // Positions outside 0..1 are ignored.
    void addStop(qreal position, const QColor& color);
    void clearStops() { m_stops.clear(); }

private:
    QGradientStops m_stops;
};

class QcArcItem : public QcScaleItem
{
    Q_OBJECT

public:
    explicit QcArcItem(QcGaugeWidget* parent);
    void draw(QPainter* painter) override;
    void setColor(const QColor& color) { m_color = color; }

private:
    QColor m_color = Qt::white;
};

class QcColorBand : public QcScaleItem
{
    Q_OBJECT

public:
    explicit QcColorBand(QcGaugeWidget* parent);
    void draw(QPainter* painter) override;
    // Each band: its colour up to its upper value.
    void setColors(const QList<QPair<QColor, float>>& bands) { m_bands = bands; }

private:
    QList<QPair<QColor, float>> m_bands;
};

class QcDegreesItem : public QcScaleItem
{
    Q_OBJECT

public:
    explicit QcDegreesItem(QcGaugeWidget* parent);
    void draw(QPainter* painter) override;
    void setStep(float step) { m_step = step; }
    void setColor(const QColor& color) { m_color = color; }
    void setSubDegree(bool sub) { m_subDegree = sub; }

private:
    float m_step = 10.0f;
    QColor m_color = Qt::black;
    bool m_subDegree = false;
};

class QcValuesItem : public QcScaleItem
{
    Q_OBJECT

public:
    explicit QcValuesItem(QcGaugeWidget* parent);
    void draw(QPainter* painter) override;
    void setStep(float step) { m_step = step; }
    void setColor(const QColor& color) { m_color = color; }

private:
    float m_step = 10.0f;
    QColor m_color = Qt::white;
};

class QcLabelItem : public QcItem
{
    Q_OBJECT

public:
    explicit QcLabelItem(QcGaugeWidget* parent);
    void draw(QPainter* painter) override;
    void setAngle(float degrees) { m_angle = degrees; }
    void setText(const QString& text);
    QString text() const { return m_text; }
    void setColor(const QColor& color) { m_color = color; }

private:
    float m_angle = 270.0f;
    QString m_text = QStringLiteral("%");
    QColor m_color = Qt::white;
};

class QcNeedleItem : public QcScaleItem
{
    Q_OBJECT

public:
    enum NeedleType
    {
        DiamonNeedle = 0,
        TriangleNeedle = 1,
        FeatherNeedle = 2,
        AttitudeMeterNeedle = 3,
        CompassNeedle = 4,
    };

    explicit QcNeedleItem(QcGaugeWidget* parent);
    void draw(QPainter* painter) override;
    // Limited to the value range; the attached label shows it.
    void setNeedleValue(float value);
    float needleValue() const { return m_value; }
    void setNeedle(NeedleType shape) { m_shape = shape; }
    void setColor(const QColor& color) { m_color = color; }
    void setLabel(QcLabelItem* label) { m_label = label; }
    // The needle's polygon for a shape, tip at (0, r), before turning.
    static QPolygonF shapePolygon(NeedleType shape, qreal r);

private:
    QColor m_color = Qt::black;
    NeedleType m_shape = FeatherNeedle;
    float m_value = 0.0f;
    QcLabelItem* m_label = nullptr;
};

// A dial made of an ordered list of items, painted in list order.
class QcGaugeWidget : public QWidget
{
    Q_OBJECT

public:
    explicit QcGaugeWidget(QWidget* parent = nullptr);

    QcBackgroundItem* addBackground(float position);
    QcArcItem* addArc(float position);
    QcColorBand* addColorBand(float position);
    QcDegreesItem* addDegrees(float position);
    QcValuesItem* addValues(float position);
    QcLabelItem* addLabel(float position);
    QcNeedleItem* addNeedle(float position);

    const QList<QcItem*>& items() const { return m_items; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    template <typename Item>
    Item* add(float position);

    QList<QcItem*> m_items;
};
