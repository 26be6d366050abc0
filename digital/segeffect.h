#pragma once

#include "segeffectparams.h"

#include <array>
#include <cstdint>

// One colour walking the hue circle: six phases that each move one channel
// to its bound (G up, R down, B up, G down, R up, B down).
struct SegColourCycle
{
    int r = 255;
    int g = 0;
    int b = 0;
    int phase = 0;

    // Moves one channel by `step`; a channel reaching its bound is clamped
    // and the next phase begins. Returns true when the sixth phase ended
    // (the cycle is back at phase 0).
    bool advance(int step);
    uint32_t rgb() const;
};

// The lighting-effect arithmetic of a seven-segment device, one step every
// 50 ms. The device's effect object and the preview scene each run their
// own instance, so the scene shows what the panel shows.
class SegEffect
{
public:
    static constexpr int kStepIntervalMs = 50;
    static constexpr int kGradientStep = 8;
    static constexpr int kRainbowStep = 12;
    static constexpr int kZones = 4;

    // What one step produces.
    struct Frame
    {
        bool send = false; // false: nothing changes (load linkage and above)
        bool quad = false; // four zone colours (rainbow) instead of one
        std::array<uint32_t, kZones> colours{};
    };

    // Stores the parameters; onoff is kept as 1 or 0. A change of type to
    // breathing, gradient or rainbow restarts that animation at the next step.
    void setParams(const SegEffectParams& params);
    const SegEffectParams& params() const { return m_params; }

    Frame step(int temperature);

    // component * factor * onoff / 100 for each channel, truncated and
    // capped at 255.
    static uint32_t scaled(uint32_t rgb, int onoff, int factor);
    // Colour of the temperature link for a temperature in whole degrees.
    static uint32_t temperatureColour(int temperature);
    // Breathing step for a brightness: brightness / 15, at least 1.
    static int breathStep(int light);

private:
    Frame single(uint32_t rgb) const;
    Frame stepBreath();
    Frame stepGradient();
    Frame stepRainbow();

    SegEffectParams m_params;

    struct Breath
    {
        bool active = false;
        bool down = true;
        int level = 0;
        int step = 1;
    } m_breath;

    struct Gradient
    {
        bool active = false;
        SegColourCycle colour;
    } m_gradient;

    struct Rainbow
    {
        std::array<bool, kZones> active{};
        std::array<SegColourCycle, kZones> zones{};
        int step = kRainbowStep;
    } m_rainbow;
};
