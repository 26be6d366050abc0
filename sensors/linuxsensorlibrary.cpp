#include "linuxsensorlibrary.h"

#include "drmclientusage.h"
#include "nvmllibrary.h"
#include "sysfsfiles.h"

#include "sensorauxiliary.h"
#include "sensorlog.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>

namespace {

using namespace SysfsFiles;

constexpr double kNsPerSecond = 1e9;
// A spinning disk's temperature is read at most this often.
constexpr qint64 kDriveTemperatureIntervalNs = qint64(60) * 1000000000;
constexpr double kBytesPerMb = 1024.0 * 1024.0;

const QString kCelsius = QStringLiteral("°C");

struct HwmonChip
{
    QString name;
    QString dir;    // where the attributes are
    QString device; // realpath of the chip's device
};

HwmonChip chipAt(const QString& base)
{
    HwmonChip chip;
    chip.dir = base;
    chip.name = readText(base + QStringLiteral("/name"));
    if (chip.name.isEmpty()) {
        // Old kernels keep the attributes on the device itself.
        chip.dir = base + QStringLiteral("/device");
        chip.name = readText(chip.dir + QStringLiteral("/name"));
    }
    chip.device = canonical(base + QStringLiteral("/device"));
    return chip;
}

// Every chip, ordered by name and device so the order survives the
// renumbering of hwmonN between boots.
QVector<HwmonChip> hwmonChips(const QString& sysRoot)
{
    QVector<HwmonChip> chips;
    const QString classDir = sysRoot + QStringLiteral("/class/hwmon");
    for (const QString& entry : sortedEntries(classDir, QStringLiteral("hwmon*"))) {
        HwmonChip chip = chipAt(classDir + QLatin1Char('/') + entry);
        if (!chip.name.isEmpty()) {
            chips.append(chip);
        }
    }
    std::stable_sort(chips.begin(), chips.end(), [](const HwmonChip& a, const HwmonChip& b) {
        return std::make_pair(a.name, a.device) < std::make_pair(b.name, b.device);
    });
    return chips;
}

QVector<HwmonChip> chipsOfDevice(const QString& deviceDir)
{
    QVector<HwmonChip> chips;
    const QString dir = deviceDir + QStringLiteral("/hwmon");
    for (const QString& entry : sortedEntries(dir, QStringLiteral("hwmon*"))) {
        chips.append(chipAt(dir + QLatin1Char('/') + entry));
    }
    return chips;
}

// The input file of the first <kind>N whose label is one of labels (in
// order of preference); empty when none.
QString inputByLabel(const HwmonChip& chip, const QString& kind, const QStringList& labels)
{
    const QList<int> numbers = numberedAttributes(chip.dir, kind, QStringLiteral("_input"));
    for (const QString& wanted : labels) {
        for (int n : numbers) {
            if (readText(QStringLiteral("%1/%2%3_label").arg(chip.dir, kind).arg(n)) == wanted) {
                return QStringLiteral("%1/%2%3_input").arg(chip.dir, kind).arg(n);
            }
        }
    }
    return {};
}

QString attribute(const HwmonChip& chip, const QString& name)
{
    const QString path = chip.dir + QLatin1Char('/') + name;
    return QFileInfo::exists(path) ? path : QString();
}

bool isSuspended(const QString& deviceDir)
{
    return readText(deviceDir + QStringLiteral("/power/runtime_status")) == QLatin1String("suspended");
}

// Δcounter/Δt with wrap-around at range (0: no wrap); 0 on the first call.
class RateMeter
{
public:
    double update(qint64 counter, qint64 nowNs, qint64 range = 0)
    {
        double rate = 0.0;
        if (m_valid && nowNs > m_lastNs) {
            qint64 delta = counter - m_last;
            if (delta < 0) {
                delta = range > 0 ? delta + range : 0;
            }
            rate = double(delta) * kNsPerSecond / double(nowNs - m_lastNs);
        }
        m_valid = true;
        m_last = counter;
        m_lastNs = nowNs;
        return rate;
    }

private:
    bool m_valid = false;
    qint64 m_last = 0;
    qint64 m_lastNs = 0;
};

struct PciGpu
{
    QString address;
    QString path;
    uint vendor = 0;
    uint device = 0;
    QString driver;
    bool bootVga = false;

    bool isIntegratedIntel() const
    {
        return vendor == 0x8086 && address.startsWith(QLatin1String("0000:00:"));
    }
};

QVector<PciGpu> displayDevices(const QString& sysRoot)
{
    QVector<PciGpu> gpus;
    const QString dir = sysRoot + QStringLiteral("/bus/pci/devices");
    for (const QString& address : sortedEntries(dir)) {
        const QString path = dir + QLatin1Char('/') + address;
        bool ok = false;
        const uint pciClass = readFile(path + QStringLiteral("/class")).trimmed().toUInt(&ok, 16);
        if (!ok || (pciClass >> 16) != 0x03) {
            continue;
        }
        PciGpu gpu;
        gpu.address = address;
        gpu.path = canonical(path);
        gpu.vendor = readFile(path + QStringLiteral("/vendor")).trimmed().toUInt(nullptr, 16);
        gpu.device = readFile(path + QStringLiteral("/device")).trimmed().toUInt(nullptr, 16);
        gpu.driver = symlinkName(path + QStringLiteral("/driver"));
        gpu.bootVga = readText(path + QStringLiteral("/boot_vga")) == QLatin1String("1");
        gpus.append(gpu);
    }
    // The boot display first, then PCI order.
    std::stable_sort(gpus.begin(), gpus.end(),
                     [](const PciGpu& a, const PciGpu& b) { return a.bootVga > b.bootVga; });
    return gpus;
}

// The DRM card (cardN) of a PCI device, or empty.
QString drmCardOf(const QString& sysRoot, const PciGpu& gpu)
{
    const QString dir = sysRoot + QStringLiteral("/class/drm");
    static const QRegularExpression cardName(QStringLiteral("^card\\d+$"));
    for (const QString& entry : sortedEntries(dir, QStringLiteral("card*"))) {
        if (cardName.match(entry).hasMatch() &&
            canonical(dir + QLatin1Char('/') + entry + QStringLiteral("/device")) == gpu.path) {
            return dir + QLatin1Char('/') + entry;
        }
    }
    return {};
}

// The current GPU frequency file of an Intel card (i915 or xe), or empty.
QString intelFrequencyFile(const QString& card, const PciGpu& gpu)
{
    QStringList candidates;
    if (!card.isEmpty()) {
        candidates.append(card + QStringLiteral("/gt_act_freq_mhz"));
    }
    candidates.append(gpu.path + QStringLiteral("/tile0/gt0/freq0/act_freq"));
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate)) {
            return candidate;
        }
    }
    return {};
}

