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

} // namespace

class TestDispSensorManager : public QObject
{
    Q_OBJECT

private slots:
    void bindsDisplayTypes_data();
    void bindsDisplayTypes();
    void fahrenheitAppliesFromTheNextPass();
    void subscriptionsEmitDataChangedBeforeUpdate();
    void diskFiguresEverySixtyPassesVolumeEveryPass();
    void missingOrBrokenSourceLeavesTheManagerIdle_data();
    void missingOrBrokenSourceLeavesTheManagerIdle();
    void readersNeverSeeHalfAPass();
    void sleepingThreadStopsPromptlyOnDestruction();
};

void TestDispSensorManager::bindsDisplayTypes_data()
{
    QTest::addColumn<QString>("fixture");
    // Computed values, "type=value unit": the clock average skips the
    // effective clock, VID is an average too, and 0 when nothing counts.
    QTest::addColumn<QStringList>("computed");
    QTest::newRow("intel-nvidia") << "intel-nvidia" << QStringList{"1=4650MHz", "5=1.25V"};
    QTest::newRow("amd-amd") << "amd-amd" << QStringList{"5=0V"};
    QTest::newRow("intel-laptop") << "intel-laptop" << QStringList{};
    QTest::newRow("no-sensors") << "no-sensors" << QStringList{"1=0MHz"};
}

// What every display type is bound to on each replayed machine, as listed in
// tests/data/sensors/bindings.
void TestDispSensorManager::bindsDisplayTypes()
{
    QFETCH(QString, fixture);
    auto manager = replayManager(fixture);
    QVERIFY(manager->isInitialised());
    QSignalSpy updates(manager.get(), &DispSensorManager::updateDisplayData);
    for (int pass = 1; pass <= 3; ++pass) { // the table is built on the fourth pass
        manager->runLoopPass();
        QVERIFY(manager->displayTable().isEmpty());
        QCOMPARE(manager->displayValue(DisplayTypes::kCpuTemperature).kind, DisplayValue::NoTable);
    }
    manager->runLoopPass();
    manager->runLoopPass();
    QCOMPARE(updates.count(), 5);
    QCOMPARE(manager->displayTable().size(), DisplayTypes::kCount);
    QStringList lines;
    for (int type = 0; type < DisplayTypes::kCount; ++type) {
        lines.append(QStringLiteral("%1: %2").arg(type).arg(boundTo(*manager, type)));
    }
    QFile file(SensorFixtures::dataPath("bindings/" + fixture + ".txt"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QCOMPARE(lines, QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts));
    QFETCH(QStringList, computed);
    for (const QString& expected : computed) {
        const int type = expected.section('=', 0, 0).toInt();
        const DisplayValue shown = manager->displayValue(type);
        QCOMPARE(shown.kind, DisplayValue::Record);
        QCOMPARE(QStringLiteral("%1=%2%3").arg(type).arg(shown.value).arg(shown.unit), expected);
    }
    QCOMPARE(manager->displayValue(-1).kind, DisplayValue::NoTable);
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

void TestDispSensorManager::sleepingThreadStopsPromptlyOnDestruction()
{
    auto manager = replayManager(QStringLiteral("no-sensors"));
    manager->setPassInterval(60 * 60 * 1000);
    std::atomic<int> passes{0};
    connect(
        manager.get(), &DispSensorManager::updateDisplayData, manager.get(), [&passes] { ++passes; },
        Qt::DirectConnection);
    manager->start();
    // Once the first pass is done the thread goes to its hour-long sleep.
    QTRY_VERIFY_WITH_TIMEOUT(passes.load() > 0, 5000);
    QElapsedTimer timer;
    timer.start();
    manager.reset(); // must wake the sleep, not wait it out
    QVERIFY(timer.elapsed() < 30000);
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

QTEST_GUILESS_MAIN(TestDispSensorManager)
#include "tst_dispsensormanager.moc"
