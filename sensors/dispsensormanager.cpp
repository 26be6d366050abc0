#include "dispsensormanager.h"

#include "replaysensorlibrary.h"
#include "sensorexport.h"
#include "sensorlog.h"

#include <chrono>
#include <utility>

using namespace SensorCodes;

namespace {

const DispSensorManager::Subscription kSubscriptions[DispSensorManager::kLastSubscription + 1] = {
    {"", "", "", 0},
    {"CPU [#0]:", "Core 0 Clock", QT_TRANSLATE_NOOP("DispSensorManager", "CPU Freq"), kClock},
    {"CPU [#0]:", "CPU Die", QT_TRANSLATE_NOOP("DispSensorManager", "CPU Temp"), kTemperature},
    {"CPU [#0]:", "Total CPU Usage", QT_TRANSLATE_NOOP("DispSensorManager", "CPU Usage"), kUsage},
    {"GPU [#0]:", "GPU Clock", QT_TRANSLATE_NOOP("DispSensorManager", "GPU Freq"), kClock},
    {"GPU [#0]:", "GPU Temperature", QT_TRANSLATE_NOOP("DispSensorManager", "GPU Temp"), kTemperature},
    {"GPU [#0]:", "GPU Core Load", QT_TRANSLATE_NOOP("DispSensorManager", "GPU Usage"), kUsage},
};

const QString kSystem = QStringLiteral("System");
const QString kCelsius = QStringLiteral("°C");
const QString kFahrenheitUnit = QStringLiteral("°F");

SensorAuxiliary systemAuxiliaryForSource()
{
    SensorAuxiliary aux = SensorAuxiliary::system();
    const QString replay = qEnvironmentVariable("PANELCAST_SENSOR_REPLAY");
    if (!replay.isEmpty()) {
        aux.applyReplay(ReplaySensorLibrary::readAuxiliary(replay));
    }
    return aux;
}

} // namespace

uint qHash(const DispSensorManager::ReadingKey& key, uint seed)
{
    return qHash(key.sensorIndex, seed) ^ qHash(key.readingType, seed) ^ qHash(key.device, seed) ^
           qHash(key.label, seed);
}

DispSensorManager::DispSensorManager(QObject* parent)
    : DispSensorManager(createSystemSensorLibrary(), systemAuxiliaryForSource(), parent)
{
}

DispSensorManager::DispSensorManager(std::unique_ptr<SensorLibrary> library, SensorAuxiliary auxiliary,
                                     QObject* parent)
    : QThread(parent), m_library(std::move(library)), m_aux(std::move(auxiliary))
{
    setObjectName(QStringLiteral("DispSensorManager"));
    if (!m_library || startLibrary() != 0) {
        qCDebug(lcSensors) << "Can't init the sensor manager";
        return;
    }
    enumerate();
    m_initialised = true;
}

DispSensorManager::~DispSensorManager()
{
    requestInterruption();
    {
        std::lock_guard<std::mutex> lock(m_sleepMutex);
        m_wake.notify_all();
    }
    wait();
    if (m_initialised) {
        std::lock_guard<std::mutex> lock(m_passMutex);
        m_library->shutdown();
    }
}

int DispSensorManager::startLibrary()
{
    if (!m_library->load()) {
        qCDebug(lcSensors) << "load failed";
        return -1;
    }
    const int code = m_library->start(SensorLibrary::kStartFlags);
    if (code != 0) {
        qCDebug(lcSensors).noquote() << QStringLiteral("init failed: ") + QString::number(code);
        return -2;
    }
    return 0;
}

void DispSensorManager::appendManagerRecord(int type, int sensorClass, int subClass, const QString& device,
                                            const QString& label, double value, const QString& unit)
{
    SensorReading record;
    record.deviceName = device;
    record.sensorClass = sensorClass;
    record.label = label;
    record.subClass = subClass;
    record.readingType = type;
    record.value = value;
    record.unit = unit;
    m_working.append(record);
}

