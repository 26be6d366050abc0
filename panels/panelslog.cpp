#include "panelslog.h"

Q_LOGGING_CATEGORY(lcPanels, "panelcast.panels")