// The clock of the level an amdgpu pp_dpm_* table marks as current
// ("1: 1800Mhz *"), in MHz.
bool readDpmCurrentMhz(const QString& path, double* mhz)
{
    static const QRegularExpression level(QStringLiteral("^\\d+:\\s*(\\d+)\\s*[Mm][Hh]z\\s*\\*$"));
    for (const QByteArray& line : readFile(path).split('\n')) {
        const QRegularExpressionMatch match = level.match(QString::fromLatin1(line.trimmed()));
        if (match.hasMatch()) {
            *mhz = match.captured(1).toDouble();
            return true;
        }
    }
    return false;
}

// One 64-bit model-specific register through the msr driver.
bool readMsr(const QString& path, qint64 address, quint64* value)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    unsigned char bytes[8];
    const ssize_t got = ::pread(fd, bytes, sizeof(bytes), off_t(address));
    ::close(fd);
    if (got != ssize_t(sizeof(bytes))) {
        return false;
    }
    quint64 v = 0;
    for (int i = 7; i >= 0; --i) {
        v = (v << 8) | bytes[i];
    }
    *value = v;
    return true;
}

qint64 monotonicNs()
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.nsecsElapsed() + 1;
}

} // namespace

LinuxSensorLibrary::LinuxSensorLibrary() : LinuxSensorLibrary(LinuxSensorRoots{}) {}

LinuxSensorLibrary::LinuxSensorLibrary(LinuxSensorRoots roots) : m_roots(std::move(roots))
{
    if (m_roots.pciIds.isEmpty()) {
        m_roots.pciIds = SensorAux::defaultPciIdsPath();
    }
    if (!m_roots.clockNs) {
        m_roots.clockNs = monotonicNs;
    }
    if (m_roots.mangoHudFolder.isEmpty()) {
        m_roots.mangoHudFolder = qEnvironmentVariable("PANELCAST_MANGOHUD_DIR");
    }
}

LinuxSensorLibrary::~LinuxSensorLibrary() = default;

bool LinuxSensorLibrary::load()
{
    return QFileInfo(m_roots.proc + QStringLiteral("/stat")).exists();
}

int LinuxSensorLibrary::start(int)
{
    m_sensors.clear();
    m_updaters.clear();
    m_cpuName = SensorAux::cpuName(m_roots.proc, m_roots.sys);
    if (m_cpuName.isEmpty()) {
        m_cpuName = QStringLiteral("Unknown CPU");
    }
    discoverCpu();
    // Discrete cards come before the integrated one's "Enhanced" sensor:
    // the GPU clock and usage rules take the first record that qualifies.
    discoverGpus();
    discoverIntegratedGpu();
    discoverMemory();
    discoverFans();
    discoverDrives();
    discoverNetwork();
    discoverMangoHud();
    rebuildSlots();
    return 0;
}

void LinuxSensorLibrary::shutdown()
{
    if (m_nvml) {
        m_nvml->end();
    }
}

void LinuxSensorLibrary::updateReadings()
{
    const qint64 now = m_roots.clockNs();
    for (const auto& update : m_updaters) {
        update(now);
    }
}

int LinuxSensorLibrary::addSensor(const QString& name)
{
    ModelSensor sensor;
    sensor.name = name;
    m_sensors.append(sensor);
    return m_sensors.size() - 1;
}

int LinuxSensorLibrary::addReading(int sensor, int kind, int sensorClass, int subClass, const QString& device,
                                   const QString& label, const QString& unit)
{
    ModelReading reading;
    reading.kind = kind;
    reading.sensorClass = sensorClass;
    reading.subClass = subClass;
    reading.device = device;
    reading.label = label;
    reading.unit = unit;
    m_sensors[sensor].readings.append(reading);
    return m_sensors[sensor].readings.size() - 1;
}

void LinuxSensorLibrary::setValue(int sensor, int reading, double value)
{
    m_sensors[sensor].readings[reading].value = value;
}

LinuxSensorLibrary::FanRule LinuxSensorLibrary::fanRule(const QString& chip, const QString& label,
                                                        int fanNumber, bool labelled)
{
    if (!labelled) {
        // The Nuvoton and Winbond super-I/O drivers document fan2 as the
        // CPUFANIN pin (fan1 is SYSFANIN); elsewhere the first fan is the CPU's.
        static const QRegularExpression cpuFanTwo(QStringLiteral("^(nct6\\d{3}|w83627(ehf|dhg)|w83667hg)$"));
        if (cpuFanTwo.match(chip).hasMatch()) {
            return fanNumber == 2
                       ? FanRule{14, QStringLiteral("the %1 driver documents fan2 as the CPU fan").arg(chip)}
                       : FanRule{706, QStringLiteral("unlabelled, not the %1 CPU fan (fan2)").arg(chip)};
        }
        return fanNumber == 1 ? FanRule{14, QStringLiteral("unlabelled first fan taken as the CPU fan")}
                              : FanRule{706, QStringLiteral("unlabelled, not the first fan")};
    }
    const QString l = label.toLower();
    if (l.contains(QLatin1String("pump")) || l.contains(QLatin1String("aio"))) {
        return {901, QStringLiteral("label names a pump")};
    }
    // "CPU_OPT" / "CPU Optional" is a second CPU fan header, not a pump.
    if (l.contains(QLatin1String("cpu"))) {
        return {14, QStringLiteral("label names the CPU")};
    }
    if (l.contains(QLatin1String("cha")) || l.contains(QLatin1String("case"))) {
        return {800, QStringLiteral("label names the chassis")};
    }
    return {706, QStringLiteral("label names no CPU, pump or chassis")};
}

