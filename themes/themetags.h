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
    BackgroundTag = 144, // dispbackgroundbox
    CaptureTag = 145,    // dispcapturebox
};

// The order in which a save writes the records and a load clears the panels.
constexpr std::array<qint32, 8> kThemeTagOrder = {CustomTextTag, SystemInfoTag, TimeTag,       IconTag,
                                                  ArcTag,        BarTag,        BackgroundTag, CaptureTag};

// Records whose reader and writer work with the theme's resource folder.
constexpr bool themeTagUsesResources(qint32 tag)
{
    return tag == IconTag || tag == BackgroundTag || tag == CaptureTag;
}
