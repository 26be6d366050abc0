#pragma once

#include <QString>

// The official themes that come with Panelcast: theme folders built from the
// JSON themes in the source tree into <W><H>/official/ of a themes tree. A
// build folder's own copy and an installed copy read that tree directly as
// their official library; a data directory elsewhere ($PANELCAST_DATA_DIR) is
// filled from it the first time a display of that size appears, and files
// already there are never overwritten.
namespace OfficialThemes {

// $PANELCAST_OFFICIAL_THEMES, else "themes" in the program's folder (a build
// tree), else "share/panelcast/themes" next to it (an installed copy); empty
// when none exists.
QString shippedFolder();

// Copies the shipped themes of width x height into the official library;
// false when nothing is shipped for that size or a copy failed.
bool installFor(int width, int height);

} // namespace OfficialThemes