void LinuxSensorLibrary::discoverCpu()
{
    const QString& sys = m_roots.sys;
    const QString& proc = m_roots.proc;
    const int cpu = addSensor(QStringLiteral("CPU [#0]: ") + m_cpuName);

    // Core clocks: cpufreq policies expanded to their CPUs, else cpuinfo.
    const QString cpuDir = sys + QStringLiteral("/devices/system/cpu");
    QMap<int, QString> frequencyFiles;
    for (const QString& policy :
         sortedEntries(cpuDir + QStringLiteral("/cpufreq"), QStringLiteral("policy*"))) {
        const QString dir = cpuDir + QStringLiteral("/cpufreq/") + policy;
        const QStringList cpus =
            readText(dir + QStringLiteral("/affected_cpus")).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& n : cpus) {
            const int index = n.toInt();
            if (readText(QStringLiteral("%1/cpu%2/online").arg(cpuDir).arg(index)) == QLatin1String("0")) {
                continue;
            }
            frequencyFiles.insert(index, dir + QStringLiteral("/scaling_cur_freq"));
        }
    }
    if (!frequencyFiles.isEmpty()) {
        for (auto it = frequencyFiles.cbegin(); it != frequencyFiles.cend(); ++it) {
            const int reading =
                addReading(cpu, 6, 11, 11, m_cpuName, QStringLiteral("Core %1 Clock").arg(it.key()),
                           QStringLiteral("MHz"));
            const QString file = it.value();
            m_updaters.push_back([this, cpu, reading, file](qint64) {
                qint64 khz = 0;
                if (readNumber(file, &khz)) {
                    setValue(cpu, reading, double(khz) / 1000.0);
                }
            });
        }
    } else {
        // "processor : N" ... "cpu MHz : F" blocks.
        auto parse = [](const QByteArray& text) {
            QMap<int, double> mhz;
            int processor = -1;
            for (const QByteArray& line : text.split('\n')) {
                const int colon = line.indexOf(':');
                if (colon < 0) {
                    continue;
                }
                const QByteArray key = line.left(colon).trimmed();
                if (key == "processor") {
                    processor = line.mid(colon + 1).trimmed().toInt();
                } else if (key == "cpu MHz" && processor >= 0) {
                    mhz.insert(processor, line.mid(colon + 1).trimmed().toDouble());
                }
            }
            return mhz;
        };
        const QString cpuinfo = proc + QStringLiteral("/cpuinfo");
        const QMap<int, double> found = parse(readFile(cpuinfo, kProcFileBytes));
        QVector<QPair<int, int>> readings; // processor, reading index
        for (auto it = found.cbegin(); it != found.cend(); ++it) {
            readings.append(
                {it.key(), addReading(cpu, 6, 11, 11, m_cpuName,
                                      QStringLiteral("Core %1 Clock").arg(it.key()), QStringLiteral("MHz"))});
        }
        if (!readings.isEmpty()) {
            m_updaters.push_back([this, cpu, readings, cpuinfo, parse](qint64) {
                const QMap<int, double> now = parse(readFile(cpuinfo, kProcFileBytes));
                for (const auto& [processor, reading] : readings) {
                    setValue(cpu, reading, now.value(processor));
                }
            });
        }
    }

    // Total CPU usage from /proc/stat.
    {
        const int reading =
            addReading(cpu, 7, 11, 10, m_cpuName, QStringLiteral("Total CPU Usage"), QStringLiteral("%"));
        const QString stat = proc + QStringLiteral("/stat");
        auto last = std::make_shared<std::pair<qint64, qint64>>(-1, -1); // total, busy
        m_updaters.push_back([this, cpu, reading, stat, last](qint64) {
            const QByteArray text = readFile(stat, kAttributeBytes);
            const QByteArray line = text.left(text.indexOf('\n'));
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() < 5 || fields.first() != "cpu") {
                return;
            }
            qint64 values[10] = {};
            for (int i = 1; i < fields.size() && i <= 10; ++i) {
                values[i - 1] = fields.at(i).toLongLong();
            }
            // guest and guest_nice are already counted in user and nice.
            const qint64 total =
                values[0] + values[1] + values[2] + values[3] + values[4] + values[5] + values[6] + values[7];
            const qint64 busy = total - values[3] - values[4];
            double usage = 0.0;
            if (last->first >= 0 && total > last->first) {
                usage = double(busy - last->second) * 100.0 / double(total - last->first);
            }
            *last = {total, busy};
            setValue(cpu, reading, std::clamp(usage, 0.0, 100.0));
        });
    }

    const QVector<HwmonChip> chips = hwmonChips(sys);
    auto chipNamed = [&chips](std::initializer_list<const char*> names) -> const HwmonChip* {
        for (const char* name : names) {
            for (const HwmonChip& chip : chips) {
                if (chip.name == QLatin1String(name)) {
                    return &chip;
                }
            }
        }
        return nullptr;
    };

    // Package power: RAPL (Intel and AMD Zen), else zenergy / zenpower.
    QString energyFile;
    qint64 energyRange = 0;
    for (const QString& zone : sortedEntries(sys + QStringLiteral("/class/powercap"))) {
        const QString dir = sys + QStringLiteral("/class/powercap/") + zone;
        if (readText(dir + QStringLiteral("/name")) == QLatin1String("package-0")) {
            // energy_uj is root-only since Linux 5.10 unless a udev rule opens it.
            if (canOpen(dir + QStringLiteral("/energy_uj"))) {
                energyFile = dir + QStringLiteral("/energy_uj");
                readNumber(dir + QStringLiteral("/max_energy_range_uj"), &energyRange);
            } else {
                qCDebug(lcSensors) << "LinuxSensorLibrary: no read access to"
                                   << dir + QStringLiteral("/energy_uj") << "- CPU Package Power is left out";
            }
            break;
        }
    }
    if (energyFile.isEmpty()) {
        if (const HwmonChip* zenergy = chipNamed({"zenergy"})) {
            for (int n :
                 numberedAttributes(zenergy->dir, QStringLiteral("energy"), QStringLiteral("_input"))) {
                if (readText(QStringLiteral("%1/energy%2_label").arg(zenergy->dir).arg(n))
                        .startsWith(QLatin1String("Esocket"))) {
                    energyFile = QStringLiteral("%1/energy%2_input").arg(zenergy->dir).arg(n);
                    break;
                }
            }
        }
    }
    if (!energyFile.isEmpty()) {
        const int reading =
            addReading(cpu, 5, 11, 10, m_cpuName, QStringLiteral("CPU Package Power"), QStringLiteral("W"));
        auto meter = std::make_shared<RateMeter>();
        m_updaters.push_back([this, cpu, reading, energyFile, energyRange, meter](qint64 now) {
            qint64 microjoules = 0;
            if (readNumber(energyFile, &microjoules)) {
                setValue(cpu, reading, meter->update(microjoules, now, energyRange) / 1e6);
            }
        });
    } else if (const HwmonChip* zenpower = chipNamed({"zenpower"})) {
        QStringList files;
        for (int n : numberedAttributes(zenpower->dir, QStringLiteral("power"), QStringLiteral("_input"))) {
            files.append(QStringLiteral("%1/power%2_input").arg(zenpower->dir).arg(n));
        }
        if (!files.isEmpty()) {
            const int reading = addReading(cpu, 5, 11, 10, m_cpuName, QStringLiteral("CPU Package Power"),
                                           QStringLiteral("W"));
            m_updaters.push_back([this, cpu, reading, files](qint64) {
                double watts = 0;
                for (const QString& file : files) {
                    qint64 microwatts = 0;
                    if (readNumber(file, &microwatts)) {
                        watts += double(microwatts) / 1e6;
                    }
                }
                setValue(cpu, reading, watts);
            });
        }
    }

    // Core voltage where a source exists (zenpower's SVI2 telemetry).
    if (const HwmonChip* zenpower = chipNamed({"zenpower"})) {
        const QString file = inputByLabel(*zenpower, QStringLiteral("in"), {QStringLiteral("SVI2_Core")});
        if (!file.isEmpty()) {
            const int reading =
                addReading(cpu, 2, 11, 11, m_cpuName, QStringLiteral("Core 0 VID"), QStringLiteral("V"));
            m_updaters.push_back([this, cpu, reading, file](qint64) {
                qint64 millivolts = 0;
                if (readNumber(file, &millivolts)) {
                    setValue(cpu, reading, double(millivolts) / 1000.0);
                }
            });
        }
    }

    // Intel core voltage: IA32_PERF_STATUS (MSR 0x198) bits 47:32 in units
    // of 1/8192 V. The msr driver is root-only, so this is usually absent.
    if (m_cpuName.contains(QLatin1String("Intel"))) {
        constexpr qint64 kPerfStatus = 0x198;
        QList<int> cores;
        for (const QString& entry : sortedEntries(m_roots.dev + QStringLiteral("/cpu"))) {
            bool ok = false;
            const int core = entry.toInt(&ok);
            if (ok && core >= 0) {
                cores.append(core);
            }
        }
        std::sort(cores.begin(), cores.end());
        auto volts = [](quint64 status) { return double((status >> 32) & 0xFFFF) / 8192.0; };
        for (int core : cores) {
            const QString file = QStringLiteral("%1/cpu/%2/msr").arg(m_roots.dev).arg(core);
            quint64 status = 0;
            if (!readMsr(file, kPerfStatus, &status)) {
                continue;
            }
            const int reading = addReading(cpu, 2, 11, 11, m_cpuName, QStringLiteral("Core %1 VID").arg(core),
                                           QStringLiteral("V"));
            m_updaters.push_back([this, cpu, reading, file, volts](qint64) {
                quint64 now = 0;
                if (readMsr(file, kPerfStatus, &now)) {
                    setValue(cpu, reading, volts(now));
                }
            });
        }
    }

    auto addTemperature = [this](int sensor, int subClass, const QString& label, const QStringList& files) {
        const int reading = addReading(sensor, 1, 11, subClass, m_cpuName, label, kCelsius);
        // The hottest of the files (one file is the common case).
        m_updaters.push_back([this, sensor, reading, files](qint64) {
            double hottest = 0;
            bool any = false;
            for (const QString& file : files) {
                qint64 millidegrees = 0;
                if (readNumber(file, &millidegrees)) {
                    hottest = any ? std::max(hottest, millidegrees / 1000.0) : millidegrees / 1000.0;
                    any = true;
                }
            }
            if (any) {
                setValue(sensor, reading, hottest);
            }
        });
    };

    // AMD die temperature: Tdie, else Tctl (which may carry an offset).
    if (const HwmonChip* amd = chipNamed({"k10temp", "zenpower"})) {
        QString file =
            inputByLabel(*amd, QStringLiteral("temp"), {QStringLiteral("Tdie"), QStringLiteral("Tctl")});
        if (file.isEmpty()) {
            file = attribute(*amd, QStringLiteral("temp1_input"));
        }
        if (!file.isEmpty()) {
            addTemperature(cpu, 10, QStringLiteral("CPU Die"), {file});
        }
    }

    // Intel: the package on the CPU sensor, and the digital thermal sensor.
    const HwmonChip* coretemp = chipNamed({"coretemp"});
    QString packageFile;
    QStringList coreFiles;
    if (coretemp) {
        packageFile = inputByLabel(*coretemp, QStringLiteral("temp"), {QStringLiteral("Package id 0")});
        for (int n : numberedAttributes(coretemp->dir, QStringLiteral("temp"), QStringLiteral("_input"))) {
            if (readText(QStringLiteral("%1/temp%2_label").arg(coretemp->dir).arg(n))
                    .startsWith(QLatin1String("Core "))) {
                coreFiles.append(QStringLiteral("%1/temp%2_input").arg(coretemp->dir).arg(n));
            }
        }
        if (!packageFile.isEmpty()) {
            addTemperature(cpu, 10, QStringLiteral("CPU Package"), {packageFile});
        }
    }
    QStringList dtsFiles;
    if (!packageFile.isEmpty()) {
        dtsFiles = QStringList{packageFile};
    } else if (!coreFiles.isEmpty()) {
        dtsFiles = coreFiles;
    } else {
        for (const QString& zone :
             sortedEntries(sys + QStringLiteral("/class/thermal"), QStringLiteral("thermal_zone*"))) {
            const QString dir = sys + QStringLiteral("/class/thermal/") + zone;
            if (readText(dir + QStringLiteral("/type")) == QLatin1String("x86_pkg_temp")) {
                dtsFiles = QStringList{dir + QStringLiteral("/temp")};
                break;
            }
        }
    }
    if (!dtsFiles.isEmpty()) {
        const int dts = addSensor(QStringLiteral("CPU [#0]: ") + m_cpuName + QStringLiteral(": DTS"));
        addTemperature(dts, 10, QStringLiteral("CPU Die"), dtsFiles);
    }
}