void DispSensorManager::enumerate()
{
    std::lock_guard<std::mutex> lock(m_passMutex);
    const QString averageClock = QStringLiteral("Core Average Clock");
    const QString averageVolt = QStringLiteral("CPU Average Volt");
    appendManagerRecord(kCpuAverageClock, kClassCpu, 11, averageClock, averageClock, 0,
                        QStringLiteral("MHz"));
    appendManagerRecord(kCpuAverageVoltage, kClassCpu, 11, averageVolt, averageVolt, 0, QStringLiteral("V"));

    if (m_aux.memoryManufacturer) {
        m_memoryManufacturer = m_aux.memoryManufacturer();
    }
    if (m_aux.cpuName) {
        m_cpuName = m_aux.cpuName();
    }
    if (m_cpuName.contains(QLatin1String("Intel"))) {
        m_cpuVendor = IntelCpu;
    } else if (m_cpuName.contains(QLatin1String("AMD"))) {
        m_cpuVendor = AmdCpu;
    }

    const int sensors = m_library->sensorCount();
    m_library->updateReadings();
    SensorLibraryRecord record;
    char nameBuffer[SensorLibrary::kNameBufferSize];
    for (int s = 0; s < sensors; ++s) {
        m_library->selectSensor(s);
        std::fill(std::begin(nameBuffer), std::end(nameBuffer), '\0');
        m_library->sensorName(s, nameBuffer, int(sizeof(nameBuffer)));
        const QString sensorName = sensorFieldText(nameBuffer, sizeof(nameBuffer));
        for (int slot = 0; slot < SensorLibrary::kSlotCount; ++slot) {
            for (int kind = 1; kind <= SensorLibrary::kKindCount; ++kind) {
                record.clear();
                if ((m_library->readReading(kind, s, slot, &record) & 0xFF) == 0 || !record.isPresent()) {
                    continue;
                }
                const int sensorClass = int(record.sensorClass);
                const int subClass = int(record.subClass);
                const int type = int(record.readingType);
                if (!SensorRules::keepLibraryReading(sensorClass, type, subClass)) {
                    continue;
                }
                SensorReading reading;
                reading.sensorIndex = quint32(s);
                reading.sensorName = sensorName;
                reading.deviceName = record.deviceText();
                reading.sensorClass = sensorClass;
                reading.label = record.labelText();
                reading.subClass = subClass;
                reading.readingType = type;
                reading.value = record.value;
                reading.unit = record.unitText();
                if (kind == kTemperature) {
                    reading.unit = kCelsius;
                }
                const ReadingKey key{reading.sensorIndex, reading.readingType, reading.deviceName,
                                     reading.label};
                if (!m_recordByKey.contains(key)) {
                    m_recordByKey.insert(key, m_working.size());
                }
                m_working.append(reading);
            }
        }
    }

    if (m_cpuVendor == IntelCpu) {
        for (const SensorReading& r : qAsConst(m_working)) {
            if (r.sensorClass == kClassCpu && r.sensorName.contains(QLatin1String("Enhanced")) &&
                r.label.contains(QLatin1String("GPU Clock"))) {
                m_integratedGpu = true;
                break;
            }
        }
    }
    for (const SensorReading& r : qAsConst(m_working)) {
        if (r.sensorClass == kClassDrive) {
            m_driveSensorNames.append(r.sensorName);
        }
    }

    // Disks are asked on the manager's own thread only (its first pass): a
    // slow or hanging mount must never stall the thread that builds the manager.
    const DiskFigures disk;
    const QString gb = QStringLiteral("GB");
    appendManagerRecord(kDiskCapacity, kClassSystem, 0, kSystem, QStringLiteral("Disk Total"), disk.totalGb,
                        gb);
    appendManagerRecord(kDiskCapacity, kClassSystem, 0, kSystem, QStringLiteral("Disk Used"), disk.usedGb,
                        gb);
    appendManagerRecord(kDiskCapacity, kClassSystem, 0, kSystem, QStringLiteral("Disk Available"),
                        disk.availableGb, gb);
    appendManagerRecord(kUsage, kClassSystem, 0, kSystem, QStringLiteral("Disk Load"), disk.loadPercent,
                        QStringLiteral("%"));
    const int volume = m_aux.masterVolume ? m_aux.masterVolume() : 0;
    appendManagerRecord(kUsage, kClassSystem, 0, kSystem, QStringLiteral("Sound Volume"), volume,
                        QStringLiteral("%"));

    publishLocked();
}

