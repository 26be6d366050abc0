// Cost of one sensor pass, in CPU time of the calling thread:
//   source   - the source's own update plus the manager's 8 kinds x 512 slots
//              sweep over every sensor (what the library side costs);
//   pass     - a whole manager refresh pass (sweep, catalogue update,
//              averages, volume, publication).
// Usage: panelcast-bench-sensors [passes] [fake-tree ...]
#include "dispsensormanager.h"
#include "drmclientusage.h"
#include "linuxsensorlibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTextStream>

#include <algorithm>
#include <ctime>
#include <numeric>
#include <vector>

namespace {

qint64 threadCpuNs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

struct Figures
{
    double meanUs = 0;
    double medianUs = 0;
    double maxUs = 0;
};

Figures summarise(std::vector<double> samples)
{
    Figures f;
    if (samples.empty()) {
        return f;
    }
    std::sort(samples.begin(), samples.end());
    f.meanUs = std::accumulate(samples.begin(), samples.end(), 0.0) / double(samples.size());
    f.medianUs = samples.at(samples.size() / 2);
    f.maxUs = samples.back();
    return f;
}

LinuxSensorRoots rootsFor(const QString& tree)
{
    LinuxSensorRoots roots;
    if (!tree.isEmpty()) {
        roots.sys = tree + QStringLiteral("/sys");
        roots.proc = tree + QStringLiteral("/proc");
        roots.run = tree + QStringLiteral("/run");
        roots.nvmlLibrary.clear();
    }
    return roots;
}

// The library side: update, then the full sweep the manager makes.
Figures measureSource(const QString& tree, int passes, int* sensors, int* readings)
{
    LinuxSensorLibrary library(rootsFor(tree));
    library.start(SensorLibrary::kStartFlags);
    *sensors = library.sensorCount();
    *readings = 0;
    for (const ModelSensor& s : library.sensors()) {
        *readings += s.readings.size();
    }
    std::vector<double> samples;
    SensorLibraryRecord record;
    for (int pass = 0; pass < passes; ++pass) {
        const qint64 start = threadCpuNs();
        const int count = library.sensorCount();
        library.updateReadings();
        for (int s = 0; s < count; ++s) {
            library.selectSensor(s);
            for (int slot = 0; slot < SensorLibrary::kSlotCount; ++slot) {
                for (int kind = 1; kind <= SensorLibrary::kKindCount; ++kind) {
                    record.presence[0] = 0;
                    library.readReading(kind, s, slot, &record);
                }
            }
        }
        samples.push_back(double(threadCpuNs() - start) / 1000.0);
    }
    return summarise(samples);
}

Figures measurePass(const QString& tree, int passes, int* records)
{
    SensorAuxiliary aux;
    aux.cpuName = [] { return QStringLiteral("bench"); };
    aux.diskFigures = [] { return DiskFigures{}; };
    aux.masterVolume = [] { return 0; };
    DispSensorManager manager(std::make_unique<LinuxSensorLibrary>(rootsFor(tree)), aux);
    *records = manager.catalogue().size();
    std::vector<double> samples;
    for (int pass = 0; pass < passes; ++pass) {
        const qint64 start = threadCpuNs();
        manager.runLoopPass();
        samples.push_back(double(threadCpuNs() - start) / 1000.0);
    }
    return summarise(samples);
}

// The walk over /proc that finds DRM clients (Intel GPUs only), done every
// few passes.
Figures measureDrmScan(int passes, int* processes)
{
    *processes = 0;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        *processes += entry.toInt() > 0 ? 1 : 0;
    }
    std::vector<double> samples;
    for (int pass = 0; pass < passes; ++pass) {
        DrmClientUsage usage(QStringLiteral("/proc"), QStringLiteral("0000:00:02.0"));
        const qint64 start = threadCpuNs();
        usage.sample(start);
        samples.push_back(double(threadCpuNs() - start) / 1000.0);
    }
    return summarise(samples);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    QStringList arguments = QCoreApplication::arguments().mid(1);
    int passes = 200;
    if (!arguments.isEmpty() && arguments.first().toInt() > 0) {
        passes = arguments.takeFirst().toInt();
    }
    QStringList trees{QString()};
    trees += arguments;

    QTextStream out(stdout);
    out << "Sensor pass cost, CPU time of the calling thread, " << passes << " passes each\n\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
               .arg(QStringLiteral("machine"), -22)
               .arg(QStringLiteral("what"), -7)
               .arg(QStringLiteral("sensors"), 8)
               .arg(QStringLiteral("items"), 6)
               .arg(QStringLiteral("mean us"), 9)
               .arg(QStringLiteral("median us"), 10)
               .arg(QStringLiteral("max us"), 9);
    for (const QString& tree : trees) {
        const QString name = tree.isEmpty() ? QStringLiteral("this machine") : QFileInfo(tree).fileName();
        int sensors = 0;
        int readings = 0;
        int records = 0;
        const Figures source = measureSource(tree, passes, &sensors, &readings);
        const Figures pass = measurePass(tree, passes, &records);
        auto row = [&](const QString& what, int items, const Figures& f) {
            out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                       .arg(name, -22)
                       .arg(what, -7)
                       .arg(sensors, 8)
                       .arg(items, 6)
                       .arg(f.meanUs, 9, 'f', 1)
                       .arg(f.medianUs, 10, 'f', 1)
                       .arg(f.maxUs, 9, 'f', 1);
        };
        row(QStringLiteral("source"), readings, source);
        row(QStringLiteral("pass"), records, pass);
    }
    int processes = 0;
    const Figures scan = measureDrmScan(std::max(1, passes / 10), &processes);
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
               .arg(QStringLiteral("this machine"), -22)
               .arg(QStringLiteral("drm"), -7)
               .arg(QStringLiteral("-"), 8)
               .arg(processes, 6)
               .arg(scan.meanUs, 9, 'f', 1)
               .arg(scan.medianUs, 10, 'f', 1)
               .arg(scan.maxUs, 9, 'f', 1);
    out << "\nsource: items = readings; pass: items = catalogue records; drm: items = processes, the\n"
           "/proc walk for Intel GPU clients, made every "
        << DrmClientUsage::kRescanSamples << " passes. A pass runs once a second.\n";
    return 0;
}
