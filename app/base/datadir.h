#pragma once

#include <QString>

namespace Panelcast {

// The folder that holds the user's data: baseInfo.cfg, sensorName.cfg,
// themes/, boot_video.h264 and optional translation files.
// $PANELCAST_DATA_DIR wins; else the executable's folder when it is writable
// (a portable copy); else the per-user data location. The folder is created
// when it does not exist yet.
QString dataDirectory();

// Folder of the installed shared files (translations, official themes),
// next to the executable's bin/ as share/panelcast.
QString installedShareDirectory();

// The folder holding the official themes ("themes/" + W + H + "/official/..."):
// the read-only installed share/panelcast/themes when the program runs
// installed, else the data directory's "themes" (a build folder or portable
// copy, where both libraries live side by side).
QString officialThemesDirectory();
// The rule above on given folders: installed means the data directory is not
// the executable's folder and installedThemes exists.
QString officialThemesDirectory(const QString& dataDir, const QString& appDir,
                                const QString& installedThemes);

} // namespace Panelcast