void DispSensorManager::storeDiskFiguresLocked(const DiskFigures& figures)
{
    auto store = [this](int type, const char* label, double value) {
        for (SensorReading& r : m_working) {
            if (r.readingType == type && r.deviceName == kSystem && r.label == QLatin1String(label)) {
                r.value = value;
                return;
            }
        }
    };
    store(kDiskCapacity, "Disk Total", figures.totalGb);
    store(kDiskCapacity, "Disk Used", figures.usedGb);
    store(kDiskCapacity, "Disk Available", figures.availableGb);
    store(kUsage, "Disk Load", figures.loadPercent);
}

QVector<DispSensorManager::Notice> DispSensorManager::refreshPassLocked()
{
    const bool fahrenheit = m_fahrenheit.load();
    const int sensors = m_library->sensorCount();
    m_library->updateReadings();
    SensorLibraryRecord record;
    record.clear();
    for (int s = 0; s < sensors; ++s) {
        m_library->selectSensor(s);
        for (int slot = 0; slot < SensorLibrary::kSlotCount; ++slot) {
            for (int kind = 1; kind <= SensorLibrary::kKindCount; ++kind) {
                record.presence[0] = 0;
                if ((m_library->readReading(kind, s, slot, &record) & 0xFF) == 0 || !record.isPresent()) {
                    continue;
                }
                double value = record.value;
                QString unit;
                if (kind == kTemperature) {
                    if (fahrenheit) {
                        value = value * 9.0 / 5.0 + 32.0;
                        unit = kFahrenheitUnit;
                    } else {
                        unit = kCelsius;
                    }
                } else {
                    unit = record.unitText();
                }
                const auto it = m_recordByKey.constFind(ReadingKey{quint32(s), qint32(record.readingType),
                                                                   record.deviceText(), record.labelText()});
                if (it != m_recordByKey.constEnd()) {
                    SensorReading& target = m_working[it.value()];
                    target.value = value;
                    target.unit = unit;
                }
                // A filled record is cleared whole before it is reused, so no
                // text of one reading leaks into the next.
                record.clear();
            }
        }
    }

    // Averages; none contributing gives 0.
    auto average = [this](int sourceType, bool voltages, int targetType) {
        double sum = 0.0;
        int count = 0;
        QString unit;
        for (const SensorReading& r : qAsConst(m_working)) {
            if (r.readingType != sourceType || r.sensorClass != kClassCpu || r.subClass != 11) {
                continue;
            }
            const bool contributes = voltages ? r.label.contains(QLatin1String("VID"))
                                              : !r.label.contains(QLatin1String("Effective"));
            if (contributes) {
                sum += r.value;
                ++count;
                unit = r.unit;
            }
        }
        for (SensorReading& r : m_working) {
            if (r.readingType == targetType && r.sensorClass == kClassCpu && r.subClass == 11) {
                r.value = count == 0 ? 0.0 : sum / count;
                if (count > 0) {
                    r.unit = unit;
                }
                break;
            }
        }
    };
    average(kClock, false, kCpuAverageClock);
    average(kVoltage, true, kCpuAverageVoltage);

    const int volume = m_aux.masterVolume ? m_aux.masterVolume() : 0;
    for (SensorReading& r : m_working) {
        if (r.readingType == kUsage && r.deviceName == kSystem && r.label == QLatin1String("Sound Volume")) {
            r.value = volume;
            break;
        }
    }

    if (++m_refreshCounter >= kDiskRereadPasses) {
        if (m_aux.diskFigures) {
            storeDiskFiguresLocked(m_aux.diskFigures());
        }
        m_refreshCounter = 0;
    }

    QVector<Notice> notices;
    for (int type = kFirstSubscription; type <= kLastSubscription; ++type) {
        if (m_refCount[std::size_t(type)].load() <= 0) {
            continue;
        }
        const Subscription& sub = subscription(type);
        Notice notice{type, 0.0, QString()};
        for (const SensorReading& r : qAsConst(m_working)) {
            if (r.readingType == sub.readingType &&
                r.sensorName.startsWith(QLatin1String(sub.sensorPrefix)) &&
                r.label == QLatin1String(sub.label)) {
                notice.value = r.value;
                notice.unit = r.unit;
                break;
            }
        }
        m_lastValue[std::size_t(type)] = notice.value;
        notices.append(notice);
    }
    publishLocked();
    return notices;
}

