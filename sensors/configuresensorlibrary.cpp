#include "configuresensorlibrary.h"

#include <QCoreApplication>

namespace {

// Export ordinals of the library's entry points.
constexpr int kOrdinalStart = 590;
constexpr int kOrdinalShutdown = 906;
constexpr int kOrdinalCount = 883;
constexpr int kOrdinalUpdate = 726;
constexpr int kOrdinalSelect = 749;
constexpr int kOrdinalName = 618;
constexpr int kOrdinalRead = 106;

} // namespace

ConfigureSensorLibrary::ConfigureSensorLibrary()
    : m_library(QCoreApplication::applicationDirPath() + QStringLiteral("/configure.dat"))
{
}

// Never unloaded while the process runs: the library keeps driver handles.
ConfigureSensorLibrary::~ConfigureSensorLibrary() = default;

bool ConfigureSensorLibrary::load()
{
    if (!m_library.load()) {
        return false;
    }
    // QLibrary::resolve takes an ordinal as the symbol pointer (MAKEINTRESOURCE).
    auto resolve = [this](int ordinal) {
        return m_library.resolve(reinterpret_cast<const char*>(static_cast<quintptr>(ordinal)));
    };
    const auto start = resolve(kOrdinalStart);
    const auto shutdown = resolve(kOrdinalShutdown);
    const auto count = resolve(kOrdinalCount);
    const auto update = resolve(kOrdinalUpdate);
    const auto select = resolve(kOrdinalSelect);
    const auto name = resolve(kOrdinalName);
    const auto read = resolve(kOrdinalRead);
    if (!start || !shutdown || !count || !update || !select || !name || !read) {
        return false;
    }
    m_start = reinterpret_cast<StartFn>(start);
    m_shutdown = reinterpret_cast<VoidFn>(shutdown);
    m_count = reinterpret_cast<VoidFn>(count);
    m_update = reinterpret_cast<VoidFn>(update);
    m_select = reinterpret_cast<IndexFn>(select);
    m_name = reinterpret_cast<NameFn>(name);
    m_read = reinterpret_cast<ReadFn>(read);
    return true;
}

int ConfigureSensorLibrary::start(int flags)
{
    return m_start(flags);
}

void ConfigureSensorLibrary::shutdown()
{
    m_shutdown();
}

int ConfigureSensorLibrary::sensorCount()
{
    return m_count();
}

void ConfigureSensorLibrary::updateReadings()
{
    m_update();
}

void ConfigureSensorLibrary::selectSensor(int sensor)
{
    m_select(sensor);
}

void ConfigureSensorLibrary::sensorName(int sensor, char* buffer, int size)
{
    m_name(sensor, buffer, size);
    if (size > 0) {
        buffer[size - 1] = '\0';
    }
}

int ConfigureSensorLibrary::readReading(int kind, int sensor, int slot, SensorLibraryRecord* record)
{
    return m_read(kind, sensor, slot, record);
}
