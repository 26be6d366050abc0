#include "opacityrow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>

OpacityRow::OpacityRow(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    m_caption = new QLabel(tr("TransParent:"), this);
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("opacitySlider"));
    m_slider->setRange(0, 100);
    m_slider->setFixedSize(170, 20);
    m_value = new QLabel(this);
    m_value->setObjectName(QStringLiteral("opacityLabel"));
    m_value->setFixedWidth(44);
    layout->addWidget(m_caption);
    layout->addWidget(m_slider);
    layout->addWidget(m_value);
    layout->addStretch();
    showOpacity(1.0);
    connect(m_slider, &QSlider::valueChanged, this, [this](int value) {
        showPercent(value);
        emit opacityChanged(value / 100.0);
    });
}

void OpacityRow::showOpacity(double opacity)
{
    const int percent = int(opacity * 100);
    const QSignalBlocker blocker(m_slider);
    m_slider->setValue(percent);
    showPercent(percent);
}

int OpacityRow::percent() const
{
    return m_slider->value();
}

void OpacityRow::showPercent(int percent)
{
    m_value->setText(QString::number(percent) + QLatin1Char('%'));
}