void DispSensorManager::buildTableLocked()
{
    const QStringList controllers =
        (m_cpuVendor == IntelCpu && m_aux.videoControllers) ? m_aux.videoControllers() : QStringList();
    const GpuChoice gpu = SensorRules::chooseGpu(m_working, m_cpuVendor, controllers);
    DisplayTableContext context;
    context.cpuVendor = m_cpuVendor;
    context.gpuCount = gpu.count;
    context.gpuSensorName = gpu.sensorName;
    context.gpuName = gpu.name;
    context.networkSensorName = SensorRules::networkSensorName(m_working);
    context.driveSensorNames = m_driveSensorNames;
    context.cpuName = m_cpuName;
    context.memoryManufacturer = m_memoryManufacturer;
    const QVector<SensorBinding> table = SensorRules::buildDisplayTable(m_working, context);

    std::lock_guard<std::mutex> lock(m_publishMutex);
    m_gpu = gpu;
    m_networkSensorName = context.networkSensorName;
    m_publishedTable = table;
}

void DispSensorManager::publishLocked()
{
    // The copy shares its data with m_working until the next pass writes,
    // which then detaches m_working, never the published list.
    std::lock_guard<std::mutex> lock(m_publishMutex);
    m_publishedCatalogue = m_working;
}

void DispSensorManager::emitNotices(const QVector<Notice>& notices)
{
    for (const Notice& notice : notices) {
        emit dataChanged(notice.type, notice.value, notice.unit);
    }
}

void DispSensorManager::runLoopPass()
{
    if (!m_initialised) {
        return;
    }
    QVector<Notice> notices;
    {
        std::lock_guard<std::mutex> lock(m_passMutex);
        notices = refreshPassLocked();
    }
    emitNotices(notices);
    emit updateDisplayData();
    std::lock_guard<std::mutex> lock(m_passMutex);
    if (m_loopPass < 3) {
        ++m_loopPass;
    } else if (m_loopPass == 3) {
        buildTableLocked();
        m_loopPass = 4;
    }
}

void DispSensorManager::run()
{
    while (!isInterruptionRequested()) {
        runLoopPass();
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(m_passIntervalMs.load());
        std::unique_lock<std::mutex> lock(m_sleepMutex);
        while (!isInterruptionRequested() && std::chrono::steady_clock::now() < deadline) {
            m_wake.wait_until(lock, deadline);
        }
    }
}

void DispSensorManager::setPassInterval(int intervalMs)
{
    m_passIntervalMs.store(std::max(0, intervalMs));
}

void DispSensorManager::acquire(int type)
{
    if (type < kFirstSubscription || type > kLastSubscription) {
        qCDebug(lcSensors).noquote() << "DispSensorManager::acquire: type not exist";
        return;
    }
    QVector<Notice> notices;
    {
        std::lock_guard<std::mutex> lock(m_passMutex);
        m_lastValue[std::size_t(type)] = -1.0;
        m_refCount[std::size_t(type)].fetch_add(1);
        if (m_initialised) {
            notices = refreshPassLocked();
        }
    }
    emitNotices(notices);
    emit updateDisplayData();
}

void DispSensorManager::release(int type)
{
    if (type < kFirstSubscription || type > kLastSubscription) {
        return;
    }
    std::atomic<int>& count = m_refCount[std::size_t(type)];
    int current = count.load();
    while (current > 0 && !count.compare_exchange_weak(current, current - 1)) {
    }
    if (current <= 0) {
        qCWarning(lcSensors).noquote() << "DispSensorManager::release: something wrong int refCount";
    }
}

