#pragma once

#include <functional>

class QObject;

namespace Panelcast {

// Routes SIGINT and SIGTERM into the event loop: `onSignal` runs as an
// ordinary slot of `context`, so clean-up (removing links, printing totals)
// never happens inside a signal handler. Returns false when the signals
// cannot be watched on this platform or the handlers cannot be installed.
bool watchQuitSignals(QObject* context, std::function<void()> onSignal);

} // namespace Panelcast
