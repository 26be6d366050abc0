#pragma once

#include <QWidget>

class QLabel;
class QSlider;

// The "TransParent:" control every panel has: a 0..100 slider and a label
// showing the value followed by "%".
class OpacityRow : public QWidget
{
    Q_OBJECT

public:
    explicit OpacityRow(QWidget* parent = nullptr);

    // Shows an item's opacity (0.0..1.0, as a truncated percentage) without emitting.
    void showOpacity(double opacity);
    int percent() const;
    QSlider* slider() const { return m_slider; }
    QLabel* valueLabel() const { return m_value; }

signals:
    // The user moved the slider: the item's opacity becomes opacity.
    void opacityChanged(double opacity);

private:
    void showPercent(int percent);

    QLabel* m_caption = nullptr;
    QSlider* m_slider = nullptr;
    QLabel* m_value = nullptr;
};
