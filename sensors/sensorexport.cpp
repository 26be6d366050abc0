#include "sensorexport.h"

#include <QFile>
#include <QTextStream>

namespace SensorExport {

namespace {

QString threeDigits(qint32 number)
{
    return QString::asprintf("%03d", number);
}

} // namespace

QString text(const QVector<SensorReading>& catalogue)
{
    QString out;
    for (const SensorReading& r : catalogue) {
        out += QStringLiteral("name:    ") + r.sensorName + QLatin1Char('\n');
        out += QStringLiteral("type:    ") + threeDigits(r.readingType) + QLatin1Char('\n');
        out += QStringLiteral("sensor:  ") + threeDigits(r.sensorClass) + QStringLiteral("  ") +
               r.deviceName + QLatin1Char('\n');
        out += QStringLiteral("reading: ") + threeDigits(r.subClass) + QStringLiteral("  ") + r.label +
               QLatin1Char('\n');
        out +=
            QStringLiteral("value:   ") + QString::number(r.value, 'g', 6) + r.unit + QStringLiteral("\n\n");
    }
    return out;
}

QString suggestedFileName(const QDateTime& now)
{
    return QStringLiteral("./SensorInfo") + now.toString(QStringLiteral("_yyyyMMddhhmm"));
}

bool writeFile(const QString& path, const QString& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    stream << text;
    stream.flush();
    file.close();
    return stream.status() == QTextStream::Ok && file.error() == QFileDevice::NoError;
}

} // namespace SensorExport
