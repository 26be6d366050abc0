#include "logging.h"

Q_LOGGING_CATEGORY(lcBase, "panelcast.base")
