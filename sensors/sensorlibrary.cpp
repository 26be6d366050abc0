#include "sensorlibrary.h"

#include "replaysensorlibrary.h"
#ifdef Q_OS_WIN
#include "configuresensorlibrary.h"
#else
#include "linuxsensorlibrary.h"
#endif

#include <cstring>

void SensorLibraryRecord::clear()
{
    std::memset(static_cast<void*>(this), 0, sizeof(*this));
}

QString sensorFieldText(const char* field, std::size_t capacity)
{
    const void* end = std::memchr(field, '\0', capacity);
    const std::size_t length = end ? std::size_t(static_cast<const char*>(end) - field) : capacity;
    return QString::fromUtf8(field, int(length));
}

void setSensorFieldText(char* field, std::size_t capacity, const QString& text)
{
    if (capacity == 0) {
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    std::size_t length = std::min(std::size_t(utf8.size()), capacity - 1);
    // Never cut a multi-byte character in half.
    while (length > 0 && length < std::size_t(utf8.size()) && (uchar(utf8.at(int(length))) & 0xC0) == 0x80) {
        --length;
    }
    std::memcpy(field, utf8.constData(), length);
    std::memset(field + length, 0, capacity - length);
}

QString SensorLibraryRecord::unitText() const
{
    return sensorFieldText(unit, sizeof(unit));
}

QString SensorLibraryRecord::deviceText() const
{
    return sensorFieldText(device, sizeof(device));
}

QString SensorLibraryRecord::labelText() const
{
    return sensorFieldText(label, sizeof(label));
}

void SensorLibraryRecord::setUnit(const QString& text)
{
    setSensorFieldText(unit, sizeof(unit), text);
}

void SensorLibraryRecord::setDevice(const QString& text)
{
    setSensorFieldText(device, sizeof(device), text);
}

void SensorLibraryRecord::setLabel(const QString& text)
{
    setSensorFieldText(label, sizeof(label), text);
}

std::unique_ptr<SensorLibrary> createSystemSensorLibrary()
{
    const QString replay = qEnvironmentVariable("PANELCAST_SENSOR_REPLAY");
    if (!replay.isEmpty()) {
        return std::make_unique<ReplaySensorLibrary>(replay);
    }
#ifdef Q_OS_WIN
    return std::make_unique<ConfigureSensorLibrary>();
#else
    return std::make_unique<LinuxSensorLibrary>();
#endif
}
