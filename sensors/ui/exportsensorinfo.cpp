#include "exportsensorinfo.h"

#include "dispsensormanager.h"
#include "sensorexport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileDialog>

void exportSensorInfo(const DispSensorManager& manager, QWidget* parent)
{
    // The text is taken before the dialog opens, matching what the user saw.
    const QString text = manager.exportText();
    const QString path =
        QFileDialog::getSaveFileName(parent, QCoreApplication::translate("dispAllSensorInfo", "Save"),
                                     SensorExport::suggestedFileName(QDateTime::currentDateTime()),
                                     QCoreApplication::translate("dispAllSensorInfo", "info(*.txt)"));
    if (!path.isEmpty()) {
        SensorExport::writeFile(path, text);
    }
}
