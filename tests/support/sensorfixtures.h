#pragma once

#include "dispsensormanager.h"
#include "replaysensorlibrary.h"

#include <QString>

#include <memory>

// Paths and managers built from the replay fixtures in tests/data/sensors.
namespace SensorFixtures {

inline QString dataPath(const QString& relative)
{
    return qEnvironmentVariable("PANELCAST_TEST_DATA") + QStringLiteral("/sensors/") + relative;
}

inline QString replayPath(const QString& fixture)
{
    return dataPath(QStringLiteral("replay/") + fixture + QStringLiteral(".json"));
}

// Auxiliary sources that touch nothing of the machine: fixed texts, no disks,
// no sound.
inline SensorAuxiliary quietAuxiliary()
{
    SensorAuxiliary aux;
    aux.cpuName = [] { return QString(); };
    aux.memoryManufacturer = [] { return QString(); };
    aux.videoControllers = [] { return QStringList(); };
    aux.diskFigures = [] { return DiskFigures{}; };
    aux.masterVolume = [] { return 0; };
    return aux;
}

// A manager replaying the recording at path, with quiet auxiliary sources.
inline std::unique_ptr<DispSensorManager> replayManagerAt(const QString& path)
{
    SensorAuxiliary aux = quietAuxiliary();
    aux.applyReplay(ReplaySensorLibrary::readAuxiliary(path));
    return std::make_unique<DispSensorManager>(std::make_unique<ReplaySensorLibrary>(path), aux);
}

inline std::unique_ptr<DispSensorManager> replayManager(const QString& fixture)
{
    return replayManagerAt(replayPath(fixture));
}

// Runs loop passes until the display-value table is built.
inline void runUntilTableBuilt(DispSensorManager& manager)
{
    for (int pass = 0; pass < 4; ++pass) {
        manager.runLoopPass();
    }
}

} // namespace SensorFixtures
