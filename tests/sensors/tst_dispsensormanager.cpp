#include "dispsensormanager.h"
#include "sensorfixtures.h"

#include <QtTest>

#include <atomic>
#include <thread>

using SensorFixtures::replayManager;
using SensorFixtures::runUntilTableBuilt;

namespace {

// "<sensor name> | <label>" of the record bound to a display type, or the
// marker's name.
QString boundTo(const DispSensorManager& manager, int type)
{
    SensorBinding binding;
    if (!manager.binding(type, &binding)) {
        return QStringLiteral("no table");
    }
    if (binding.displayType != type) {
        return QStringLiteral("misplaced");
    }
    switch (binding.catalogueIndex) {
    case SensorBinding::kNoRecord:
        return QStringLiteral("none");
    case SensorBinding::kSumOfPrevious:
        return QStringLiteral("sum");
    case SensorBinding::kFixedText:
        return QStringLiteral("text: ") + binding.fixedText;
    default:
        break;
    }
    SensorReading record;
    if (!manager.reading(binding.catalogueIndex, &record)) {
        return QStringLiteral("dangling");
    }
    return record.sensorName + QStringLiteral(" | ") + record.label;
}

// A source whose every reading carries the number of the current pass, so a
// snapshot that mixes two passes is visible.
class PassCounterLibrary : public SensorLibrary
{
public:
    static constexpr int kSensors = 4;
    static constexpr int kReadings = 64;
    bool load() override { return true; }
    int start(int) override { return 0; }
    void shutdown() override {}
    int sensorCount() override { return kSensors; }
    void updateReadings() override { ++m_pass; }
    void selectSensor(int) override {}
    void sensorName(int sensor, char* buffer, int size) override
    {
        setSensorFieldText(buffer, std::size_t(size), QStringLiteral("Network: if%1").arg(sensor));
    }
    int readReading(int kind, int, int slot, SensorLibraryRecord* record) override
    {
        if (kind != 8 || slot >= kReadings) {
            return 0;
        }
        record->presence[0] = 1;
        record->value = m_pass;
        record->sensorClass = 16;
        record->readingType = 8;
        record->setLabel(QStringLiteral("Counter %1").arg(slot));
        return 1;
    }

private:
    int m_pass = 0;
};

struct BindingRow
{
    const char* fixture;
    int type;
    const char* expected;
};

// What each display type is bound to on the replayed machines.
const BindingRow kBindings[] = {
    // CPU
    {"intel-nvidia", 0, "CPU [#0]: Intel Core i7-9700K: DTS | CPU Die"},
    {"amd-amd", 0, "CPU [#0]: AMD Ryzen 7 5800X | CPU Die"},
    {"no-sensors", 0, "none"}, // Intel without DTS
    {"intel-nvidia", 1, " | Core Average Clock"},
    {"intel-nvidia", 3, "CPU [#0]: Intel Core i7-9700K | CPU Package Power"},
    {"intel-laptop", 3, "none"}, // no RAPL access
    {"intel-nvidia", 4, "nct6798 | CPU Fan"},
    {"amd-amd", 5, " | CPU Average Volt"},
    {"intel-nvidia", 6, "text: Intel(R) Core(TM) i7-9700K CPU @ 3.60GHz"},
    // GPU: NVIDIA needs sub-class 10, AMD 101 (not the hot spot), a single
    // Intel GPU uses the CPU package.
    {"intel-nvidia", 7, "GPU [#0]: NVIDIA GeForce RTX 3070 | GPU Temperature"},
    {"amd-amd", 7, "GPU [#0]: AMD Radeon RX 6800 XT | GPU Temperature"},
    {"intel-laptop", 7, "CPU [#0]: 11th Gen Intel Core i7-1165G7 | CPU Package"},
    {"intel-nvidia", 8, "GPU [#0]: NVIDIA GeForce RTX 3070 | GPU Clock"},
    {"intel-laptop", 8, "CPU [#0]: 11th Gen Intel Core i7-1165G7: Enhanced | GPU Clock"},
    {"intel-nvidia", 9, "GPU [#0]: NVIDIA GeForce RTX 3070 | GPU D3D Usage"}, // not core load
    {"intel-laptop", 9, "CPU [#0]: 11th Gen Intel Core i7-1165G7: Enhanced | GPU D3D Usage"},
    {"amd-amd", 11, "GPU [#0]: AMD Radeon RX 6800 XT | GPU Memory Available"},
    {"intel-nvidia", 12, "none"}, // memory clock, memory usage and fans are filtered out
    {"intel-nvidia", 14, "GPU [#0]: NVIDIA GeForce RTX 3070 | GPU Power"},
    {"amd-amd", 16, "GPU [#0]: AMD Radeon RX 6800 XT | GPU Voltage"},
    {"intel-nvidia", 17, "text: NVIDIA GeForce RTX 3070"},      // discrete GPU of two
    {"intel-laptop", 17, "text: Intel(R) Iris(R) Xe Graphics"}, // from the controller list
    // Memory and fans
    {"intel-nvidia", 18, "System: Memory | Physical Memory Load"},
    {"intel-laptop", 20, "System: Memory | Physical Memory Available"},
    {"intel-nvidia", 21, "sum"},
    {"amd-amd", 22, "text: G.Skill"},
    {"intel-nvidia", 23, "nct6798 | Chassis Fan 1"},
    {"intel-nvidia", 24, "nct6798 | AIO Pump"},
    {"amd-amd", 25, "it8688 | SYS_FAN1"},
    // Network (the adapter that moved data), system, drive, frame rate
    {"intel-nvidia", 26, "Network: enp5s0 | Current DL rate"},
    {"amd-amd", 27, "Network: eno1 | Current UP rate"},
    {"no-sensors", 28, " | Sound Volume"},
    {"intel-nvidia", 29, " | Disk Total"},
    {"no-sensors", 32, " | Disk Load"},
    {"amd-amd", 33, "S.M.A.R.T.: WDC WD40EFRX (sda) | Drive Temperature"},
    {"intel-nvidia", 34, "MangoHud | Framerate Displayed (avg)"},
};

} // namespace

