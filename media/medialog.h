#pragma once

#include <QLoggingCategory>

// Media tools: the video clipping tool and its encoder runs.
Q_DECLARE_LOGGING_CATEGORY(lcMedia)
