#pragma once

#include <QLoggingCategory>

// Editor panels and their shared controls.
Q_DECLARE_LOGGING_CATEGORY(lcPanels)
