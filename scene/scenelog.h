#pragma once

#include <QLoggingCategory>

// Widget base, scene and view.
Q_DECLARE_LOGGING_CATEGORY(lcScene)
