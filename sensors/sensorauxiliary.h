#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// Disk capacity summed over the counted volumes, in whole gigabytes of 2^30
// bytes; each figure wraps modulo 65536 as the display code expects.
struct DiskFigures
{
    quint16 totalGb = 0;
    quint16 usedGb = 0;
    quint16 availableGb = 0;
    quint16 loadPercent = 0;
};

// What the disk rule needs to know about one mounted volume.
struct VolumeFacts
{
    QByteArray device;
    QByteArray fileSystemType;
    qint64 bytesTotal = 0;
    qint64 bytesAvailable = 0;
    bool valid = true;
    bool ready = true;
    bool readOnly = false;
    // The system reports a network drive (Windows drive type).
    bool remote = false;
};

// The figures the sensor library does not give, each behind a function that
// tests replace. The manager calls them at fixed moments from its own thread
// or the caller of acquire(); none may block for long.
struct SensorAuxiliary
{
    std::function<QString()> memoryManufacturer;
    std::function<QString()> cpuName;
    // Every video controller's name; the manager counts those naming
    // "NVIDIA", "AMD" or "Intel(R)".
    std::function<QStringList()> videoControllers;
    std::function<DiskFigures()> diskFigures;
    // Master volume 0..100; the first call sets the volume source up.
    std::function<int()> masterVolume;

    // The running machine's sources.
    static SensorAuxiliary system();
    // Replaces the functions the snapshot's "auxiliary" object gives:
    // "cpuName", "memoryManufacturer", "videoControllers" (array),
    // "disk" {"total", "used", "available", "load"} and "volume".
    void applyReplay(const QJsonObject& auxiliary);
};

namespace SensorAux {

// /proc/cpuinfo "model name"; on ARM "Hardware", else the device-tree model.
QString cpuName(const QString& procRoot, const QString& sysRoot);
// udev's DMI memory properties (first present module), else dmidecode's
// output when it can be run, else empty.
QString memoryManufacturer(const QString& runRoot, const QString& sysRoot);
QString memoryManufacturerFromUdev(const QByteArray& udevData);
QString memoryManufacturerFromDmidecode(const QByteArray& output);
// PCI display-class devices (class 0x03xxxx) in address order, named from
// the PCI id database.
QStringList videoControllers(const QString& sysRoot, const QString& pciIdsPath);
QString defaultPciIdsPath();
// Looks a device up in a pci.ids file; empty names when not found.
bool lookUpPciIds(const QString& pciIdsPath, uint vendorId, uint deviceId, QString* vendorName,
                  QString* deviceName);
// A name that carries the vendor's brand ("NVIDIA", "AMD", "Intel(R)") and
// the marketing name from the database's bracket when it has one.
QString gpuDisplayName(uint vendorId, const QString& vendorName, uint deviceId, const QString& deviceName);

// The disk rule: counted volumes are valid, ready, writable, local, real
// file systems, each device once.
DiskFigures diskFigures(const QVector<VolumeFacts>& volumes);
bool isPseudoOrNetworkFileSystem(const QByteArray& type);
QVector<VolumeFacts> mountedVolumes();
// Linux: the mounts of procRoot/self/mountinfo; pseudo, network and FUSE
// file systems and loop devices are left out before statVolume ever sees
// their mount point.
using VolumeStat = std::function<bool(const QString& mountPoint, VolumeFacts* facts)>;
QVector<VolumeFacts> mountedVolumes(const QString& procRoot, const VolumeStat& statVolume);
bool statVolume(const QString& mountPoint, VolumeFacts* facts);

// The Windows command tool's list format: the text after the first "=",
// trimmed; the whole output trimmed when there is no "=".
QString wmicValue(const QByteArray& output);
QStringList wmicVideoControllers(const QByteArray& output);

} // namespace SensorAux
