#pragma once

#include <QColor>
#include <QWidget>

// A slider with a lower and an upper handle (or only one of them) over the
// range minimum..maximum; the clipping tool picks a span of a video with it.
class RangeSlider : public QWidget
{
    Q_OBJECT

public:
    enum Option
    {
        NoHandle = 0x0,
        LowerHandle = 0x1,
        UpperHandle = 0x2,
        DoubleHandles = LowerHandle | UpperHandle
    };
    Q_DECLARE_FLAGS(Options, Option)

    static constexpr int kHandleSide = 15;

    RangeSlider(Qt::Orientation orientation, Options options = DoubleHandles, QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int lowerValue() const { return m_lowerValue; }
    int upperValue() const { return m_upperValue; }
    Qt::Orientation orientation() const { return m_orientation; }
    QColor currentColor() const { return m_currentColor; }

    // setMinimum then setMaximum.
    void setRange(int minimum, int maximum);

    // Where each handle starts along the slider, in pixels.
    int lowerHandleStart() const;
    int upperHandleStart() const;

signals:
    void lowerValueChanged(int aLowerValue);
    void upperValueChanged(int aUpperValue);
    void rangeChanged(int aMin, int aMax);

public slots:
    void setLowerValue(int aLowerValue);
    void setUpperValue(int aUpperValue);
    void setMinimum(int aMinimum);
    void setMaximum(int aMaximum);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool hasLower() const { return m_options.testFlag(LowerHandle); }
    bool hasUpper() const { return m_options.testFlag(UpperHandle); }
    int length() const;
    int thickness() const;
    // Pixels the handles travel over: L - d - 6.
    int travel() const;
    int along(const QPoint& point) const;
    int across(const QPoint& point) const;
    QRect handleRect(int start) const;
    int valueAt(int pixels) const;
    void stepTowards(int position);
    void rangeUpdated();

    int m_minimum = 0;
    int m_maximum = 100;
    int m_lowerValue = 0;
    int m_upperValue = 100;
    int m_interval = 100;
    bool m_lowerPressed = false;
    bool m_upperPressed = false;
    int m_pressOffset = 0;
    QColor m_enabledColor = Qt::darkGray;
    QColor m_disabledColor = Qt::darkGray;
    QColor m_currentColor = Qt::darkGray;
    Qt::Orientation m_orientation;
    Options m_options;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(RangeSlider::Options)
