#include "dispbarbox.h"

#include "dispcolorselectbutton.h"
#include "dispprogressbar.h"
#include "dispprogressbarwidget.h"
#include "dispscene.h"
#include "themerecordreader.h"
#include "themetags.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDataStream>
#include <QFormLayout>
#include <QSpinBox>

namespace {

const QString kResourcePrefix = QStringLiteral("res/");
constexpr int kLargestSide = 2000;

DispProgressBar* barOf(DispWidget* widget)
{
    auto* bar = qobject_cast<DispProgressBarWidget*>(widget);
    return bar != nullptr ? bar->bar() : nullptr;
}

} // namespace

dispbarbox::dispbarbox(QWidget* parent)
    : ReadoutItemPanel(tr("Bar Display"), BarStore, QStringLiteral("Bar"),
                       QStringLiteral(":/images/home/bar.png"), parent)
{
    m_length = new QSpinBox(this);
    m_length->setObjectName(QStringLiteral("length"));
    m_length->setRange(0, kLargestSide);
    m_length->setValue(10);
    m_height = new QSpinBox(this);
    m_height->setObjectName(QStringLiteral("height"));
    m_height->setRange(0, kLargestSide);
    m_height->setValue(10);
    m_borderColor = new DispColorSelectButton(QString(), Qt::red, this);
    m_direction = new QComboBox(this);
    m_direction->setObjectName(QStringLiteral("direction"));
    m_direction->addItems(
        {QStringLiteral("0"), QStringLiteral("90"), QStringLiteral("180"), QStringLiteral("270")});
    m_fill = new QCheckBox(tr("Fill"), this);
    m_fill->setObjectName(QStringLiteral("fill"));
    m_borderColor->setObjectName(QStringLiteral("borderColor"));
    m_foreColor->setColor(Qt::green);
    m_gradientColor->setColor(Qt::yellow);

    QFormLayout* form = controls();
    form->addRow(tr("Length:"), m_length);
    form->addRow(tr("Height:"), m_height);
    form->addRow(tr("BackColor:"), m_backColor);
    form->addRow(tr("ForeColor:"), m_foreColor);
    form->addRow(tr("gradientColor:"), m_gradientColor);
    form->addRow(tr("borderColor:"), m_borderColor);
    form->addRow(tr("Direction:"), m_direction);
    form->addRow(m_transparent, m_fill);
    addOpacityRow();

    using Bar = DispProgressBarWidget;
    connect(m_length, qOverload<int>(&QSpinBox::valueChanged), this, [this](int value) {
        if (!loadingControls()) {
            editCurrent<Bar>([&](Bar* bar) { bar->bar()->setLength(value); });
        }
    });
    connect(m_height, qOverload<int>(&QSpinBox::valueChanged), this, [this](int value) {
        if (!loadingControls()) {
            editCurrent<Bar>([&](Bar* bar) { bar->bar()->setThickness(value); });
        }
    });
    connect(m_backColor, &DispColorSelectButton::colorChanged, this, [this](const QColor& color) {
        editCurrent<Bar>([&](Bar* bar) { bar->bar()->setBackgroundColor(color); });
    });
    connect(m_borderColor, &DispColorSelectButton::colorChanged, this, [this](const QColor& color) {
        editCurrent<Bar>([&](Bar* bar) { bar->bar()->setBorderColor(color); });
    });
    connect(m_foreColor, &DispColorSelectButton::colorChanged, this, &dispbarbox::applyGradient);
    connect(m_gradientColor, &DispColorSelectButton::colorChanged, this, &dispbarbox::applyGradient);
    connect(m_direction, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
        if (!loadingControls() && index >= 0) {
            editCurrent<Bar>([&](Bar* bar) { bar->bar()->setRotation(index * 90); });
        }
    });
    connect(m_transparent, &QCheckBox::toggled, this, [this](bool on) {
        if (!loadingControls()) {
            editCurrent<Bar>([&](Bar* bar) { bar->bar()->setTransparent(on); });
        }
    });
    connect(m_fill, &QCheckBox::toggled, this, [this](bool on) {
        if (!loadingControls()) {
            editCurrent<Bar>([&](Bar* bar) { bar->bar()->setFillBackground(on); });
        }
    });
}

qint32 dispbarbox::themeTag() const
{
    return BarTag;
}

void dispbarbox::applyGradient()
{
    // ForeColor at the bar's start (position 0.0), gradientColor at its end.
    editCurrent<DispProgressBarWidget>([this](DispProgressBarWidget* bar) {
        bar->bar()->setGradientColors({m_foreColor->color(), m_gradientColor->color()});
    });
}

DispWidget* dispbarbox::newWidget(DispScene* scene)
{
    return scene->addProgressBarWidget(QPointF(0, 0));
}

void dispbarbox::loadKindControls(DispWidget* widget)
{
    DispProgressBar* bar = barOf(widget);
    if (bar == nullptr) {
        return;
    }
    m_length->setValue(bar->lengthInt());
    m_height->setValue(bar->thicknessInt());
    m_backColor->setColor(bar->backgroundColor());
    m_borderColor->setColor(bar->borderColor());
    const QList<QColor> colors = bar->gradientColors();
    m_foreColor->setColor(colors.value(0, Qt::green));
    m_gradientColor->setColor(colors.value(1, colors.value(0, Qt::yellow)));
    m_direction->setCurrentIndex(((bar->rotationInt() % 360 + 360) % 360) / 90);
    m_transparent->setChecked(bar->transparent());
    m_fill->setChecked(bar->fillBackground());
}

void dispbarbox::writeKindFields(QDataStream& out, DispWidget* widget)
{
    out << barOf(widget)->attributeBlock(kResourcePrefix);
}

bool dispbarbox::readKindFields(ThemeRecordReader& in, KindFields* fields)
{
    return in.readByteArray(fields->block);
}

void dispbarbox::applyKindFields(DispWidget* widget, const KindFields& fields, const QSizeF& size)
{
    DispProgressBar* bar = barOf(widget);
    if (bar == nullptr) {
        return;
    }
    if (size.width() >= 0 && size.height() >= 0 && size.width() <= kLargestSide &&
        size.height() <= kLargestSide) {
        bar->resize(int(size.width()), int(size.height()));
    }
    bar->setAttributeBlock(fields.block, kResourcePrefix);
}

int dispbarbox::sensorType(DispWidget* widget) const
{
    auto* bar = qobject_cast<DispProgressBarWidget*>(widget);
    return bar != nullptr ? int(bar->sensorType()) : 0;
}

void dispbarbox::setSensorType(DispWidget* widget, int type)
{
    if (auto* bar = qobject_cast<DispProgressBarWidget*>(widget)) {
        bar->setSensorType(quint32(type));
        bar->refreshValue();
    }
}
