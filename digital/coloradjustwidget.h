#pragma once

#include "segeffectparams.h"

#include <QColor>
#include <QWidget>

#include <array>

class ColorSelection;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QSlider;
class SegScene;

// The lighting panel of seven-segment devices: effect mode, monitored
// source, on/off, brightness and colour (sliders, presets and the colour
// ring). Every change is announced with the panel's six current values.
class ColorAdjustWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kModes = 6;
    static constexpr int kPresets = 8;

    // `scene` (may be null) follows the monitored source.
    explicit ColorAdjustWidget(SegScene* scene, QWidget* parent = nullptr);

    // Stores the six values and moves the controls to them; the moved
    // controls announce their change as a user's would.
    void setCurrentParam(quint32 type, qint32 onoff, quint32 color, quint32 light, qint32 function,
                         double angle);
    SegEffectParams currentParam() const;

    ColorSelection* colorRing() const { return m_ring; }
    static QColor presetColor(int id);

signals:
    void updateCurrentParam(quint32 type, qint32 onff, quint32 color, quint32 light, qint32 function,
                            double angle);

private slots:
    void onModeToggled(int id, bool checked);
    void onFunctionToggled(int id, bool checked);
    void onOnOffToggled(bool on);
    void onLightChanged(int value);
    void onChannelChanged(int channel, int value);
    void onPresetClicked(int id);
    void onRingColorChanged(const QColor& color);

private:
    QWidget* buildRing();
    void moveSlidersToColor();
    void announce();

    SegScene* m_scene = nullptr;
    SegEffectParams m_params;

    QButtonGroup* m_modeGroup = nullptr;
    QButtonGroup* m_functionGroup = nullptr;
    QButtonGroup* m_presetGroup = nullptr;
    QCheckBox* m_onOff = nullptr;
    QSlider* m_light = nullptr;
    std::array<QSlider*, 3> m_channels{};
    std::array<QLabel*, 3> m_channelValues{};
    ColorSelection* m_ring = nullptr;
};
