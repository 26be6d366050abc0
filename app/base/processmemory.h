#pragma once

namespace Panelcast {

// Asks the system not to back this process's memory with transparent huge
// pages. The H.264 encoder requests them for its picture buffers, which
// rounds every display's encoder up by about 4 MB of resident memory; the
// frame rate does not need them. Called once, first thing in main().
// Returns false where the request is not available (not Linux, old kernel).
bool declineHugePages();

} // namespace Panelcast
