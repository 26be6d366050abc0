#include "dispsensormanager.h"
#include "sensorfixtures.h"

#include <QtTest>

#include <atomic>
#include <thread>

using SensorFixtures::replayManager;
using SensorFixtures::runUntilTableBuilt;

namespace {

const QString kNone = QStringLiteral("none");
const QString kSum = QStringLiteral("sum");

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
        return kNone;
    case SensorBinding::kSumOfPrevious:
        return kSum;
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

int findRecord(const QVector<SensorReading>& catalogue, const QString& sensorName, const QString& label)
{
    for (int i = 0; i < catalogue.size(); ++i) {
        if (catalogue.at(i).sensorName == sensorName && catalogue.at(i).label == label) {
            return i;
        }
    }
    return -1;
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

} // namespace

class TestDispSensorManager : public QObject
{
    Q_OBJECT

private slots:
    void bindsCpuTypes_data();
    void bindsCpuTypes();
    void bindsGpuTypes_data();
    void bindsGpuTypes();
    void bindsMemoryAndFanTypes_data();
    void bindsMemoryAndFanTypes();
    void bindsNetworkSystemDriveAndFrameTypes_data();
    void bindsNetworkSystemDriveAndFrameTypes();
    void fixedTextsCarryTheMachineNames_data();
    void fixedTextsCarryTheMachineNames();
    void stateFollowsTheMachine_data();
    void stateFollowsTheMachine();
    void classFilterKeepsOnlyListedCodes_data();
    void classFilterKeepsOnlyListedCodes();
    void averagesSkipEffectiveClocksAndAreZeroWithoutContributors_data();
    void averagesSkipEffectiveClocksAndAreZeroWithoutContributors();
    void totalMemoryIsTheTruncatedSumWithTheUnusedUnit();
    void fahrenheitAppliesFromTheNextPass();
    void tableIsBuiltOnTheFourthPassOnly();
    void replayedSequencesReachTheCatalogue();
    void acquireOutsideTheSixTypesIsRejected_data();
    void acquireOutsideTheSixTypesIsRejected();
    void releaseBelowZeroWarnsAndStaysZero();
    void subscriptionsEmitDataChangedBeforeUpdate();
    void diskFiguresAreReadEverySixtyPasses();
    void volumeIsReadEveryPass();
    void missingOrBrokenSourceLeavesTheManagerIdle_data();
    void missingOrBrokenSourceLeavesTheManagerIdle();
    void readersNeverSeeHalfAPass();
    void threadStopsPromptlyOnDestruction();

private:
    void addBindingColumns();
    void checkBinding();
};

void TestDispSensorManager::addBindingColumns()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("expected");
}

void TestDispSensorManager::checkBinding()
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

void TestDispSensorManager::bindsCpuTypes_data()
{
    addBindingColumns();
    QTest::newRow("Intel temperature is the DTS die")
        << "intel-nvidia" << 0 << "CPU [#0]: Intel Core i7-9700K: DTS | CPU Die";
    QTest::newRow("AMD temperature is the first die record")
        << "amd-amd" << 0 << "CPU [#0]: AMD Ryzen 7 5800X | CPU Die";
    QTest::newRow("laptop temperature is the DTS die")
        << "intel-laptop" << 0 << "CPU [#0]: 11th Gen Intel Core i7-1165G7: DTS | CPU Die";
    QTest::newRow("Intel without DTS has no temperature") << "no-sensors" << 0 << kNone;
    QTest::newRow("frequency is the average record") << "intel-nvidia" << 1 << " | Core Average Clock";
    QTest::newRow("frequency without cores") << "no-sensors" << 1 << " | Core Average Clock";
    QTest::newRow("usage") << "amd-amd" << 2 << "CPU [#0]: AMD Ryzen 7 5800X | Total CPU Usage";
    QTest::newRow("package power") << "intel-nvidia" << 3
                                   << "CPU [#0]: Intel Core i7-9700K | CPU Package Power";
    QTest::newRow("no power without RAPL access") << "intel-laptop" << 3 << kNone;
    QTest::newRow("CPU fan by sub-class 14") << "intel-nvidia" << 4 << "nct6798 | CPU Fan";
    QTest::newRow("unlabelled first laptop fan") << "intel-laptop" << 4 << "thinkpad | fan1";
    QTest::newRow("voltage is the average record") << "amd-amd" << 5 << " | CPU Average Volt";
}