void LinuxSensorLibrary::discoverGpus()
{
    const QString& sys = m_roots.sys;
    int index = 0;
    for (const PciGpu& gpu : displayDevices(sys)) {
        if (gpu.isIntegratedIntel()) {
            continue;
        }
        // Reading anything of a sleeping discrete GPU would wake it: it is
        // listed from what its folders show, reads 0 and is read once awake.
        const bool asleep = isSuspended(gpu.path);
        if (asleep) {
            qCDebug(lcSensors) << "LinuxSensorLibrary: GPU" << gpu.address << "is suspended, read once awake";
        }
        QString vendorName;
        QString deviceName;
        SensorAux::lookUpPciIds(m_roots.pciIds, gpu.vendor, gpu.device, &vendorName, &deviceName);
        QString name = SensorAux::gpuDisplayName(gpu.vendor, vendorName, gpu.device, deviceName);
        const bool nvidia = gpu.vendor == 0x10de;

        // NVIDIA's own driver: NVML. On a hybrid laptop (runtime power
        // management on) NVML is held only while a pass reads the card, so
        // it can still go to sleep.
        if (nvidia && gpu.driver == QLatin1String("nvidia")) {
            if (!m_nvml) {
                m_nvml = std::make_unique<NvmlLibrary>(m_roots.nvmlLibrary);
            }
            NvmlLibrary* nvml = m_nvml.get();
            if (!nvml->usable() || (!asleep && !nvml->begin())) {
                qCDebug(lcSensors) << "LinuxSensorLibrary: NVML unavailable for" << gpu.address;
                continue;
            }
            // Runtime power management is what lets it sleep.
            const bool hybrid =
                asleep || readText(gpu.path + QStringLiteral("/power/control")) == QLatin1String("auto");
            if (NvmlLibrary::Device device = asleep ? NvmlLibrary::Device{} : nvml->device(gpu.address)) {
                const QString marketing = nvml->name(device);
                if (!marketing.isEmpty()) {
                    name = marketing.contains(QLatin1String("NVIDIA"))
                               ? marketing
                               : QStringLiteral("NVIDIA ") + marketing;
                }
            }
            const NvmlLibrary::Figures first = [&] {
                if (asleep) {
                    // What every card NVML drives reports.
                    NvmlLibrary::Figures usual;
                    usual.temperatureOk = usual.clockOk = usual.utilizationOk = usual.memoryOk = true;
                    return usual;
                }
                NvmlLibrary::Device device = nvml->device(gpu.address);
                return device ? nvml->read(device) : NvmlLibrary::Figures{};
            }();
            if (hybrid && !asleep) {
                nvml->end();
            }
            const int s = addSensor(QStringLiteral("GPU [#%1]: ").arg(index++) + name);
            const int temp = first.temperatureOk
                                 ? addReading(s, 1, 13, 10, name, QStringLiteral("GPU Temperature"), kCelsius)
                                 : -1;
            const int clock = first.clockOk ? addReading(s, 6, 13, 101, name, QStringLiteral("GPU Clock"),
                                                         QStringLiteral("MHz"))
                                            : -1;
            const int load =
                first.utilizationOk
                    ? addReading(s, 7, 13, 101, name, QStringLiteral("GPU Core Load"), QStringLiteral("%"))
                    : -1;
            const int d3d =
                first.utilizationOk
                    ? addReading(s, 7, 13, 101, name, QStringLiteral("GPU D3D Usage"), QStringLiteral("%"))
                    : -1;
            const int used = first.memoryOk
                                 ? addReading(s, 8, 13, 0, name, QStringLiteral("GPU Memory Allocated"),
                                              QStringLiteral("MB"))
                                 : -1;
            const int free = first.memoryOk
                                 ? addReading(s, 8, 13, 0, name, QStringLiteral("GPU Memory Available"),
                                              QStringLiteral("MB"))
                                 : -1;
            const int memClock = first.memoryClockOk
                                     ? addReading(s, 6, 13, 32, name, QStringLiteral("GPU Memory Clock"),
                                                  QStringLiteral("MHz"))
                                     : -1;
            const int memLoad =
                first.utilizationOk
                    ? addReading(s, 7, 13, 32, name, QStringLiteral("GPU Memory Usage"), QStringLiteral("%"))
                    : -1;
            const int power = first.powerOk ? addReading(s, 5, 13, 101, name, QStringLiteral("GPU Power"),
                                                         QStringLiteral("W"))
                                            : -1;
            const int fan = first.fanOk
                                ? addReading(s, 3, 13, 0, name, QStringLiteral("GPU Fan"),
                                             nvml->hasFanRpm() ? QStringLiteral("RPM") : QStringLiteral("%"))
                                : -1;
            const QString address = gpu.address;
            const QString path = gpu.path;
            m_updaters.push_back([=](qint64) {
                if (isSuspended(path) || !nvml->begin()) {
                    return;
                }
                if (NvmlLibrary::Device device = nvml->device(address)) {
                    const NvmlLibrary::Figures f = nvml->read(device);
                    auto put = [this, s](int reading, bool ok, double value) {
                        if (reading >= 0 && ok) {
                            setValue(s, reading, value);
                        }
                    };
                    put(temp, f.temperatureOk, f.temperature);
                    put(clock, f.clockOk, f.clockMhz);
                    put(load, f.utilizationOk, f.gpuPercent);
                    put(d3d, f.utilizationOk, f.gpuPercent);
                    put(used, f.memoryOk, f.usedMb);
                    put(free, f.memoryOk, f.freeMb);
                    put(memClock, f.memoryClockOk, f.memoryClockMhz);
                    put(memLoad, f.utilizationOk, f.memoryPercent);
                    put(power, f.powerOk, f.watts);
                    put(fan, f.fanOk, f.fan);
                }
                if (hybrid) {
                    nvml->end();
                }
            });
            continue;
        }

        // amdgpu, nouveau, i915 and xe: hwmon of the device plus driver files.
        const int s = addSensor(QStringLiteral("GPU [#%1]: ").arg(index++) + name);
        const int temperatureSub = nvidia ? 10 : 101;
        const QVector<HwmonChip> chips = chipsOfDevice(gpu.path);
        const HwmonChip chip = chips.isEmpty() ? HwmonChip{} : chips.first();
        struct FileReading
        {
            int reading;
            QString file;
            double scale;
            bool dpmTable; // an amdgpu pp_dpm_* table rather than a number
        };
        QVector<FileReading> files;
        auto add = [&](const QString& file, int kind, int sensorClass, int subClass, const QString& label,
                       const QString& unit, double scale, bool dpmTable = false) {
            if (!file.isEmpty() && QFileInfo::exists(file)) {
                files.append(
                    {addReading(s, kind, sensorClass, subClass, name, label, unit), file, scale, dpmTable});
            }
        };
        // amdgpu: hwmon's clock in Hz, else the current level of the DPM
        // table (APUs and older cards have no freqN_input).
        auto addAmdClock = [&](const char* hwmonFile, const char* dpmFile, int subClass,
                               const QString& label) {
            const QString hwmon = attribute(chip, QLatin1String(hwmonFile));
            if (!hwmon.isEmpty()) {
                add(hwmon, 6, 13, subClass, label, QStringLiteral("MHz"), 1e-6);
            } else {
                add(gpu.path + QLatin1Char('/') + QLatin1String(dpmFile), 6, 13, subClass, label,
                    QStringLiteral("MHz"), 1, true);
            }
        };
        QString temperature;
        if (!chip.dir.isEmpty()) {
            temperature =
                inputByLabel(chip, QStringLiteral("temp"), {QStringLiteral("edge"), QStringLiteral("pkg")});
            if (temperature.isEmpty()) {
                temperature = attribute(chip, QStringLiteral("temp1_input"));
            }
        }
        add(temperature, 1, 13, temperatureSub, QStringLiteral("GPU Temperature"), kCelsius, 1e-3);

        const QString card = drmCardOf(sys, gpu);
        const bool amd = gpu.driver == QLatin1String("amdgpu");
        const bool intel = gpu.vendor == 0x8086;
        if (amd) {
            addAmdClock("freq1_input", "pp_dpm_sclk", 101, QStringLiteral("GPU Clock"));
            add(gpu.path + QStringLiteral("/gpu_busy_percent"), 7, 13, 101, QStringLiteral("GPU Core Load"),
                QStringLiteral("%"), 1);
            add(gpu.path + QStringLiteral("/gpu_busy_percent"), 7, 13, 101, QStringLiteral("GPU D3D Usage"),
                QStringLiteral("%"), 1);
            add(gpu.path + QStringLiteral("/mem_info_vram_used"), 8, 13, 0,
                QStringLiteral("GPU Memory Allocated"), QStringLiteral("MB"), 1.0 / kBytesPerMb);
            addAmdClock("freq2_input", "pp_dpm_mclk", 32, QStringLiteral("GPU Memory Clock"));
            add(gpu.path + QStringLiteral("/mem_busy_percent"), 7, 13, 32, QStringLiteral("GPU Memory Usage"),
                QStringLiteral("%"), 1);
            QString power = attribute(chip, QStringLiteral("power1_average"));
            if (power.isEmpty()) {
                power = attribute(chip, QStringLiteral("power1_input"));
            }
            add(power, 5, 13, 101, QStringLiteral("GPU Power"), QStringLiteral("W"), 1e-6);
        } else if (intel) {
            add(intelFrequencyFile(card, gpu), 6, 13, 101, QStringLiteral("GPU Clock"), QStringLiteral("MHz"),
                1);
        }
        if (!chip.dir.isEmpty()) {
            add(attribute(chip, QStringLiteral("fan1_input")), 3, 13, 0, QStringLiteral("GPU Fan"),
                QStringLiteral("RPM"), 1);
            add(attribute(chip, QStringLiteral("in0_input")), 2, 13, 101, QStringLiteral("GPU Voltage"),
                QStringLiteral("V"), 1e-3);
        }

        // amdgpu: available memory is the total less what is used.
        int available = -1;
        QString vramTotal;
        if (amd && QFileInfo::exists(gpu.path + QStringLiteral("/mem_info_vram_total"))) {
            vramTotal = gpu.path + QStringLiteral("/mem_info_vram_total");
            available =
                addReading(s, 8, 13, 0, name, QStringLiteral("GPU Memory Available"), QStringLiteral("MB"));
        }
        // Intel discrete cards: energy counters, busy time and local memory
        // from the DRM clients.
        QString energy;
        int power = -1;
        int usage = -1;
        int coreLoad = -1;
        int allocated = -1;
        std::shared_ptr<DrmClientUsage> clients;
        if (intel) {
            energy = inputByLabel(chip, QStringLiteral("energy"), {QStringLiteral("pkg")});
            if (energy.isEmpty()) {
                energy = attribute(chip, QStringLiteral("energy1_input"));
            }
            if (!energy.isEmpty()) {
                power = addReading(s, 5, 13, 101, name, QStringLiteral("GPU Power"), QStringLiteral("W"));
            }
            clients = std::make_shared<DrmClientUsage>(m_roots.proc, gpu.address);
            coreLoad = addReading(s, 7, 13, 101, name, QStringLiteral("GPU Core Load"), QStringLiteral("%"));
            usage = addReading(s, 7, 13, 101, name, QStringLiteral("GPU D3D Usage"), QStringLiteral("%"));
            allocated =
                addReading(s, 8, 13, 0, name, QStringLiteral("GPU Memory Allocated"), QStringLiteral("MB"));
        }
        auto meter = std::make_shared<RateMeter>();
        const QString path = gpu.path;
        m_updaters.push_back([=](qint64 now) {
            if (isSuspended(path)) {
                return;
            }
            for (const FileReading& f : files) {
                if (f.dpmTable) {
                    double mhz = 0;
                    if (readDpmCurrentMhz(f.file, &mhz)) {
                        setValue(s, f.reading, mhz);
                    }
                    continue;
                }
                qint64 raw = 0;
                if (readNumber(f.file, &raw)) {
                    setValue(s, f.reading, double(raw) * f.scale);
                }
            }
            if (available >= 0) {
                qint64 total = 0;
                qint64 used = 0;
                if (readNumber(vramTotal, &total) &&
                    readNumber(path + QStringLiteral("/mem_info_vram_used"), &used)) {
                    setValue(s, available, double(total - used) / kBytesPerMb);
                }
            }
            if (power >= 0) {
                qint64 microjoules = 0;
                if (readNumber(energy, &microjoules)) {
                    setValue(s, power, meter->update(microjoules, now) / 1e6);
                }
            }
            if (clients) {
                const DrmClientUsage::Sample sample = clients->sample(now);
                setValue(s, coreLoad, sample.busyPercent);
                setValue(s, usage, sample.busyPercent);
                setValue(s, allocated, double(sample.localMemoryBytes) / kBytesPerMb);
            }
        });
    }
}

