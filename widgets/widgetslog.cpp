#include "widgetslog.h"

Q_LOGGING_CATEGORY(lcWidgets, "panelcast.widgets")