void TestDispSensorManager::bindsCpuTypes()
{
    checkBinding();
}

void TestDispSensorManager::bindsGpuTypes_data()
{
    addBindingColumns();
    const QString nvidia = QStringLiteral("GPU [#0]: NVIDIA GeForce RTX 3070 | ");
    const QString amd = QStringLiteral("GPU [#0]: AMD Radeon RX 6800 XT | ");
    const QString enhanced = QStringLiteral("CPU [#0]: 11th Gen Intel Core i7-1165G7: Enhanced | ");
    QTest::newRow("NVIDIA temperature needs sub-class 10")
        << "intel-nvidia" << 7 << nvidia + "GPU Temperature";
    QTest::newRow("AMD temperature needs sub-class 101, not the hot spot")
        << "amd-amd" << 7 << amd + "GPU Temperature";
    QTest::newRow("single Intel GPU uses the CPU package")
        << "intel-laptop" << 7 << "CPU [#0]: 11th Gen Intel Core i7-1165G7 | CPU Package";
    QTest::newRow("no GPU temperature") << "no-sensors" << 7 << kNone;
    QTest::newRow("discrete clock") << "intel-nvidia" << 8 << nvidia + "GPU Clock";
    QTest::newRow("AMD clock") << "amd-amd" << 8 << amd + "GPU Clock";
    QTest::newRow("integrated clock") << "intel-laptop" << 8 << enhanced + "GPU Clock";
    QTest::newRow("discrete usage is D3D, not core load") << "intel-nvidia" << 9 << nvidia + "GPU D3D Usage";
    QTest::newRow("integrated usage") << "intel-laptop" << 9 << enhanced + "GPU D3D Usage";
    QTest::newRow("memory allocated") << "intel-nvidia" << 10 << nvidia + "GPU Memory Allocated";
    QTest::newRow("memory available") << "amd-amd" << 11 << amd + "GPU Memory Available";
    QTest::newRow("no memory on an integrated GPU") << "intel-laptop" << 10 << kNone;
    QTest::newRow("memory clock is filtered out") << "intel-nvidia" << 12 << kNone;
    QTest::newRow("memory usage is filtered out") << "intel-nvidia" << 13 << kNone;
    QTest::newRow("power") << "intel-nvidia" << 14 << nvidia + "GPU Power";
    QTest::newRow("fan readings are filtered out") << "amd-amd" << 15 << kNone;
    QTest::newRow("AMD voltage") << "amd-amd" << 16 << amd + "GPU Voltage";
    QTest::newRow("NVIDIA has no voltage") << "intel-nvidia" << 16 << kNone;
}

void TestDispSensorManager::bindsGpuTypes()
{
    checkBinding();
}

void TestDispSensorManager::bindsMemoryAndFanTypes_data()
{
    addBindingColumns();
    QTest::newRow("memory load") << "intel-nvidia" << 18 << "System: Memory | Physical Memory Load";
    QTest::newRow("used memory") << "amd-amd" << 19 << "System: Memory | Physical Memory Used";
    QTest::newRow("unused memory") << "intel-laptop" << 20 << "System: Memory | Physical Memory Available";
    QTest::newRow("total memory is a sum") << "intel-nvidia" << 21 << kSum;
    QTest::newRow("total memory without records") << "no-sensors" << 21 << kSum;
    QTest::newRow("no memory records") << "no-sensors" << 18 << kNone;
    QTest::newRow("chassis fan") << "intel-nvidia" << 23 << "nct6798 | Chassis Fan 1";
    QTest::newRow("no chassis fan") << "amd-amd" << 23 << kNone;
    QTest::newRow("pump") << "intel-nvidia" << 24 << "nct6798 | AIO Pump";
    QTest::newRow("first system fan") << "amd-amd" << 25 << "it8688 | SYS_FAN1";
}

void TestDispSensorManager::bindsMemoryAndFanTypes()
{
    checkBinding();
}

