#pragma once

#include <QString>

namespace Panelcast {

// The folder that holds the user's data: baseInfo.cfg, sensorName.cfg,
// themes/, boot_video.h264 and optional translation files.
// $PANELCAST_DATA_DIR wins; else the executable's folder when it is writable
// (a portable copy); else the per-user data location. The folder is created
// when it does not exist yet.
QString dataDirectory();

// Folder of the installed shared files (translations), next to the
// executable's bin/ as share/panelcast.
QString installedShareDirectory();

} // namespace Panelcast
