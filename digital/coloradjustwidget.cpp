#include "coloradjustwidget.h"

#include "colorselection.h"
#include "segscene.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QConicalGradient>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadialGradient>
#include <QSlider>
#include <QVBoxLayout>

namespace {

constexpr QRgb kPresetColours[ColorAdjustWidget::kPresets] = {0xFF0000, 0xFF7D00, 0xFFFF00, 0x00FF00,
                                                              0x0000FF, 0x00FFFF, 0xFF00FF, 0xFFFFFF};
constexpr int kChannelShift[3] = {16, 8, 0};

const char* const kModeNames[ColorAdjustWidget::kModes] = {
    QT_TRANSLATE_NOOP("ColorAdjustWidget", "Color Adiust"),
    QT_TRANSLATE_NOOP("ColorAdjustWidget", "Breath Mode"),
    QT_TRANSLATE_NOOP("ColorAdjustWidget", "Gradient"),
    QT_TRANSLATE_NOOP("ColorAdjustWidget", "Rainbow Mode"),
    QT_TRANSLATE_NOOP("ColorAdjustWidget", "Temp Linkage"),
    QT_TRANSLATE_NOOP("ColorAdjustWidget", "Load Linkage"),
};

const char* const kStyle =
    "ColorAdjustWidget { background-color: #202020; }"
    "QLabel, QCheckBox, QPushButton { color: white; font-family: Arial; }"
    "QPushButton { background-color: #1d1d1d; border: 1px solid #444; padding: 4px 8px; }"
    "QPushButton:checked { background-color: #3a3a3a; border-color: white; }";

// The picture behind the ring's hole: the ring's hues, fading to white at
// the centre, fully saturated where the marker runs.
QPixmap wheelPicture(int side, double outerRadius)
{
    QPixmap picture(side, side);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QPointF centre(side / 2.0, side / 2.0);
    const double radius = outerRadius * 0.9;

    QConicalGradient hues(centre, 0);
    const QColor stops[] = {Qt::red, Qt::yellow, Qt::green, Qt::cyan, Qt::blue, Qt::magenta};
    for (int i = 0; i < 6; ++i) {
        hues.setColorAt(i / 6.0, stops[i]);
    }
    hues.setColorAt(1.0, Qt::red);
    painter.setPen(Qt::NoPen);
    painter.setBrush(hues);
    painter.drawEllipse(centre, radius, radius);

    QRadialGradient white(centre, radius);
    white.setColorAt(0.0, Qt::white);
    white.setColorAt(0.6, QColor(255, 255, 255, 0));
    white.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setBrush(white);
    painter.drawEllipse(centre, radius, radius);
    return picture;
}

} // namespace

ColorAdjustWidget::ColorAdjustWidget(SegScene* scene, QWidget* parent) : QWidget(parent), m_scene(scene)
{
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QString::fromLatin1(kStyle));

    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(tr("Color Adiust"));
    title->setObjectName(QStringLiteral("title"));
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPixelSize(18);
    titleFont.setBold(true);
    title->setFont(titleFont);
    layout->addWidget(title);

    auto* modes = new QGridLayout;
    m_modeGroup = new QButtonGroup(this);
    for (int i = 0; i < kModes; ++i) {
        auto* button = new QPushButton(tr(kModeNames[i]));
        button->setObjectName(QStringLiteral("mode%1").arg(i));
        button->setCheckable(true);
        m_modeGroup->addButton(button, i);
        modes->addWidget(button, i / 3, i % 3);
    }
    m_modeGroup->button(0)->setChecked(true);
    layout->addLayout(modes);

    layout->addWidget(new QLabel(tr("Color Setting")));
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(buildRing());

    auto* controls = new QGridLayout;
    m_onOff = new QCheckBox(tr("On"));
    m_onOff->setObjectName(QStringLiteral("onOff"));
    m_onOff->setChecked(true);
    controls->addWidget(m_onOff, 0, 0, 1, 3);

    controls->addWidget(new QLabel(tr("Brightness")), 1, 0);
    m_light = new QSlider(Qt::Horizontal);
    m_light->setObjectName(QStringLiteral("light"));
    m_light->setRange(0, 100);
    m_light->setValue(int(m_params.light));
    controls->addWidget(m_light, 1, 1, 1, 2);

    const QString channelNames[3] = {QStringLiteral("R"), QStringLiteral("G"), QStringLiteral("B")};
    const QString channelIds[3] = {QStringLiteral("red"), QStringLiteral("green"), QStringLiteral("blue")};
    for (int c = 0; c < 3; ++c) {
        controls->addWidget(new QLabel(channelNames[c]), 2 + c, 0);
        m_channels[c] = new QSlider(Qt::Horizontal);
        m_channels[c]->setObjectName(channelIds[c]);
        m_channels[c]->setRange(0, 255);
        m_channels[c]->setValue(int((m_params.color >> kChannelShift[c]) & 0xFF));
        m_channelValues[c] = new QLabel(QString::number(m_channels[c]->value()));
        m_channelValues[c]->setObjectName(channelIds[c] + QStringLiteral("Value"));
        m_channelValues[c]->setMinimumWidth(30);
        controls->addWidget(m_channels[c], 2 + c, 1);
        controls->addWidget(m_channelValues[c], 2 + c, 2);
    }

    auto* presets = new QHBoxLayout;
    m_presetGroup = new QButtonGroup(this);
    for (int i = 0; i < kPresets; ++i) {
        auto* button = new QPushButton;
        button->setObjectName(QStringLiteral("preset%1").arg(i));
        button->setFixedSize(24, 24);
        button->setStyleSheet(
            QStringLiteral("background-color: %1; border: 1px solid #444;").arg(presetColor(i).name()));
        m_presetGroup->addButton(button, i);
        presets->addWidget(button);
    }
    controls->addLayout(presets, 5, 0, 1, 3);
    colourRow->addLayout(controls);
    layout->addLayout(colourRow);

    layout->addWidget(new QLabel(tr("Function Select")));
    auto* functions = new QHBoxLayout;
    m_functionGroup = new QButtonGroup(this);
    const QString functionNames[2] = {tr("Monitor CPU"), tr("Monitor GPU")};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QPushButton(functionNames[i]);
        button->setObjectName(QStringLiteral("function%1").arg(i));
        button->setCheckable(true);
        m_functionGroup->addButton(button, i);
        functions->addWidget(button);
    }
    m_functionGroup->button(0)->setChecked(true);
    layout->addLayout(functions);
    layout->addStretch(1);

    connect(m_modeGroup, &QButtonGroup::idToggled, this, &ColorAdjustWidget::onModeToggled);
    connect(m_functionGroup, &QButtonGroup::idToggled, this, &ColorAdjustWidget::onFunctionToggled);
    connect(m_presetGroup, &QButtonGroup::idClicked, this, &ColorAdjustWidget::onPresetClicked);
    connect(m_onOff, &QCheckBox::toggled, this, &ColorAdjustWidget::onOnOffToggled);
    connect(m_light, &QSlider::valueChanged, this, &ColorAdjustWidget::onLightChanged);
    for (int c = 0; c < 3; ++c) {
        connect(m_channels[c], &QSlider::valueChanged, this,
                [this, c](int value) { onChannelChanged(c, value); });
    }
    connect(m_ring, &ColorSelection::currentColorChanged, this, &ColorAdjustWidget::onRingColorChanged);
}