void TestDispSensorManager::bindsNetworkSystemDriveAndFrameTypes_data()
{
    addBindingColumns();
    QTest::newRow("download of the adapter that moved data")
        << "intel-nvidia" << 26 << "Network: enp5s0 | Current DL rate";
    QTest::newRow("upload") << "amd-amd" << 27 << "Network: eno1 | Current UP rate";
    QTest::newRow("no network") << "no-sensors" << 26 << kNone;
    QTest::newRow("volume") << "no-sensors" << 28 << " | Sound Volume";
    QTest::newRow("disk total") << "intel-nvidia" << 29 << " | Disk Total";
    QTest::newRow("disk used") << "amd-amd" << 30 << " | Disk Used";
    QTest::newRow("disk available") << "intel-laptop" << 31 << " | Disk Available";
    QTest::newRow("disk load") << "no-sensors" << 32 << " | Disk Load";
    QTest::newRow("first drive") << "amd-amd" << 33 << "S.M.A.R.T.: WDC WD40EFRX (sda) | Drive Temperature";
    QTest::newRow("no drive") << "no-sensors" << 33 << kNone;
    QTest::newRow("frame rate") << "intel-nvidia" << 34 << "MangoHud | Framerate Displayed (avg)";
    QTest::newRow("no frame rate") << "amd-amd" << 34 << kNone;
}

void TestDispSensorManager::bindsNetworkSystemDriveAndFrameTypes()
{
    checkBinding();
}

void TestDispSensorManager::fixedTextsCarryTheMachineNames_data()
{
    addBindingColumns();
    QTest::newRow("CPU name") << "intel-nvidia" << 6 << "text: Intel(R) Core(TM) i7-9700K CPU @ 3.60GHz";
    QTest::newRow("discrete GPU of two") << "intel-nvidia" << 17 << "text: NVIDIA GeForce RTX 3070";
    QTest::newRow("AMD GPU from its records") << "amd-amd" << 17 << "text: AMD Radeon RX 6800 XT";
    QTest::newRow("single Intel GPU from the controller list")
        << "intel-laptop" << 17 << "text: Intel(R) Iris(R) Xe Graphics";
    QTest::newRow("memory maker") << "amd-amd" << 22 << "text: G.Skill";
    QTest::newRow("no GPU at all") << "no-sensors" << 17 << "text: ";
}

void TestDispSensorManager::fixedTextsCarryTheMachineNames()
{
    checkBinding();
}

void TestDispSensorManager::stateFollowsTheMachine_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<int>("vendor");
    QTest::addColumn<bool>("integrated");
    QTest::addColumn<int>("gpuCount");
    QTest::addColumn<QString>("gpuSensorName");
    QTest::addColumn<QString>("networkSensorName");
    QTest::addColumn<int>("drives");
    QTest::newRow("Intel with NVIDIA")
        << "intel-nvidia" << 0 << false << 2 << "GPU [#0]: NVIDIA GeForce RTX 3070"
        << "Network: enp5s0" << 1;
    QTest::newRow("AMD with AMD") << "amd-amd" << 1 << false << 1 << "GPU [#0]: AMD Radeon RX 6800 XT"
                                  << "Network: eno1" << 2;
    QTest::newRow("Intel laptop") << "intel-laptop" << 0 << true << 1 << ""
                                  << "Network: wlp0s20f3" << 1;
    QTest::newRow("nothing") << "no-sensors" << 0 << false << 0 << ""
                             << "" << 0;
}

void TestDispSensorManager::stateFollowsTheMachine()
{
    QFETCH(QString, fixture);
    QFETCH(int, vendor);
    QFETCH(bool, integrated);
    QFETCH(int, gpuCount);
    QFETCH(QString, gpuSensorName);
    QFETCH(QString, networkSensorName);
    QFETCH(int, drives);
    auto manager = replayManager(fixture);
    runUntilTableBuilt(*manager);
    QCOMPARE(manager->cpuVendor(), vendor);
    QCOMPARE(manager->hasIntegratedGpu(), integrated);
    QCOMPARE(manager->gpuCount(), gpuCount);
    QCOMPARE(manager->gpuSensorName(), gpuSensorName);
    QCOMPARE(manager->networkSensorName(), networkSensorName);
    QCOMPARE(manager->driveSensorNames().size(), drives);
}

