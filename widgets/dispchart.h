#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPainterPath>
#include <QVector>
#include <QWidget>

class QPropertyAnimation;
class QTimer;

// The recent history of one reading as a scrolling curve with a gradient
// fill, and the latest value in a caption strip below. A sample of the
// current value is taken every second; after each the curve slides left by
// one step over 300 ms.
class DispChart : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(float xOffset READ xOffset WRITE setXOffset)

public:
    static constexpr int kVisiblePoints = 20;
    static constexpr int kSpareSlots = 1;
    static constexpr int kSlots = kVisiblePoints + kSpareSlots;
    static constexpr int kSlideMs = 300;

    explicit DispChart(QWidget* parent = nullptr);

    // Applied only when minimum < maximum.
    void setRange(float minimum, float maximum);
    // Forgets the history and shows "000--" until the next reading.
    void reset();
    void setXOffset(float offset);
    float xOffset() const { return m_xOffset; }
    void setBackgroundColor(const QColor& color);
    QColor backgroundColor() const { return m_backgroundColor; }
    void setGradientColors(const QColor& bottom, const QColor& top);
    QList<QColor> gradientColors() const { return m_gradientColors; }
    void setLineColor(const QColor& color);
    QColor lineColor() const { return m_lineColor; }
    void setCaptionColor(const QColor& color);
    QColor captionColor() const { return m_captionColor; }
    void setCaptionFont(const QFont& font);
    QFont captionFont() const { return m_font; }
    // Straight segments instead of curves.
    void setStraight(bool straight);
    bool straight() const { return m_straight; }
    void setFill(bool fill);
    bool fill() const { return m_fill; }

    void setCurrentValue(float value) { m_currentValue = value; }
    void setCaption(const QString& caption);
    QString caption() const { return m_caption; }
    int count() const { return m_count; }
    float minimum() const { return m_minimum; }
    float maximum() const { return m_maximum; }
    QPainterPath curvePath() const { return m_curve; }
    QPainterPath fillPath() const { return m_fillPath; }
    int plotHeight() const { return m_plotHeight; }

public slots:
    // One sample of the current value (the sampling timer's slot).
    void takeSample();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void rebuild();

    bool m_fill = true;
    bool m_straight = false;
    quint16 m_captionHeight = 20;
    QVector<float> m_samples;
    int m_writeIndex = 0;
    int m_count = 0;
    float m_minimum = 0.0f;
    float m_maximum = 1.0f;
    float m_xOffset = 0.0f;
    float m_scale = 0.9f;
    float m_lineWidth = 1.0f;
    float m_currentValue = 0.0f;
    QString m_caption;
    QColor m_lineColor = Qt::red;
    QColor m_captionColor = Qt::blue;
    QFont m_font;
    QColor m_backgroundColor = Qt::white;
    QList<QColor> m_gradientColors;
    QPainterPath m_curve;
    QPainterPath m_fillPath;
    int m_plotHeight = 0;
    QTimer* m_sampleTimer = nullptr;
    QPropertyAnimation* m_slide = nullptr;
};