class TestDispSensorManager : public QObject
{
    Q_OBJECT

private slots:
    void bindsDisplayTypes_data();
    void bindsDisplayTypes();
    void computedValues_data();
    void computedValues();
    void fahrenheitAppliesFromTheNextPass();
    void tableIsBuiltOnTheFourthPassOnly();
    void subscriptionsEmitDataChangedBeforeUpdate();
    void diskFiguresEverySixtyPassesVolumeEveryPass();
    void missingOrBrokenSourceLeavesTheManagerIdle_data();
    void missingOrBrokenSourceLeavesTheManagerIdle();
    void readersNeverSeeHalfAPass();
    void threadStopsPromptlyOnDestruction();
};

void TestDispSensorManager::bindsDisplayTypes_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("expected");
    for (const BindingRow& row : kBindings) {
        QTest::addRow("%s %d", row.fixture, row.type) << row.fixture << row.type << row.expected;
    }
}

void TestDispSensorManager::bindsDisplayTypes()
{
    QFETCH(QString, fixture);
    QFETCH(int, type);
    QFETCH(QString, expected);
    auto manager = replayManager(fixture);
    QVERIFY(manager->isInitialised());
    runUntilTableBuilt(*manager);
    QCOMPARE(manager->displayTable().size(), DisplayTypes::kCount);
    QCOMPARE(boundTo(*manager, type), expected);
}

void TestDispSensorManager::computedValues_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("unit");
    QTest::newRow("clock average skips the effective one") << "intel-nvidia" << 1 << 4650.0 << "MHz";
    QTest::newRow("VID average") << "intel-nvidia" << 5 << 1.25 << "V";
    QTest::newRow("no VID") << "amd-amd" << 5 << 0.0 << "V";
    QTest::newRow("no cores") << "no-sensors" << 1 << 0.0 << "MHz";
    // 13440.7 MB used + 18560.6 MB available, truncated, in the unused unit.
    QTest::newRow("total memory") << "intel-nvidia" << int(DisplayTypes::kTotalMemory) << 32001.0 << "MB";
}