void TestDispSensorManager::classFilterKeepsOnlyListedCodes_data()
{
    QTest::addColumn<int>("sensorClass");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("subClass");
    QTest::addColumn<bool>("kept");
    QTest::newRow("frame rate") << 0 << 8 << 0 << true;
    QTest::newRow("class 0 usage") << 0 << 7 << 0 << false;
    QTest::newRow("memory") << 10 << 8 << 32 << true;
    QTest::newRow("memory sub 0") << 10 << 8 << 0 << false;
    QTest::newRow("CPU clock") << 11 << 6 << 11 << true;
    QTest::newRow("CPU kind 4") << 11 << 4 << 10 << false;
    QTest::newRow("CPU sub 50") << 11 << 1 << 50 << false;
    QTest::newRow("any fan") << 12 << 3 << 12345 << true;
    QTest::newRow("board temperature") << 12 << 1 << 14 << false;
    QTest::newRow("GPU memory") << 13 << 8 << 0 << true;
    QTest::newRow("GPU memory clock") << 13 << 6 << 32 << false;
    QTest::newRow("drive temperature") << 15 << 1 << 0 << true;
    QTest::newRow("drive other") << 15 << 8 << 0 << false;
    QTest::newRow("network kind 4") << 16 << 4 << 99 << true;
    QTest::newRow("unknown class") << 14 << 1 << 10 << false;
}

void TestDispSensorManager::classFilterKeepsOnlyListedCodes()
{
    QFETCH(int, sensorClass);
    QFETCH(int, type);
    QFETCH(int, subClass);
    QFETCH(bool, kept);
    QCOMPARE(SensorRules::keepLibraryReading(sensorClass, type, subClass), kept);

    // The same rule applied to a replayed reading decides whether it reaches
    // the catalogue.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("one.json"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral(R"({"sensors":[{"name":"s","readings":[{"type":%1,"class":%2,"subclass":%3,)"
                              R"("label":"probe"}]}]})")
                   .arg(type)
                   .arg(sensorClass)
                   .arg(subClass)
                   .toUtf8());
    file.close();
    DispSensorManager manager(std::make_unique<ReplaySensorLibrary>(path), SensorFixtures::quietAuxiliary());
    QCOMPARE(findRecord(manager.catalogue(), QStringLiteral("s"), QStringLiteral("probe")) >= 0, kept);
}

void TestDispSensorManager::averagesSkipEffectiveClocksAndAreZeroWithoutContributors_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("unit");
    QTest::newRow("clock without the effective one") << "intel-nvidia" << 1 << 4650.0 << "MHz";
    QTest::newRow("VID average") << "intel-nvidia" << 5 << 1.25 << "V";
    QTest::newRow("no VID") << "amd-amd" << 5 << 0.0 << "V";
    QTest::newRow("no cores") << "no-sensors" << 1 << 0.0 << "MHz";
}

void TestDispSensorManager::averagesSkipEffectiveClocksAndAreZeroWithoutContributors()
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
}

void TestDispSensorManager::totalMemoryIsTheTruncatedSumWithTheUnusedUnit()
{
    auto manager = replayManager(QStringLiteral("intel-nvidia"));
    runUntilTableBuilt(*manager);
    // 13440.7 MB used + 18560.6 MB available.
    const DisplayValue total = manager->displayValue(DisplayTypes::kTotalMemory);
    QCOMPARE(total.kind, DisplayValue::Record);
    QCOMPARE(total.value, 32001.0);
    QCOMPARE(total.unit, QStringLiteral("MB"));
    QCOMPARE(total.text, QStringLiteral("32001MB"));
    QCOMPARE(manager->displayValue(DisplayTypes::kCpuTemperature - 1).kind, DisplayValue::NoTable);
}

void TestDispSensorManager::fahrenheitAppliesFromTheNextPass()
{
    auto manager = replayManager(QStringLiteral("amd-amd"));
    runUntilTableBuilt(*manager);
    QCOMPARE(manager->displayValue(DisplayTypes::kCpuTemperature).value, 50.0);
    QCOMPARE(manager->displayValue(DisplayTypes::kCpuTemperature).unit, QStringLiteral("°C"));

    manager->setFahrenheit(true);
    QCOMPARE(manager->displayValue(DisplayTypes::kCpuTemperature).value, 50.0);
    manager->runLoopPass();
    QCOMPARE(manager->displayValue(DisplayTypes::kCpuTemperature).value, 122.0);
    QCOMPARE(manager->displayValue(DisplayTypes::kCpuTemperature).text, QStringLiteral("122°F"));
    // Only temperatures change unit.
    QCOMPARE(manager->displayValue(8).unit, QStringLiteral("MHz"));
    QCOMPARE(manager->displayValue(8).value, 2250.0);

    manager->setFahrenheit(false);
    manager->runLoopPass();
    QCOMPARE(manager->displayValue(DisplayTypes::kCpuTemperature).text, QStringLiteral("50°C"));
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
    const QVector<SensorBinding> built = manager->displayTable();
    manager->runLoopPass();
    QCOMPARE(updates.count(), 5);
    QCOMPARE(manager->displayTable().size(), built.size());
}

