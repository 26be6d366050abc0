#pragma once

#include <QLoggingCategory>

// Display widgets.
Q_DECLARE_LOGGING_CATEGORY(lcWidgets)
