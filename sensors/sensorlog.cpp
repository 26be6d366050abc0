#include "sensorlog.h"

Q_LOGGING_CATEGORY(lcSensors, "panelcast.sensors")