void TestDispSensorManager::replayedSequencesReachTheCatalogue()
{
    auto manager = replayManager(QStringLiteral("intel-nvidia"));
    const int die = findRecord(manager->catalogue(), QStringLiteral("CPU [#0]: Intel Core i7-9700K: DTS"),
                               QStringLiteral("CPU Die"));
    QVERIFY(die >= 0);
    // The enumeration took the first step (52); each pass takes the next.
    QList<double> seen;
    for (int pass = 0; pass < 4; ++pass) {
        manager->runLoopPass();
        seen.append(manager->catalogue().at(die).value);
    }
    QCOMPARE(seen, (QList<double>{54, 56, 52, 54}));
    QCOMPARE(manager->displayValue(DisplayTypes::kCpuTemperature).value, 54.0);
}

void TestDispSensorManager::acquireOutsideTheSixTypesIsRejected_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("0") << 0;
    QTest::newRow("7") << 7;
    QTest::newRow("-1") << -1;
}

void TestDispSensorManager::acquireOutsideTheSixTypesIsRejected()
{
    QFETCH(int, type);
    auto manager = replayManager(QStringLiteral("intel-nvidia"));
    QSignalSpy updates(manager.get(), &DispSensorManager::updateDisplayData);
    QTest::ignoreMessage(QtDebugMsg, "DispSensorManager::acquire: type not exist");
    manager->acquire(type);
    QCOMPARE(updates.count(), 0);
    // Releasing an unknown type is ignored silently.
    manager->release(type);
}

void TestDispSensorManager::releaseBelowZeroWarnsAndStaysZero()
{
    auto manager = replayManager(QStringLiteral("intel-nvidia"));
    QTest::ignoreMessage(QtWarningMsg, "DispSensorManager::release: something wrong int refCount");
    manager->release(3);
    QCOMPARE(manager->refCount(3), 0);
    manager->acquire(3);
    manager->acquire(3);
    manager->release(3);
    QCOMPARE(manager->refCount(3), 1);
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

void TestDispSensorManager::diskFiguresAreReadEverySixtyPasses()
{
    auto reads = std::make_shared<int>(0);
    SensorAuxiliary aux = SensorFixtures::quietAuxiliary();
    aux.diskFigures = [reads] {
        ++*reads;
        DiskFigures figures;
        figures.totalGb = quint16(100 * *reads);
        return figures;
    };
    DispSensorManager manager(
        std::make_unique<ReplaySensorLibrary>(SensorFixtures::replayPath(QStringLiteral("no-sensors"))), aux);
    QCOMPARE(*reads, 1);
    for (int pass = 1; pass < DispSensorManager::kDiskRereadPasses - 1; ++pass) {
        manager.runLoopPass();
    }
    manager.acquire(1); // a subscription's pass counts too
    QCOMPARE(*reads, 1);
    manager.runLoopPass();
    QCOMPARE(*reads, 2);
    QCOMPARE(manager.displayValue(29).value, 200.0);
}

void TestDispSensorManager::volumeIsReadEveryPass()
{
    auto level = std::make_shared<int>(17);
    SensorAuxiliary aux = SensorFixtures::quietAuxiliary();
    aux.masterVolume = [level] { return *level; };
    DispSensorManager manager(
        std::make_unique<ReplaySensorLibrary>(SensorFixtures::replayPath(QStringLiteral("no-sensors"))), aux);
    runUntilTableBuilt(manager);
    QCOMPARE(manager.displayValue(28).text, QStringLiteral("17%"));
    *level = 64;
    manager.runLoopPass();
    QCOMPARE(manager.displayValue(28).text, QStringLiteral("64%"));
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