void TestDispSensorManager::computedValues()
{
    QFETCH(QString, fixture);
    QFETCH(int, type);
    QFETCH(double, value);
    QFETCH(QString, unit);
    auto manager = replayManager(fixture);
    runUntilTableBuilt(*manager);
    const DisplayValue shown = manager->displayValue(type);
    QCOMPARE(shown.kind, DisplayValue::Record);
    QCOMPARE(shown.value, value);
    QCOMPARE(shown.unit, unit);
    if (type == DisplayTypes::kTotalMemory) {
        QCOMPARE(shown.text, QStringLiteral("32001MB"));
    }
    QCOMPARE(manager->displayValue(DisplayTypes::kCpuTemperature - 1).kind, DisplayValue::NoTable);
}

void TestDispSensorManager::fahrenheitAppliesFromTheNextPass()
{
    auto manager = replayManager(QStringLiteral("amd-amd"));
    runUntilTableBuilt(*manager);
    const int cpu = DisplayTypes::kCpuTemperature;
    QCOMPARE(manager->displayValue(cpu).text, QStringLiteral("50°C"));
    manager->setFahrenheit(true);
    QCOMPARE(manager->displayValue(cpu).value, 50.0);
    manager->runLoopPass();
    QCOMPARE(manager->displayValue(cpu).value, 122.0);
    QCOMPARE(manager->displayValue(cpu).text, QStringLiteral("122°F"));
    // Only temperatures change unit.
    QCOMPARE(manager->displayValue(8).text, QStringLiteral("2250MHz"));
    manager->setFahrenheit(false);
    manager->runLoopPass();
    QCOMPARE(manager->displayValue(cpu).text, QStringLiteral("50°C"));
}

void TestDispSensorManager::tableIsBuiltOnTheFourthPassOnly()
{
    auto manager = replayManager(QStringLiteral("intel-nvidia"));
    QSignalSpy updates(manager.get(), &DispSensorManager::updateDisplayData);
    for (int pass = 1; pass <= 3; ++pass) {
        manager->runLoopPass();
        QVERIFY(manager->displayTable().isEmpty());
        QCOMPARE(manager->displayValue(DisplayTypes::kCpuTemperature).kind, DisplayValue::NoTable);
    }
    manager->runLoopPass();
    QCOMPARE(manager->displayTable().size(), DisplayTypes::kCount);
    for (int type = 0; type < DisplayTypes::kCount; ++type) {
        QCOMPARE(manager->displayTable().at(type).displayType, type);
    }
    manager->runLoopPass();
    QCOMPARE(updates.count(), 5);
    QCOMPARE(manager->displayTable().size(), DisplayTypes::kCount);
}

void TestDispSensorManager::subscriptionsEmitDataChangedBeforeUpdate()
{
    auto manager = replayManager(QStringLiteral("intel-nvidia"));
    QStringList events;
    connect(manager.get(), &DispSensorManager::dataChanged, this,
            [&events](int type, double value, const QString& unit) {
                events.append(QStringLiteral("data %1 %2%3").arg(type).arg(value).arg(unit));
            });
    connect(manager.get(), &DispSensorManager::updateDisplayData, this,
            [&events] { events.append(QStringLiteral("update")); });

    manager->acquire(2); // CPU Die on the DTS sensor, which starts with "CPU [#0]:"
    manager->acquire(6); // GPU Core Load
    manager->runLoopPass();
    QCOMPARE(events, (QStringList{"data 2 54°C", "update", "data 2 56°C", "data 6 37%", "update",
                                  "data 2 52°C", "data 6 37%", "update"}));
    events.clear();
    manager->release(2);
    manager->release(6);
    manager->runLoopPass();
    QCOMPARE(events, QStringList{"update"});
}

void TestDispSensorManager::diskFiguresEverySixtyPassesVolumeEveryPass()
{
    auto reads = std::make_shared<int>(0);
    auto level = std::make_shared<int>(17);
    SensorAuxiliary aux = SensorFixtures::quietAuxiliary();
    aux.diskFigures = [reads] {
        ++*reads;
        DiskFigures figures;
        figures.totalGb = quint16(100 * *reads);
        return figures;
    };
    aux.masterVolume = [level] { return *level; };
    DispSensorManager manager(
        std::make_unique<ReplaySensorLibrary>(SensorFixtures::replayPath(QStringLiteral("no-sensors"))), aux);
    QCOMPARE(*reads, 0); // never on the thread that builds the manager
    runUntilTableBuilt(manager);
    QCOMPARE(*reads, 1);
    QCOMPARE(manager.displayValue(28).text, QStringLiteral("17%"));
    *level = 64;
    manager.runLoopPass();
    QCOMPARE(manager.displayValue(28).text, QStringLiteral("64%"));
    for (int pass = 5; pass < DispSensorManager::kDiskRereadPasses - 1; ++pass) {
        manager.runLoopPass();
    }
    manager.acquire(1); // a subscription's pass counts too
    QCOMPARE(*reads, 1);
    manager.runLoopPass();
    QCOMPARE(*reads, 2);
    QCOMPARE(manager.displayValue(29).value, 200.0);
}