void LinuxSensorLibrary::discoverIntegratedGpu()
{
    const QString& sys = m_roots.sys;
    // Intel integrated GPU: clock and usage on the "Enhanced" sensor.
    for (const PciGpu& gpu : displayDevices(sys)) {
        if (!gpu.isIntegratedIntel()) {
            continue;
        }
        const QString frequency = intelFrequencyFile(drmCardOf(sys, gpu), gpu);
        if (frequency.isEmpty()) {
            break;
        }
        const int enhanced =
            addSensor(QStringLiteral("CPU [#0]: ") + m_cpuName + QStringLiteral(": Enhanced"));
        const int clock =
            addReading(enhanced, 6, 11, 101, m_cpuName, QStringLiteral("GPU Clock"), QStringLiteral("MHz"));
        const int usage =
            addReading(enhanced, 7, 11, 101, m_cpuName, QStringLiteral("GPU D3D Usage"), QStringLiteral("%"));
        auto clients = std::make_shared<DrmClientUsage>(m_roots.proc, gpu.address);
        m_updaters.push_back([this, enhanced, clock, usage, frequency, clients](qint64 now) {
            qint64 mhz = 0;
            if (readNumber(frequency, &mhz)) {
                setValue(enhanced, clock, double(mhz));
            }
            setValue(enhanced, usage, clients->sample(now).busyPercent);
        });
        break;
    }
}

