#pragma once

class DispSensorManager;
class QWidget;

// Asks for a file and writes the readings export there; a cancelled dialog
// or an unwritable file ends silently.
void exportSensorInfo(const DispSensorManager& manager, QWidget* parent);
