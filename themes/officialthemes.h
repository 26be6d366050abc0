#pragma once

#include <QString>

// The official themes that come with Panelcast: theme folders built from the
// JSON themes in the source tree, shipped beside the program. A user's
// official library of a panel size is filled from them the first time a
// display of that size appears; files already there are never overwritten.
namespace OfficialThemes {

// $PANELCAST_OFFICIAL_THEMES, else "official-themes" next to the program's
// folder (a build tree), else "share/panelcast/official-themes" next to it
// (an installed copy); empty when none exists.
QString shippedFolder();

// Copies the shipped themes of width x height into the official library;
// false when nothing is shipped for that size or a copy failed.
bool installFor(int width, int height);

} // namespace OfficialThemes