void LinuxSensorLibrary::discoverMemory()
{
    const int s = addSensor(QStringLiteral("System: Memory"));
    const QString device = QStringLiteral("Memory");
    const int load =
        addReading(s, 8, 10, 32, device, QStringLiteral("Physical Memory Load"), QStringLiteral("%"));
    const int used =
        addReading(s, 8, 10, 32, device, QStringLiteral("Physical Memory Used"), QStringLiteral("MB"));
    const int available =
        addReading(s, 8, 10, 32, device, QStringLiteral("Physical Memory Available"), QStringLiteral("MB"));
    const QString meminfo = m_roots.proc + QStringLiteral("/meminfo");
    m_updaters.push_back([this, s, load, used, available, meminfo](qint64) {
        qint64 totalKb = -1;
        qint64 availableKb = -1;
        for (const QByteArray& line : readFile(meminfo, kAttributeBytes * 4).split('\n')) {
            if (line.startsWith("MemTotal:")) {
                totalKb = line.mid(9).trimmed().split(' ').value(0).toLongLong();
            } else if (line.startsWith("MemAvailable:")) {
                availableKb = line.mid(13).trimmed().split(' ').value(0).toLongLong();
            }
        }
        if (totalKb <= 0 || availableKb < 0) {
            return;
        }
        const qint64 usedKb = totalKb - availableKb;
        setValue(s, load, double(usedKb) * 100.0 / double(totalKb));
        setValue(s, used, double(usedKb) / 1024.0);
        setValue(s, available, double(availableKb) / 1024.0);
    });
}

