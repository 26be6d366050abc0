#pragma once

#include <QLoggingCategory>

// Theme files, theme storage and theme lists.
Q_DECLARE_LOGGING_CATEGORY(lcThemes)
