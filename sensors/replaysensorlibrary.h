#pragma once

#include "modelsensorlibrary.h"

#include <QJsonObject>
#include <QString>
#include <QVector>

// A sensor source that plays back a JSON snapshot, for tests, demos and
// screenshots. The file holds
//   {"sensors": [{"name": "...", "readings": [{"type": 1, "class": 11,
//     "subclass": 10, "device": "...", "label": "...", "unit": "°C",
//     "value": 45 | "values": [45, 46, 47]}]}],
//    "auxiliary": {...}}
// A reading with "values" advances one step per update and wraps around.
class ReplaySensorLibrary : public ModelSensorLibrary
{
public:
    enum StartError
    {
        Started = 0,
        UnreadableFile = 1,
        NotJson = 2,
        BadStructure = 3,
    };

    // Files above this size are refused rather than parsed.
    static constexpr qint64 kMaxFileBytes = 8 * 1024 * 1024;

    explicit ReplaySensorLibrary(QString path);

    bool load() override;
    int start(int flags) override;
    void shutdown() override;
    void updateReadings() override;

    // The "auxiliary" object of the snapshot (empty when absent or the file
    // is unreadable); see SensorAuxiliary::applyReplay.
    static QJsonObject readAuxiliary(const QString& path);

private:
    QString m_path;
    QVector<QVector<QVector<double>>> m_sequences; // per sensor, per reading
    int m_step = -1;
};