void LinuxSensorLibrary::discoverFans()
{
    // GPU chips report their fan on the GPU sensor.
    static const QSet<QString> gpuChips = {QStringLiteral("amdgpu"), QStringLiteral("radeon"),
                                           QStringLiteral("nouveau"), QStringLiteral("i915"),
                                           QStringLiteral("xe")};
    for (const HwmonChip& chip : hwmonChips(m_roots.sys)) {
        if (gpuChips.contains(chip.name)) {
            continue;
        }
        const QList<int> fans = numberedAttributes(chip.dir, QStringLiteral("fan"), QStringLiteral("_input"));
        if (fans.isEmpty()) {
            continue;
        }
        const int s = addSensor(chip.name);
        QVector<QPair<int, QString>> readings;
        for (int n : fans) {
            const QString label = readText(QStringLiteral("%1/fan%2_label").arg(chip.dir).arg(n));
            const bool labelled = !label.isEmpty();
            const QString shown = labelled ? label : QStringLiteral("fan%1").arg(n);
            readings.append({addReading(s, 3, 12, fanRule(chip.name, label, n, labelled).subClass, chip.name,
                                        shown, QStringLiteral("RPM")),
                             QStringLiteral("%1/fan%2_input").arg(chip.dir).arg(n)});
        }
        m_updaters.push_back([this, s, readings](qint64) {
            for (const auto& [reading, file] : readings) {
                qint64 rpm = 0;
                if (readNumber(file, &rpm)) {
                    setValue(s, reading, double(rpm));
                }
            }
        });
    }
}

