#pragma once

#include <QLoggingCategory>

// Start-up, main window and tray.
Q_DECLARE_LOGGING_CATEGORY(lcApp)
