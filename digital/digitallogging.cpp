#include "digitallogging.h"

Q_LOGGING_CATEGORY(lcDigital, "panelcast.digital")
