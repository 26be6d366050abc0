#pragma once

#include <QLoggingCategory>

// Base settings, data directory, auto run and translations.
Q_DECLARE_LOGGING_CATEGORY(lcBase)