void TestDispSensorManager::missingOrBrokenSourceLeavesTheManagerIdle_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<bool>("parsed");
    QTest::newRow("missing") << SensorFixtures::dataPath(QStringLiteral("replay/missing.json"))
                             << "load failed" << false;
    QTest::newRow("not JSON") << SensorFixtures::dataPath(QStringLiteral("broken-replay.txt"))
                              << "init failed: 2" << true;
}

void TestDispSensorManager::missingOrBrokenSourceLeavesTheManagerIdle()
{
    QFETCH(QString, path);
    QFETCH(QString, firstLine);
    QFETCH(bool, parsed);
    if (parsed) {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("not a JSON object")));
    }
    QTest::ignoreMessage(QtDebugMsg, qPrintable(firstLine));
    QTest::ignoreMessage(QtDebugMsg, "Can't init the sensor manager");
    DispSensorManager manager(std::make_unique<ReplaySensorLibrary>(path), SensorFixtures::quietAuxiliary());
    QVERIFY(!manager.isInitialised());
    QSignalSpy updates(&manager, &DispSensorManager::updateDisplayData);
    runUntilTableBuilt(manager);
    QCOMPARE(updates.count(), 0);
    QVERIFY(manager.catalogue().isEmpty());
    QVERIFY(manager.displayTable().isEmpty());
    // The thread keeps running (asleep) and stops on destruction.
    manager.setPassInterval(1);
    manager.start();
    QVERIFY(manager.isRunning());
}

void TestDispSensorManager::readersNeverSeeHalfAPass()
{
    DispSensorManager manager(std::make_unique<PassCounterLibrary>(), SensorFixtures::quietAuxiliary());
    QVERIFY(manager.isInitialised());
    manager.setPassInterval(0);
    std::atomic<int> updates{0};
    connect(
        &manager, &DispSensorManager::updateDisplayData, &manager, [&updates] { ++updates; },
        Qt::DirectConnection);
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::atomic<int> walks{0};
    std::thread reader([&] {
        while (!stop.load()) {
            const QVector<SensorReading> snapshot = manager.catalogue();
            double first = -1;
            for (const SensorReading& r : snapshot) {
                if (r.sensorClass != 16) {
                    continue;
                }
                if (first < 0) {
                    first = r.value;
                } else if (r.value != first) {
                    ++torn;
                }
            }
            manager.displayValue(26);
            ++walks;
        }
    });
    manager.start();
    // Once the thread runs its passes, the GUI thread subscribes (each
    // acquire runs a pass of its own) and switches units meanwhile.
    QTRY_VERIFY_WITH_TIMEOUT(updates.load() > 0, 20000);
    for (int i = 0; i < 200; ++i) {
        manager.acquire(3);
        manager.setFahrenheit(i % 2 == 0);
        manager.release(3);
    }
    QTRY_VERIFY_WITH_TIMEOUT(updates.load() > 400 && walks.load() > 200, 20000);
    stop = true;
    reader.join();
    QCOMPARE(torn.load(), 0);
}

void TestDispSensorManager::threadStopsPromptlyOnDestruction()
{
    auto manager = replayManager(QStringLiteral("no-sensors"));
    manager->setPassInterval(60 * 60 * 1000);
    QSignalSpy started(manager.get(), &QThread::started);
    manager->start();
    QVERIFY(started.count() == 1 || started.wait(5000));
    QElapsedTimer timer;
    timer.start();
    manager.reset(); // must wake the hour-long sleep, not wait it out
    QVERIFY(timer.elapsed() < 30000);
}

QTEST_GUILESS_MAIN(TestDispSensorManager)
#include "tst_dispsensormanager.moc"
