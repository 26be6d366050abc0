#include "replaysensorlibrary.h"

#include "sensorlog.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <utility>

namespace {

bool readJsonObject(const QString& path, QJsonObject* object, int* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > ReplaySensorLibrary::kMaxFileBytes) {
        *error = ReplaySensorLibrary::UnreadableFile;
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc =
        QJsonDocument::fromJson(file.read(ReplaySensorLibrary::kMaxFileBytes), &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject()) {
        qCWarning(lcSensors).noquote()
            << "ReplaySensorLibrary: not a JSON object:" << path << parseError.errorString();
        *error = ReplaySensorLibrary::NotJson;
        return false;
    }
    *object = doc.object();
    return true;
}

bool isInt(const QJsonValue& value)
{
    return value.isDouble() && value.toDouble() == double(value.toInt());
}

} // namespace

ReplaySensorLibrary::ReplaySensorLibrary(QString path) : m_path(std::move(path)) {}

bool ReplaySensorLibrary::load()
{
    return QFileInfo(m_path).isFile();
}

int ReplaySensorLibrary::start(int)
{
    QJsonObject root;
    int error = Started;
    if (!readJsonObject(m_path, &root, &error)) {
        return error;
    }
    const QJsonArray sensors = root.value(QStringLiteral("sensors")).toArray();
    QVector<ModelSensor> model;
    QVector<QVector<QVector<double>>> sequences;
    for (const QJsonValue& sensorValue : sensors) {
        const QJsonObject sensorObject = sensorValue.toObject();
        if (!sensorObject.value(QStringLiteral("name")).isString()) {
            qCWarning(lcSensors) << "ReplaySensorLibrary: a sensor without a name in" << m_path;
            return BadStructure;
        }
        ModelSensor sensor;
        sensor.name = sensorObject.value(QStringLiteral("name")).toString();
        QVector<QVector<double>> sensorSequences;
        for (const QJsonValue& readingValue : sensorObject.value(QStringLiteral("readings")).toArray()) {
            const QJsonObject r = readingValue.toObject();
            const QJsonValue type = r.value(QStringLiteral("type"));
            if (!isInt(type) || type.toInt() < 1 || type.toInt() > kKindCount ||
                !isInt(r.value(QStringLiteral("class"))) || !isInt(r.value(QStringLiteral("subclass")))) {
                qCWarning(lcSensors).noquote() << "ReplaySensorLibrary: a reading of" << sensor.name
                                               << "lacks a valid type, class or subclass";
                return BadStructure;
            }
            ModelReading reading;
            reading.kind = type.toInt();
            reading.sensorClass = r.value(QStringLiteral("class")).toInt();
            reading.subClass = r.value(QStringLiteral("subclass")).toInt();
            reading.device = r.value(QStringLiteral("device")).toString();
            reading.label = r.value(QStringLiteral("label")).toString();
            reading.unit = r.value(QStringLiteral("unit")).toString();
            QVector<double> values;
            for (const QJsonValue& v : r.value(QStringLiteral("values")).toArray()) {
                values.append(v.toDouble());
            }
            if (values.isEmpty()) {
                values.append(r.value(QStringLiteral("value")).toDouble());
            }
            reading.value = values.first();
            sensor.readings.append(reading);
            sensorSequences.append(values);
        }
        model.append(sensor);
        sequences.append(sensorSequences);
    }
    m_sensors = model;
    m_sequences = sequences;
    m_step = -1;
    rebuildSlots();
    return Started;
}

void ReplaySensorLibrary::shutdown() {}

void ReplaySensorLibrary::updateReadings()
{
    ++m_step;
    for (int s = 0; s < m_sensors.size(); ++s) {
        QVector<ModelReading>& readings = m_sensors[s].readings;
        for (int r = 0; r < readings.size(); ++r) {
            const QVector<double>& values = m_sequences.at(s).at(r);
            readings[r].value = values.at(m_step % values.size());
        }
    }
}

QJsonObject ReplaySensorLibrary::readAuxiliary(const QString& path)
{
    QJsonObject root;
    int error = Started;
    if (!readJsonObject(path, &root, &error)) {
        return {};
    }
    return root.value(QStringLiteral("auxiliary")).toObject();
}
