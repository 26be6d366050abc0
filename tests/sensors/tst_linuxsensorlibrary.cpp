#include "linuxsensorlibrary.h"
#include "sensorfixtures.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QtTest>

#include <array>

#include <dlfcn.h>

#include <filesystem>
#include <memory>

namespace {

// A clock the test moves by hand, so rates do not depend on how fast the
// test runs.
struct FakeClock
{
    std::shared_ptr<qint64> ns = std::make_shared<qint64>(1000000000);
    void advanceSeconds(int seconds) { *ns += qint64(seconds) * 1000000000; }
};

LinuxSensorRoots rootsOf(const QString& base, const FakeClock& clock, const QString& nvml = QString())
{
    LinuxSensorRoots roots;
    roots.sys = base + "/sys";
    roots.proc = base + "/proc";
    roots.run = base + "/run";
    roots.dev = base + "/dev";
    roots.nvmlLibrary = nvml;
    roots.pciIds = SensorFixtures::dataPath("pci.ids");
    roots.mangoHudFolder = base + "/mangohud";
    const auto ns = clock.ns;
    roots.clockNs = [ns] { return *ns; };
    return roots;
}

// A writable copy of a fake tree, symlinks kept as links.
QString copyTree(const QTemporaryDir& dir, const QString& machine)
{
    namespace fs = std::filesystem;
    const fs::path target = fs::path(dir.path().toStdString()) / machine.toStdString();
    fs::copy(SensorFixtures::dataPath("linux/" + machine).toStdString(), target,
             fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    return QString::fromStdString(target.string());
}

void writeText(const QString& path, const QByteArray& text)
{
    if (!TestFiles::writeFile(path, text)) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

// The value of a reading, NaN when it is missing.
double valueOf(const LinuxSensorLibrary& library, const QString& sensor, const QString& label)
{
    for (const ModelSensor& s : library.sensors()) {
        for (const ModelReading& r : s.readings) {
            if (s.name == sensor && r.label == label) {
                return r.value;
            }
        }
    }
    return std::numeric_limits<double>::quiet_NaN();
}

QStringList sensorNames(const LinuxSensorLibrary& library)
{
    QStringList names;
    for (const ModelSensor& s : library.sensors()) {
        names.append(s.name);
    }
    return names;
}

const QString kIntelCpu = "CPU [#0]: Intel(R) Core(TM) i7-9700K CPU @ 3.60GHz";
const QString kNvidia = "GPU [#0]: NVIDIA GeForce RTX 3070";
const QString kAmdGpu = "GPU [#0]: AMD Radeon RX 6800/6800 XT / 6900 XT";
// Asleep at start: named from the PCI database, never woken to ask NVML.
const QString kSleepingNvidia = "GPU [#1]: NVIDIA GeForce RTX 3090";

} // namespace

class TestLinuxSensorLibrary : public QObject
{
    Q_OBJECT

private slots:
    void readingsOfEachMachineMatchItsListing_data();
    void readingsOfEachMachineMatchItsListing();
    void ratesNeedTwoSamplesAndFollowTheCounters();
    void suspendedDevicesAreNeverRead();
    void spinningDisksAreAskedOnlyAfterWorkAndOncePerMinute();
    void nvmlIsHeldOnlyWhileReadingOnHybridLaptops();
    void whatCannotBeReadIsLeftOut();

private:
    QString nvmlStub() const { return QStringLiteral(PANELCAST_NVML_STUB); }
};

void TestLinuxSensorLibrary::readingsOfEachMachineMatchItsListing_data()
{
    QTest::addColumn<QString>("machine");
    QTest::addColumn<QString>("listing");
    for (const char* machine : {"intel-desktop", "amd-desktop", "intel-laptop", "amd-arc"}) {
        QTest::newRow(machine) << machine << machine;
    }
    // Renumbered hwmon folders change nothing.
    QTest::newRow("amd-desktop-renumbered") << "amd-desktop-renumbered"
                                            << "amd-desktop";
}

// Every sensor and reading after the first pass: codes (type, class,
// sub-class), value and unit, as listed in tests/data/sensors/readings.
void TestLinuxSensorLibrary::readingsOfEachMachineMatchItsListing()
{
    QFETCH(QString, machine);
    QFETCH(QString, listing);
    LinuxSensorLibrary library(
        rootsOf(SensorFixtures::dataPath("linux/" + machine), FakeClock(), nvmlStub()));
    QVERIFY(library.load());
    QCOMPARE(library.start(SensorLibrary::kStartFlags), 0);
    library.updateReadings();
    QStringList lines;
    for (const ModelSensor& s : library.sensors()) {
        lines.append(s.name);
        for (const ModelReading& r : s.readings) {
            lines.append(QStringLiteral("  %1 | %2 %3 %4 | %5 %6")
                             .arg(r.label)
                             .arg(r.kind)
                             .arg(r.sensorClass)
                             .arg(r.subClass)
                             .arg(r.value, 0, 'g', 10)
                             .arg(r.unit));
        }
    }
    QFile file(SensorFixtures::dataPath("readings/" + listing + ".txt"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QCOMPARE(lines, QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts));
}

void TestLinuxSensorLibrary::ratesNeedTwoSamplesAndFollowTheCounters()
{
    QTemporaryDir dir;
    const QString base = copyTree(dir, "intel-desktop");
    FakeClock clock;
    LinuxSensorLibrary library(rootsOf(base, clock, nvmlStub()));
    QCOMPARE(library.start(SensorLibrary::kStartFlags), 0);
    library.updateReadings();
    QCOMPARE(valueOf(library, kIntelCpu, "CPU Package Power"), 0.0);

    // One second later: 300 of 1000 jiffies busy, 2 MiB received, the RAPL
    // counter wrapped, the GPU client's render engine busy for half a second.
    writeText(base + "/proc/stat", "cpu  1300 0 500 8700 500 0 0 0 0 0\n");
    writeText(base + QStringLiteral(
                         "/sys/devices/pci0000:00/0000:00:1c.0/0000:05:00.0/net/enp5s0/statistics/rx_bytes"),
              QByteArray::number(2147483648LL + 2 * 1048576));
    writeText(base + "/sys/devices/virtual/powercap/intel-rapl/intel-rapl:0/energy_uj", "50000000");
    for (const char* fd : {"5", "6"}) {
        writeText(base + "/proc/4242/fdinfo/" + QLatin1String(fd),
                  "drm-pdev:\t0000:00:02.0\ndrm-client-id:\t7\ndrm-engine-render:\t1500000000 ns\n");
    }
    clock.advanceSeconds(1);
    library.updateReadings();

    QCOMPARE(valueOf(library, kIntelCpu, "Total CPU Usage"), 30.0);
    QCOMPARE(valueOf(library, "Network: enp5s0", "Current DL rate"), 2048.0);
    QCOMPARE(valueOf(library, "Network: enp5s0", "Current UP rate"), 0.0);
    // 50000000 - 262143000000 + 262143328850 µJ in one second.
    QCOMPARE(valueOf(library, kIntelCpu, "CPU Package Power"), 50.32885);
    // Two descriptors of one client count once.
    QCOMPARE(valueOf(library, kIntelCpu + ": Enhanced", "GPU D3D Usage"), 50.0);
}

void TestLinuxSensorLibrary::suspendedDevicesAreNeverRead()
{
    QTemporaryDir dir;
    const QString base = copyTree(dir, "amd-desktop");
    LinuxSensorLibrary library(rootsOf(base, FakeClock(), nvmlStub()));
    QCOMPARE(library.start(SensorLibrary::kStartFlags), 0);
    library.updateReadings();
    // The sleeping second card is listed at 0, the sleeping disk keeps 0.
    QCOMPARE(valueOf(library, kSleepingNvidia, "GPU Temperature"), 0.0);
    QCOMPARE(valueOf(library, kSleepingNvidia, "GPU D3D Usage"), 0.0);
    QCOMPARE(valueOf(library, "S.M.A.R.T.: ST2000DM008-2FR1 (sdb)", "Drive Temperature"), 0.0);

    // The card goes to sleep: its figures stay as they were.
    const QString gpu = base + "/sys/devices/pci0000:00/0000:00:03.1/0000:0b:00.0";
    writeText(gpu + "/power/runtime_status", "suspended\n");
    writeText(gpu + "/gpu_busy_percent", "99\n");
    library.updateReadings();
    QCOMPARE(valueOf(library, kAmdGpu, "GPU D3D Usage"), 64.0);
    writeText(gpu + "/power/runtime_status", "active\n");
    library.updateReadings();
    QCOMPARE(valueOf(library, kAmdGpu, "GPU D3D Usage"), 99.0);
}

void TestLinuxSensorLibrary::spinningDisksAreAskedOnlyAfterWorkAndOncePerMinute()
{
    QTemporaryDir dir;
    const QString base = copyTree(dir, "amd-desktop");
    const QString disk = base + "/sys/devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0";
    writeText(disk + "/block/sda/stat", "100 0 800\n");
    FakeClock clock;
    LinuxSensorLibrary library(rootsOf(base, clock, nvmlStub()));
    QCOMPARE(library.start(SensorLibrary::kStartFlags), 0);
    // Seconds on, the disk did work, its temperature, what shows: idle (maybe
    // in standby) is not asked, work is, but not again within the minute.
    const QVector<std::array<int, 4>> steps = {
        {1, 0, 33, 0}, {1, 1, 33, 33}, {1, 1, 40, 33}, {60, 0, 41, 33}, {1, 1, 42, 42}};
    for (const auto& step : steps) {
        clock.advanceSeconds(step[0]);
        if (step[1] != 0) {
            writeText(disk + "/block/sda/stat", QByteArray::number(*clock.ns)); // counters moved
        }
        writeText(disk + "/hwmon/hwmon3/temp1_input", QByteArray::number(step[2] * 1000));
        library.updateReadings();
        QCOMPARE(valueOf(library, "S.M.A.R.T.: WDC WD40EFRX-68N (sda)", "Drive Temperature"),
                 double(step[3]));
    }
}

void TestLinuxSensorLibrary::nvmlIsHeldOnlyWhileReadingOnHybridLaptops()
{
    void* stub = dlopen(nvmlStub().toUtf8().constData(), RTLD_NOW);
    QVERIFY(stub);
    auto initialised = reinterpret_cast<int (*)()>(dlsym(stub, "nvmlStubInitialised"));
    QVERIFY(initialised);

    QTemporaryDir dir;
    const QString base = copyTree(dir, "intel-desktop");
    const QString control = base + "/sys/devices/pci0000:00/0000:00:01.0/0000:01:00.0/power/control";
    {
        // A desktop card keeps NVML open between passes.
        LinuxSensorLibrary library(rootsOf(base, FakeClock(), nvmlStub()));
        QCOMPARE(library.start(SensorLibrary::kStartFlags), 0);
        library.updateReadings();
        QCOMPARE(initialised(), 1);
        library.shutdown();
        QCOMPARE(initialised(), 0);
    }
    writeText(control, "auto\n");
    // Asleep at start: listed, read 0, NVML never opened until it wakes.
    const QString status = QFileInfo(control).path() + "/runtime_status";
    writeText(status, "suspended\n");
    LinuxSensorLibrary library(rootsOf(base, FakeClock(), nvmlStub()));
    QCOMPARE(library.start(SensorLibrary::kStartFlags), 0);
    library.updateReadings();
    QCOMPARE(initialised(), 0);
    QCOMPARE(valueOf(library, kNvidia, "GPU Clock"), 0.0);
    writeText(status, "active\n");
    library.updateReadings();
    QCOMPARE(initialised(), 0);
    QCOMPARE(valueOf(library, kNvidia, "GPU Clock"), 1905.0);
    dlclose(stub);
}

void TestLinuxSensorLibrary::whatCannotBeReadIsLeftOut()
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("proc"));
    writeText(dir.filePath("proc/stat"), "garbage\n");
    LinuxSensorLibrary library(rootsOf(dir.path(), FakeClock()));
    QVERIFY(library.load());
    QCOMPARE(library.start(SensorLibrary::kStartFlags), 0);
    library.updateReadings();
    library.updateReadings();
    QCOMPARE(sensorNames(library), (QStringList{"CPU [#0]: Unknown CPU", "System: Memory"}));
    QCOMPARE(valueOf(library, "CPU [#0]: Unknown CPU", "Total CPU Usage"), 0.0);

    // No NVML: the NVIDIA card is left out, the rest is read.
    LinuxSensorLibrary desktop(
        rootsOf(SensorFixtures::dataPath("linux/intel-desktop"), FakeClock(), QString()));
    QCOMPARE(desktop.start(SensorLibrary::kStartFlags), 0);
    QVERIFY(!sensorNames(desktop).contains(kNvidia));
    QVERIFY(sensorNames(desktop).contains("System: Memory"));
}

QTEST_GUILESS_MAIN(TestLinuxSensorLibrary)
#include "tst_linuxsensorlibrary.moc"
