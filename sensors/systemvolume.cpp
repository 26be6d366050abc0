#include "systemvolume.h"

#include "sensorlog.h"
#ifdef Q_OS_WIN
#include "windowsvolumebackend.h"
#else
#include "alsavolumebackend.h"
#include "pulsevolumebackend.h"
#endif

#include <cmath>

namespace {

std::vector<std::unique_ptr<VolumeBackend>> platformBackends()
{
    std::vector<std::unique_ptr<VolumeBackend>> backends;
#ifdef Q_OS_WIN
    backends.push_back(createWindowsVolumeBackend());
#else
    backends.push_back(createPulseVolumeBackend());
    backends.push_back(createAlsaVolumeBackend());
#endif
    return backends;
}

} // namespace

SystemVolume::SystemVolume(QObject* parent) : SystemVolume(platformBackends(), parent) {}

SystemVolume::SystemVolume(std::vector<std::unique_ptr<VolumeBackend>> backends, QObject* parent)
    : QObject(parent), m_backends(std::move(backends))
{
}

SystemVolume::~SystemVolume() = default;

void SystemVolume::initialise()
{
    m_active = nullptr;
    for (const std::unique_ptr<VolumeBackend>& backend : m_backends) {
        if (backend->open()) {
            m_active = backend.get();
            qCDebug(lcSensors) << "SystemVolume::initialise: using" << backend->name();
            return;
        }
    }
    qCDebug(lcSensors) << "SystemVolume::initialise: no audio server or mixer, volume reads 0";
}

int SystemVolume::volume() const
{
    return m_active ? qBound(0, m_active->percent(), 100) : 0;
}

QString SystemVolume::backendName() const
{
    return m_active ? QString::fromLatin1(m_active->name()) : QString();
}

int SystemVolume::percentFromPulseVolume(quint32 average, quint32 norm)
{
    if (norm == 0) {
        return 0;
    }
    const double percent = std::round(double(average) * 100.0 / double(norm));
    return int(qBound(0.0, percent, 100.0));
}

int SystemVolume::percentFromRange(long value, long min, long max)
{
    if (max <= min) {
        return 0;
    }
    const double percent = std::round(double(value - min) * 100.0 / double(max - min));
    return int(qBound(0.0, percent, 100.0));
}