void DispSensorManager::setFahrenheit(bool fahrenheit)
{
    m_fahrenheit.store(fahrenheit);
}

int DispSensorManager::refCount(int type) const
{
    return type >= kFirstSubscription && type <= kLastSubscription ? m_refCount[std::size_t(type)].load() : 0;
}

const DispSensorManager::Subscription& DispSensorManager::subscription(int type)
{
    return kSubscriptions[type >= kFirstSubscription && type <= kLastSubscription ? type : 0];
}

QString DispSensorManager::gpuSensorName() const
{
    std::lock_guard<std::mutex> lock(m_publishMutex);
    return m_gpu.sensorName;
}

QString DispSensorManager::gpuName() const
{
    std::lock_guard<std::mutex> lock(m_publishMutex);
    return m_gpu.name;
}

int DispSensorManager::gpuCount() const
{
    std::lock_guard<std::mutex> lock(m_publishMutex);
    return m_gpu.count;
}

QString DispSensorManager::networkSensorName() const
{
    std::lock_guard<std::mutex> lock(m_publishMutex);
    return m_networkSensorName;
}

QVector<SensorReading> DispSensorManager::catalogue() const
{
    std::lock_guard<std::mutex> lock(m_publishMutex);
    return m_publishedCatalogue;
}

QVector<SensorBinding> DispSensorManager::displayTable() const
{
    std::lock_guard<std::mutex> lock(m_publishMutex);
    return m_publishedTable;
}

bool DispSensorManager::reading(int index, SensorReading* out) const
{
    std::lock_guard<std::mutex> lock(m_publishMutex);
    if (index < 0 || index >= m_publishedCatalogue.size()) {
        return false;
    }
    *out = m_publishedCatalogue.at(index);
    return true;
}

bool DispSensorManager::binding(int type, SensorBinding* out) const
{
    std::lock_guard<std::mutex> lock(m_publishMutex);
    if (type < 0 || type >= m_publishedTable.size()) {
        return false;
    }
    *out = m_publishedTable.at(type);
    return true;
}

DisplayValue DispSensorManager::displayValue(int type) const
{
    QVector<SensorReading> records;
    QVector<SensorBinding> table;
    {
        std::lock_guard<std::mutex> lock(m_publishMutex);
        records = m_publishedCatalogue;
        table = m_publishedTable;
    }
    DisplayValue result;
    if (type < 0 || type >= table.size()) {
        return result;
    }
    const SensorBinding& b = table.at(type);
    result.catalogueIndex = b.catalogueIndex;
    auto recordAt = [&](int position) -> const SensorReading* {
        if (position < 0 || position >= table.size()) {
            return nullptr;
        }
        const int index = table.at(position).catalogueIndex;
        return index >= 0 && index < records.size() ? &records.at(index) : nullptr;
    };
    if (b.catalogueIndex == SensorBinding::kFixedText) {
        result.kind = DisplayValue::Text;
        result.text = b.fixedText;
    } else if (b.catalogueIndex == SensorBinding::kSumOfPrevious) {
        const SensorReading* previous = recordAt(type - 1);
        const SensorReading* beforePrevious = recordAt(type - 2);
        if (!previous || !beforePrevious) {
            result.kind = DisplayValue::Unbound;
            result.text = QStringLiteral("0");
        } else {
            result.kind = DisplayValue::Record;
            result.value = double(qint64(previous->value + beforePrevious->value));
            result.unit = previous->unit;
            result.text = QString::number(qint64(result.value)) + result.unit;
        }
    } else if (const SensorReading* record = recordAt(type)) {
        result.kind = DisplayValue::Record;
        result.value = record->value;
        result.unit = record->unit;
        result.text = QString::number(record->value, 'g', 6) + record->unit;
    } else {
        result.kind = DisplayValue::Unbound;
        result.text = QStringLiteral("0");
    }
    return result;
}

QString DispSensorManager::exportText() const
{
    return SensorExport::text(catalogue());
}

bool DispSensorManager::exportToFile(const QString& path) const
{
    return SensorExport::writeFile(path, exportText());
}
