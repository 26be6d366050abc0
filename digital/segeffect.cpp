#include "segeffect.h"

#include <QtGlobal>

#include <algorithm>

namespace {

constexpr std::array<uint32_t, SegEffect::kZones> kRainbowStart = {0xFF6000, 0xFF4000, 0xFF2000, 0xFF0000};
constexpr int kLastPhase = 5;

SegColourCycle cycleFrom(uint32_t rgb)
{
    SegColourCycle cycle;
    cycle.r = int((rgb >> 16) & 0xFF);
    cycle.g = int((rgb >> 8) & 0xFF);
    cycle.b = int(rgb & 0xFF);
    cycle.phase = 0;
    return cycle;
}

// Moves one channel towards `bound`; true when it got there.
bool moveChannel(int* channel, int step, int bound)
{
    if (bound > 0) {
        *channel = std::min(*channel + step, bound);
    } else {
        *channel = std::max(*channel - step, bound);
    }
    return *channel == bound;
}

} // namespace

bool SegColourCycle::advance(int step)
{
    // Per phase: the channel that moves and where it stops.
    int* channels[] = {&g, &r, &b, &g, &r, &b};
    constexpr int bounds[] = {255, 0, 255, 0, 255, 0};
    if (phase < 0 || phase > kLastPhase) {
        phase = 0;
    }
    if (!moveChannel(channels[phase], step, bounds[phase])) {
        return false;
    }
    if (phase == kLastPhase) {
        phase = 0;
        return true;
    }
    ++phase;
    return false;
}

uint32_t SegColourCycle::rgb() const
{
    return (uint32_t(qBound(0, r, 255)) << 16) | (uint32_t(qBound(0, g, 255)) << 8) |
           uint32_t(qBound(0, b, 255));
}

void SegEffect::setParams(const SegEffectParams& params)
{
    const quint32 previousType = m_params.type;
    m_params = params;
    m_params.onoff = params.onoff > 0 ? 1 : 0;
    if (m_params.type == previousType) {
        return;
    }
    switch (m_params.type) {
    case SegEffectParams::Breath:
        m_breath.active = false;
        break;
    case SegEffectParams::Gradient:
        m_gradient.active = false;
        break;
    case SegEffectParams::Rainbow:
        // Zone 1 idle makes the next step start all four zones again.
        m_rainbow.active = {false, false, false, true};
        break;
    default:
        break;
    }
}

uint32_t SegEffect::scaled(uint32_t rgb, int onoff, int factor)
{
    const auto channel = [&](int shift) {
        const qint64 value = qint64((rgb >> shift) & 0xFF) * onoff * factor / 100;
        return uint32_t(qBound<qint64>(0, value, 255)) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

uint32_t SegEffect::temperatureColour(int temperature)
{
    if (temperature < 30) {
        return 0x00FFFF;
    }
    if (temperature < 50) {
        return 0x00FF00;
    }
    if (temperature < 70) {
        return 0xFFFF00;
    }
    if (temperature < 90) {
        return 0xFF7F00;
    }
    return 0xFF0000;
}

int SegEffect::breathStep(int light)
{
    return std::max(1, light / 15);
}

SegEffect::Frame SegEffect::single(uint32_t rgb) const
{
    Frame frame;
    frame.send = true;
    frame.colours.fill(rgb);
    return frame;
}

SegEffect::Frame SegEffect::step(int temperature)
{
    const int light = int(std::min<quint32>(m_params.light, 100));
    switch (m_params.type) {
    case SegEffectParams::Static:
        return single(scaled(m_params.color, m_params.onoff, light));
    case SegEffectParams::Breath:
        return stepBreath();
    case SegEffectParams::Gradient:
        return stepGradient();
    case SegEffectParams::Rainbow:
        return stepRainbow();
    case SegEffectParams::TempLinkage:
        return single(scaled(temperatureColour(temperature), m_params.onoff, light));
    default:
        return Frame();
    }
}

SegEffect::Frame SegEffect::stepBreath()
{
    const int light = int(std::min<quint32>(m_params.light, 100));
    if (!m_breath.active) {
        if (light != 0) {
            m_breath.active = true;
            m_breath.level = light;
            m_breath.down = true;
            m_breath.step = breathStep(light);
        }
        return single(scaled(m_params.color, m_params.onoff, light));
    }
    if (m_breath.down) {
        m_breath.level -= m_breath.step;
        if (m_breath.level < 0) {
            m_breath.level = m_breath.step;
            m_breath.down = false;
        }
    } else {
        m_breath.level += m_breath.step;
        if (m_breath.level > light) {
            m_breath.level = light;
            m_breath.active = false;
        }
    }
    // A brightness lowered mid-breath caps the level at once, so a dimmed
    // or dark panel never flashes brighter than asked.
    return single(scaled(m_params.color, m_params.onoff, std::min(m_breath.level, light)));
}

SegEffect::Frame SegEffect::stepGradient()
{
    const int light = int(std::min<quint32>(m_params.light, 100));
    if (!m_gradient.active) {
        m_gradient.active = true;
        m_gradient.colour = SegColourCycle();
    } else if (m_gradient.colour.advance(kGradientStep)) {
        m_gradient.active = false;
    }
    return single(scaled(m_gradient.colour.rgb(), m_params.onoff, light));
}

SegEffect::Frame SegEffect::stepRainbow()
{
    const int light = int(std::min<quint32>(m_params.light, 100));
    if (!m_rainbow.active[0]) {
        for (int i = 0; i < kZones; ++i) {
            m_rainbow.zones[i] = cycleFrom(kRainbowStart[i]);
            m_rainbow.active[i] = true;
        }
        m_rainbow.step = kRainbowStep;
    } else {
        for (int i = 0; i < kZones; ++i) {
            if (!m_rainbow.active[i]) {
                continue;
            }
            // Zones 1 to 3 start ahead and wrap round into the next cycle;
            // the last zone's finish restarts all four together.
            if (m_rainbow.zones[i].advance(m_rainbow.step) && i == kZones - 1) {
                m_rainbow.active[0] = false;
                m_rainbow.active[kZones - 1] = false;
            }
        }
    }
    Frame frame;
    frame.send = true;
    frame.quad = true;
    for (int i = 0; i < kZones; ++i) {
        frame.colours[i] = scaled(m_rainbow.zones[i].rgb(), m_params.onoff, light);
    }
    return frame;
}