void LinuxSensorLibrary::discoverDrives()
{
    for (const HwmonChip& chip : hwmonChips(m_roots.sys)) {
        QString model;
        QString deviceName;
        QString powerDir;
        if (chip.name == QLatin1String("nvme")) {
            // hwmonN/device is the controller (…/nvme/nvmeX) on current
            // kernels, its PCI device on older ones.
            model = readText(chip.device + QStringLiteral("/model"));
            deviceName = QFileInfo(chip.device).fileName();
            const QStringList controllers =
                sortedEntries(chip.device + QStringLiteral("/nvme"), QStringLiteral("nvme*"));
            if (model.isEmpty() && !controllers.isEmpty()) {
                deviceName = controllers.first();
                model =
                    readText(chip.device + QStringLiteral("/nvme/") + deviceName + QStringLiteral("/model"));
            }
            powerDir = chip.device;
        } else if (chip.name == QLatin1String("drivetemp")) {
            model = readText(chip.device + QStringLiteral("/model"));
            const QStringList blocks = sortedEntries(chip.device + QStringLiteral("/block"));
            deviceName = blocks.value(0);
            powerDir = chip.device;
        } else {
            continue;
        }
        QString file = inputByLabel(chip, QStringLiteral("temp"), {QStringLiteral("Composite")});
        if (file.isEmpty()) {
            file = attribute(chip, QStringLiteral("temp1_input"));
        }
        if (file.isEmpty()) {
            continue;
        }
        if (model.isEmpty()) {
            model = chip.name;
        }
        const int s = addSensor(QStringLiteral("S.M.A.R.T.: %1 (%2)").arg(model, deviceName));
        const int reading = addReading(s, 1, 15, 0, model, QStringLiteral("Drive Temperature"), kCelsius);
        // Asking a SATA disk for its temperature counts as use on some
        // drives and keeps them from spinning down: a disk is asked at most
        // once a minute, and only after it did some work of its own (its
        // block statistics moved), never while it may be in standby.
        const bool spinning = chip.name == QLatin1String("drivetemp");
        const QString statFile =
            chip.device + QStringLiteral("/block/") + deviceName + QStringLiteral("/stat");
        auto lastStat = std::make_shared<QByteArray>();
        auto lastReadNs = std::make_shared<qint64>(std::numeric_limits<qint64>::min());
        m_updaters.push_back([=](qint64 now) {
            // A spun-down disk keeps its last temperature rather than being woken.
            if (isSuspended(powerDir)) {
                return;
            }
            if (spinning && QFileInfo::exists(statFile)) {
                const QByteArray stat = readFile(statFile).simplified();
                const bool worked = !lastStat->isEmpty() && stat != *lastStat;
                *lastStat = stat;
                if (!worked) {
                    return;
                }
            }
            if (spinning && *lastReadNs != std::numeric_limits<qint64>::min() &&
                now - *lastReadNs < kDriveTemperatureIntervalNs) {
                return;
            }
            *lastReadNs = now;
            qint64 millidegrees = 0;
            if (readNumber(file, &millidegrees)) {
                setValue(s, reading, millidegrees / 1000.0);
            }
        });
    }
}

void LinuxSensorLibrary::discoverNetwork()
{
    // The default route's interface first.
    QString defaultInterface;
    qint64 bestMetric = -1;
    const QList<QByteArray> routes =
        readFile(m_roots.proc + QStringLiteral("/net/route"), kProcFileBytes).split('\n');
    for (int i = 1; i < routes.size(); ++i) {
        const QList<QByteArray> fields = routes.at(i).simplified().split(' ');
        if (fields.size() >= 7 && fields.at(1) == "00000000") {
            const qint64 metric = fields.at(6).toLongLong();
            if (bestMetric < 0 || metric < bestMetric) {
                bestMetric = metric;
                defaultInterface = QString::fromUtf8(fields.at(0));
            }
        }
    }
    const QString netDir = m_roots.sys + QStringLiteral("/class/net");
    QStringList interfaces;
    for (const QString& name : sortedEntries(netDir)) {
        // Virtual interfaces (lo, bridges, tunnels, containers) have no device.
        if (name == QLatin1String("lo") ||
            !QFileInfo(netDir + QLatin1Char('/') + name + QStringLiteral("/device")).exists()) {
            continue;
        }
        interfaces.append(name);
    }
    if (interfaces.removeOne(defaultInterface)) {
        interfaces.prepend(defaultInterface);
    }
    for (const QString& name : interfaces) {
        const int s = addSensor(QStringLiteral("Network: ") + name);
        const int down =
            addReading(s, 8, 16, 0, name, QStringLiteral("Current DL rate"), QStringLiteral("KB/s"));
        const int up =
            addReading(s, 8, 16, 0, name, QStringLiteral("Current UP rate"), QStringLiteral("KB/s"));
        const int totalDown = addReading(s, 8, 16, 0, name, QStringLiteral("Total DL"), QStringLiteral("MB"));
        const int totalUp = addReading(s, 8, 16, 0, name, QStringLiteral("Total UP"), QStringLiteral("MB"));
        const QString statistics = netDir + QLatin1Char('/') + name + QStringLiteral("/statistics/");
        auto rx = std::make_shared<RateMeter>();
        auto tx = std::make_shared<RateMeter>();
        m_updaters.push_back([=](qint64 now) {
            qint64 received = 0;
            qint64 sent = 0;
            if (readNumber(statistics + QStringLiteral("rx_bytes"), &received)) {
                setValue(s, down, rx->update(received, now) / 1024.0);
                setValue(s, totalDown, double(received) / kBytesPerMb);
            }
            if (readNumber(statistics + QStringLiteral("tx_bytes"), &sent)) {
                setValue(s, up, tx->update(sent, now) / 1024.0);
                setValue(s, totalUp, double(sent) / kBytesPerMb);
            }
        });
    }
}

void LinuxSensorLibrary::discoverMangoHud()
{
    if (m_roots.mangoHudFolder.isEmpty() || !QFileInfo(m_roots.mangoHudFolder).isDir()) {
        return;
    }
    const int s = addSensor(QStringLiteral("MangoHud"));
    const int fps = addReading(s, 8, 0, 0, QStringLiteral("MangoHud"),
                               QStringLiteral("Framerate Displayed (avg)"), QStringLiteral("FPS"));
    const QString folder = m_roots.mangoHudFolder;
    m_updaters.push_back([this, s, fps, folder](qint64) {
        // The newest log, when it was written to in the last few seconds.
        constexpr qint64 kLiveSeconds = 5;
        constexpr qint64 kTailBytes = 4096;
        const QFileInfoList logs =
            QDir(folder).entryInfoList({QStringLiteral("*.csv")}, QDir::Files, QDir::Time);
        double value = 0;
        if (!logs.isEmpty() &&
            logs.first().lastModified().secsTo(QDateTime::currentDateTime()) <= kLiveSeconds) {
            QFile file(logs.first().filePath());
            if (file.open(QIODevice::ReadOnly)) {
                QByteArray head = file.read(kTailBytes);
                int fpsColumn = -1;
                for (const QByteArray& line : head.split('\n')) {
                    const QList<QByteArray> columns = line.trimmed().split(',');
                    fpsColumn = columns.indexOf("fps");
                    if (fpsColumn >= 0) {
                        break;
                    }
                }
                file.seek(std::max<qint64>(0, file.size() - kTailBytes));
                const QList<QByteArray> lines = file.read(kTailBytes).trimmed().split('\n');
                if (fpsColumn >= 0 && !lines.isEmpty()) {
                    value = lines.last().split(',').value(fpsColumn).toDouble();
                }
            }
        }
        setValue(s, fps, value);
    });
}
