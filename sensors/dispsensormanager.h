#pragma once

#include "sensorauxiliary.h"
#include "sensorcatalogue.h"
#include "sensorlibrary.h"

#include <QHash>
#include <QThread>
#include <QVector>

#include <array>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

// What a reader shows for one display type.
struct DisplayValue
{
    enum Kind
    {
        NoTable, // the table is not built yet: keep the previous text
        Unbound, // show "0"
        Record,  // value and unit
        Text,    // fixed text
    };
    Kind kind = NoTable;
    double value = 0.0;
    QString unit;
    QString text;
    int catalogueIndex = SensorBinding::kNoRecord;
};

// The one source of PC sensor readings: loads the sensor library, keeps the
// sensor catalogue current once a second on its own thread and binds the
// display types to catalogue records on its fourth pass.
//
// Readers on other threads see immutable snapshots: every pass works on a
// private catalogue and publishes a copy when it is complete, so a reader
// never walks a half-written pass.
class DispSensorManager : public QThread
{
    Q_OBJECT

public:
    enum CpuVendor
    {
        IntelCpu = 0,
        AmdCpu = 1,
    };

    static constexpr int kFirstSubscription = 1;
    static constexpr int kLastSubscription = 6;
    // Disk figures are read again after this many refresh passes.
    static constexpr int kDiskRereadPasses = 60;
    static constexpr int kDefaultPassIntervalMs = 1000;

    // The system's sensor source and auxiliary sources.
    explicit DispSensorManager(QObject* parent = nullptr);
    DispSensorManager(std::unique_ptr<SensorLibrary> library, SensorAuxiliary auxiliary,
                      QObject* parent = nullptr);
    ~DispSensorManager() override;

    void acquire(int type);
    void release(int type);
    void setFahrenheit(bool fahrenheit);

    bool isInitialised() const { return m_initialised; }
    int cpuVendor() const { return m_cpuVendor; }
    bool hasIntegratedGpu() const { return m_integratedGpu; }
    QString cpuName() const { return m_cpuName; }
    QString memoryManufacturer() const { return m_memoryManufacturer; }
    QStringList driveSensorNames() const { return m_driveSensorNames; }
    QString gpuSensorName() const;
    QString gpuName() const;
    int gpuCount() const;
    QString networkSensorName() const;
    int refCount(int type) const;

    // Readers: copies of the latest published snapshot.
    QVector<SensorReading> catalogue() const;
    QVector<SensorBinding> displayTable() const;
    bool reading(int index, SensorReading* out) const;
    bool binding(int type, SensorBinding* out) const;
    DisplayValue displayValue(int type) const;

    // The catalogue in the readings export format.
    QString exportText() const;
    bool exportToFile(const QString& path) const;

    // One pass of the thread body without its sleep: refresh, notify, and
    // on the fourth pass build the display-value table.
    void runLoopPass();
    // Time between passes of the thread (tools and tests shorten it).
    void setPassInterval(int intervalMs);

    // Subscription table entry (1..6).
    struct Subscription
    {
        const char* sensorPrefix;
        const char* label;
        const char* displayName;
        int readingType;
    };
    static const Subscription& subscription(int type);

signals:
    void dataChanged(int type, double value, QString unitStr);
    void updateDisplayData();

protected:
    void run() override;

private:
    struct Notice
    {
        int type;
        double value;
        QString unit;
    };
    struct ReadingKey
    {
        quint32 sensorIndex;
        qint32 readingType;
        QString device;
        QString label;
        bool operator==(const ReadingKey& other) const
        {
            return sensorIndex == other.sensorIndex && readingType == other.readingType &&
                   device == other.device && label == other.label;
        }
    };
    friend uint qHash(const ReadingKey& key, uint seed);

    int startLibrary();
    void enumerate();
    // Both run with m_passMutex held and return what to emit once it is
    // released.
    QVector<Notice> refreshPassLocked();
    void buildTableLocked();
    void publishLocked();
    void appendManagerRecord(int type, int sensorClass, int subClass, const QString& device,
                             const QString& label, double value, const QString& unit);
    void storeDiskFiguresLocked(const DiskFigures& figures);
    void emitNotices(const QVector<Notice>& notices);

    // Set at construction, read-only afterwards.
    std::unique_ptr<SensorLibrary> m_library;
    SensorAuxiliary m_aux;
    bool m_initialised = false;
    int m_cpuVendor = IntelCpu;
    bool m_integratedGpu = false;
    QString m_cpuName;
    QString m_memoryManufacturer;
    QStringList m_driveSensorNames;
    QHash<ReadingKey, int> m_recordByKey;

    // Pass state: only touched with m_passMutex held.
    mutable std::mutex m_passMutex;
    QVector<SensorReading> m_working;
    int m_loopPass = 0;
    // The first pass reads the disk figures.
    int m_refreshCounter = kDiskRereadPasses - 1;
    std::array<double, kLastSubscription + 1> m_lastValue{};

    // Published snapshot.
    mutable std::mutex m_publishMutex;
    QVector<SensorReading> m_publishedCatalogue;
    QVector<SensorBinding> m_publishedTable;
    GpuChoice m_gpu;
    QString m_networkSensorName;

    std::array<std::atomic<int>, kLastSubscription + 1> m_refCount{};
    std::atomic<bool> m_fahrenheit{false};
    std::atomic<int> m_passIntervalMs{kDefaultPassIntervalMs};

    // Wakes the thread's sleep when it is asked to stop.
    std::mutex m_sleepMutex;
    std::condition_variable m_wake;
};
