#pragma once

#include "sensorcatalogue.h"

#include <QDateTime>
#include <QString>
#include <QVector>

namespace SensorExport {

// One block per record, in catalogue order, each followed by a blank line:
//   name:    <sensor name>
//   type:    <reading type %03d>
//   sensor:  <class %03d>  <device name>
//   reading: <sub-class %03d>  <label>
//   value:   <value, 'g' with 6 digits><unit>
QString text(const QVector<SensorReading>& catalogue);
// "./SensorInfo_yyyyMMddhhmm", the name the save dialog suggests.
QString suggestedFileName(const QDateTime& now);
// Writes the text as UTF-8; false when the file cannot be written.
bool writeFile(const QString& path, const QString& text);

} // namespace SensorExport
