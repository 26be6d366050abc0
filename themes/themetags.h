#pragma once

#include <QtGlobal>

#include <array>

// Tag of each panel's record in a theme file; the first value of the record's stream.
enum ThemeTag : qint32
{
    CustomTextTag = 129, // dispcustomtextbox
    SystemInfoTag = 130, // dispsysteminfobox
    TimeTag = 131,       // disptimebox
    IconTag = 132,       // dispiconbox
    ArcTag = 133,        // disparcbox
    BarTag = 134,        // dispbarbox
    // Tags 135 to 143 are skipped by every reader of the format; these four
    // keep the widgets that no panel stores.
    GaugeTag = 135,      // gauges
    ChartTag = 136,      // charts
    ClockTag = 137,      // analog clocks (their images go to res)
    ThreeDTag = 138,     // 3D text
    BackgroundTag = 144, // dispbackgroundbox
    CaptureTag = 145,    // dispcapturebox
};

// The order in which a save writes the records and a load clears the panels;
// the widget records come last, so a file starts like one without them.
constexpr std::array<qint32, 12> kThemeTagOrder = {CustomTextTag, SystemInfoTag, TimeTag,       IconTag,
                                                   ArcTag,        BarTag,        BackgroundTag, CaptureTag,
                                                   GaugeTag,      ChartTag,      ClockTag,      ThreeDTag};

// Records whose reader and writer work with the theme's resource folder.
constexpr bool themeTagUsesResources(qint32 tag)
{
    return tag == IconTag || tag == BackgroundTag || tag == CaptureTag || tag == ClockTag;
}
