#pragma once

#include <QLoggingCategory>

// Segment scene, lighting effects and the effect panel.
Q_DECLARE_LOGGING_CATEGORY(lcDigital)