QWidget* ColorAdjustWidget::buildRing()
{
    auto* holder = new QWidget;
    holder->setFixedSize(ColorSelection::kSide, ColorSelection::kSide);
    auto* picture = new QLabel(holder);
    picture->setObjectName(QStringLiteral("ringPicture"));
    picture->setGeometry(0, 0, ColorSelection::kSide, ColorSelection::kSide);
    // Created after the picture, so it is drawn above it.
    m_ring = new ColorSelection(holder);
    m_ring->setObjectName(QStringLiteral("colorRing"));
    m_ring->move(0, 0);
    picture->setPixmap(wheelPicture(ColorSelection::kSide, m_ring->outerRadius()));
    return holder;
}

QColor ColorAdjustWidget::presetColor(int id)
{
    if (id < 0 || id >= kPresets) {
        return QColor();
    }
    return QColor::fromRgb(kPresetColours[id]);
}

SegEffectParams ColorAdjustWidget::currentParam() const
{
    SegEffectParams params = m_params;
    params.angle = m_ring->angle();
    return params;
}

void ColorAdjustWidget::setCurrentParam(quint32 type, qint32 onoff, quint32 color, quint32 light,
                                        qint32 function, double angle)
{
    m_params.type = type;
    m_params.onoff = onoff;
    m_params.color = color & 0xFFFFFF;
    m_params.light = light;
    m_params.function = function;
    m_params.angle = angle;
    m_ring->setAngle(angle);

    if (type < quint32(kModes)) {
        m_modeGroup->button(int(type))->setChecked(true);
    }
    if (function == 0 || function == 1) {
        m_functionGroup->button(function)->setChecked(true);
    }
    m_onOff->setChecked(onoff >= 1);
    m_light->setValue(int(qMin<quint32>(light, 100)));
    moveSlidersToColor();
}

void ColorAdjustWidget::onModeToggled(int id, bool checked)
{
    if (!checked) {
        return;
    }
    m_params.type = quint32(id);
    announce();
}

void ColorAdjustWidget::onFunctionToggled(int id, bool checked)
{
    if (!checked) {
        return;
    }
    m_params.function = id;
    if (m_scene) {
        m_scene->setSource(id);
    }
    announce();
}

void ColorAdjustWidget::onOnOffToggled(bool on)
{
    m_params.onoff = on ? 1 : 0;
    announce();
}

void ColorAdjustWidget::onLightChanged(int value)
{
    m_params.light = quint32(value);
    announce();
}

void ColorAdjustWidget::onChannelChanged(int channel, int value)
{
    const int shift = kChannelShift[channel];
    m_params.color = (m_params.color & ~(0xFFU << shift)) | (quint32(value & 0xFF) << shift);
    m_channelValues[channel]->setText(QString::number(value));
    announce();
}

void ColorAdjustWidget::onPresetClicked(int id)
{
    m_params.color = presetColor(id).rgb() & 0xFFFFFF;
    moveSlidersToColor();
    announce();
}

void ColorAdjustWidget::onRingColorChanged(const QColor& color)
{
    if (!color.isValid()) {
        return;
    }
    m_params.color = color.rgb() & 0xFFFFFF;
    moveSlidersToColor();
    announce();
}

void ColorAdjustWidget::moveSlidersToColor()
{
    // The colour is set first, so each slider's own handler finds its
    // channel already in place.
    for (int c = 0; c < 3; ++c) {
        m_channels[c]->setValue(int((m_params.color >> kChannelShift[c]) & 0xFF));
    }
}

void ColorAdjustWidget::announce()
{
    emit updateCurrentParam(m_params.type, m_params.onoff, m_params.color, m_params.light, m_params.function,
                            m_ring->angle());
}
