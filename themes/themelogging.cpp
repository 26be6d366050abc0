#include "themelogging.h"

Q_LOGGING_CATEGORY(lcThemes, "panelcast.themes")
