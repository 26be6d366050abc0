#include "sensorauxiliary.h"

#include "sensorlog.h"
#include "systemvolume.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTextStream>

#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/statvfs.h>
#endif

namespace {

// System command output is waited for at most this long.
constexpr int kCommandTimeoutMs = 30000;
// Small sysfs and procfs files are read up to this size.
constexpr qint64 kSmallFileBytes = 64 * 1024;

QByteArray readSmallFile(const QString& path, qint64 limit = kSmallFileBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.read(limit);
}

QByteArray runCommand(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments, QIODevice::ReadWrite);
    if (!process.waitForStarted(kCommandTimeoutMs)) {
        return {};
    }
    process.closeWriteChannel();
    process.waitForFinished(kCommandTimeoutMs);
    const QByteArray output = process.readAllStandardOutput();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(1000);
    }
    return output;
}

bool isUnsetDmiText(const QString& text)
{
    static const QStringList placeholders = {QStringLiteral("Unknown"), QStringLiteral("Not Specified"),
                                             QStringLiteral("Undefined"), QStringLiteral("None")};
    return text.isEmpty() || placeholders.contains(text, Qt::CaseInsensitive);
}

} // namespace

namespace SensorAux {

QString cpuName(const QString& procRoot, const QString& sysRoot)
{
    const QList<QByteArray> lines =
        readSmallFile(procRoot + QStringLiteral("/cpuinfo"), 4 * 1024 * 1024).split('\n');
    QString hardware;
    for (const QByteArray& line : lines) {
        const int colon = line.indexOf(':');
        if (colon < 0) {
            continue;
        }
        const QByteArray key = line.left(colon).trimmed();
        const QString value = QString::fromUtf8(line.mid(colon + 1).trimmed());
        if (key == "model name" && !value.isEmpty()) {
            return value;
        }
        if (key == "Hardware" && hardware.isEmpty()) {
            hardware = value;
        }
    }
    if (!hardware.isEmpty()) {
        return hardware;
    }
    // Device-tree strings end in NUL.
    QByteArray model = readSmallFile(sysRoot + QStringLiteral("/firmware/devicetree/base/model"));
    const int nul = model.indexOf('\0');
    if (nul >= 0) {
        model.truncate(nul);
    }
    return QString::fromUtf8(model.trimmed());
}

QString memoryManufacturerFromUdev(const QByteArray& udevData)
{
    // "E:MEMORY_DEVICE_<n>_<KEY>=<value>" lines; empty slots say PRESENT=0.
    QMap<int, QString> manufacturers;
    QSet<int> absent;
    static const QRegularExpression pattern(QStringLiteral("^E:MEMORY_DEVICE_(\\d+)_(\\w+)=(.*)$"));
    for (const QByteArray& raw : udevData.split('\n')) {
        const QRegularExpressionMatch match = pattern.match(QString::fromUtf8(raw.trimmed()));
        if (!match.hasMatch()) {
            continue;
        }
        const int index = match.captured(1).toInt();
        const QString key = match.captured(2);
        const QString value = match.captured(3).trimmed();
        if (key == QLatin1String("PRESENT") && value == QLatin1String("0")) {
            absent.insert(index);
        } else if (key == QLatin1String("MANUFACTURER")) {
            manufacturers.insert(index, value);
        }
    }
    for (auto it = manufacturers.cbegin(); it != manufacturers.cend(); ++it) {
        if (!absent.contains(it.key()) && !isUnsetDmiText(it.value())) {
            return it.value();
        }
    }
    return {};
}

QString memoryManufacturerFromDmidecode(const QByteArray& output)
{
    for (const QByteArray& raw : output.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith("Manufacturer:")) {
            const QString value = QString::fromUtf8(line.mid(int(sizeof("Manufacturer:")) - 1).trimmed());
            if (!isUnsetDmiText(value)) {
                return value;
            }
        }
    }
    return {};
}

QString memoryManufacturer(const QString& runRoot, const QString& sysRoot)
{
    const QString fromUdev =
        memoryManufacturerFromUdev(readSmallFile(runRoot + QStringLiteral("/udev/data/+dmi:id")));
    if (!fromUdev.isEmpty()) {
        return fromUdev;
    }
    // dmidecode needs the raw table, which is root-only on most systems;
    // do not start it when it could only fail.
    if (!QFileInfo(sysRoot + QStringLiteral("/firmware/dmi/tables/DMI")).isReadable()) {
        return {};
    }
    QString dmidecode = QStandardPaths::findExecutable(QStringLiteral("dmidecode"));
    if (dmidecode.isEmpty()) {
        dmidecode =
            QStandardPaths::findExecutable(QStringLiteral("dmidecode"), {QStringLiteral("/usr/sbin")});
    }
    if (dmidecode.isEmpty()) {
        return {};
    }
    return memoryManufacturerFromDmidecode(
        runCommand(dmidecode, {QStringLiteral("-t"), QStringLiteral("17")}));
}

bool lookUpPciIds(const QString& pciIdsPath, uint vendorId, uint deviceId, QString* vendorName,
                  QString* deviceName)
{
    vendorName->clear();
    deviceName->clear();
    QFile file(pciIdsPath);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray vendorKey = QByteArray::number(vendorId, 16).rightJustified(4, '0');
    const QByteArray deviceKey = QByteArray::number(deviceId, 16).rightJustified(4, '0');
    bool inVendor = false;
    // Lines are short; a line longer than this is not from a pci.ids file.
    constexpr qint64 kMaxLine = 1024;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine(kMaxLine);
        if (line.isEmpty() || line.startsWith('#')) {
            continue;
        }
        if (line.at(0) != '\t') {
            if (inVendor) {
                break; // the vendor's block ended without the device
            }
            // The class list at the end of the file starts with "C ".
            if (line.startsWith("C ")) {
                break;
            }
            if (line.startsWith(vendorKey + ' ')) {
                inVendor = true;
                *vendorName = QString::fromUtf8(line.mid(4).trimmed());
            }
            continue;
        }
        if (inVendor && line.size() > 1 && line.at(1) != '\t' && line.mid(1).startsWith(deviceKey + ' ')) {
            *deviceName = QString::fromUtf8(line.mid(5).trimmed());
            return true;
        }
    }
    return inVendor;
}

QString gpuDisplayName(uint vendorId, const QString& vendorName, uint deviceId, const QString& deviceName)
{
    QString brand;
    switch (vendorId) {
    case 0x10de:
        brand = QStringLiteral("NVIDIA");
        break;
    case 0x1002:
    case 0x1022:
        brand = QStringLiteral("AMD");
        break;
    case 0x8086:
        // The video-controller rule counts Intel adapters by this spelling.
        brand = QStringLiteral("Intel(R)");
        break;
    default:
        brand = vendorName.isEmpty() ? QStringLiteral("Vendor %1").arg(vendorId, 4, 16, QLatin1Char('0'))
                                     : vendorName;
        break;
    }
    QString model = deviceName;
    const int open = deviceName.lastIndexOf(QLatin1Char('['));
    const int close = deviceName.lastIndexOf(QLatin1Char(']'));
    if (open >= 0 && close > open + 1) {
        model = deviceName.mid(open + 1, close - open - 1).trimmed();
    }
    if (model.isEmpty()) {
        model = QStringLiteral("Device %1").arg(deviceId, 4, 16, QLatin1Char('0'));
    }
    return brand + QLatin1Char(' ') + model;
}

QString defaultPciIdsPath()
{
    for (const QString& path :
         {QStringLiteral("/usr/share/misc/pci.ids"), QStringLiteral("/usr/share/hwdata/pci.ids")}) {
        if (QFileInfo::exists(path)) {
            return path;
        }
    }
    return QStringLiteral("/usr/share/misc/pci.ids");
}

QStringList videoControllers(const QString& sysRoot, const QString& pciIdsPath)
{
    QStringList names;
    QDir devices(sysRoot + QStringLiteral("/bus/pci/devices"));
    const QStringList addresses = devices.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& address : addresses) {
        const QString base = devices.filePath(address) + QLatin1Char('/');
        bool ok = false;
        const uint pciClass = readSmallFile(base + QStringLiteral("class")).trimmed().toUInt(&ok, 16);
        if (!ok || (pciClass >> 16) != 0x03) {
            continue;
        }
        const uint vendorId = readSmallFile(base + QStringLiteral("vendor")).trimmed().toUInt(nullptr, 16);
        const uint deviceId = readSmallFile(base + QStringLiteral("device")).trimmed().toUInt(nullptr, 16);
        QString vendorName;
        QString deviceName;
        lookUpPciIds(pciIdsPath, vendorId, deviceId, &vendorName, &deviceName);
        names.append(gpuDisplayName(vendorId, vendorName, deviceId, deviceName));
    }
    return names;
}

bool isPseudoOrNetworkFileSystem(const QByteArray& type)
{
    static const QSet<QByteArray> excluded = {
        "tmpfs",   "devtmpfs",   "overlay",   "squashfs",    "proc",    "sysfs",       "cgroup",
        "cgroup2", "devpts",     "mqueue",    "hugetlbfs",   "debugfs", "tracefs",     "securityfs",
        "pstore",  "bpf",        "configfs",  "fusectl",     "autofs",  "binfmt_misc", "efivarfs",
        "ramfs",   "rpc_pipefs", "nsfs",      "iso9660",     "udf",     "fuse.portal", "fuse.gvfsd-fuse",
        "nfs",     "nfs4",       "cifs",      "smb3",        "smbfs",   "sshfs",       "fuse.sshfs",
        "9p",      "ceph",       "glusterfs", "fuse.rclone", "davfs",   "afs",         "virtiofs",
    };
    return excluded.contains(type);
}

DiskFigures diskFigures(const QVector<VolumeFacts>& volumes)
{
    quint64 total = 0;
    quint64 available = 0;
    QSet<QByteArray> seenDevices;
    for (const VolumeFacts& volume : volumes) {
        if (!volume.valid || !volume.ready || volume.readOnly || volume.remote ||
            isPseudoOrNetworkFileSystem(volume.fileSystemType) || volume.device.startsWith("/dev/loop") ||
            volume.bytesTotal <= 0) {
            continue;
        }
        // btrfs subvolumes and bind mounts repeat their device; every ZFS
        // dataset of a pool reports the pool's shared space.
        const QByteArray key =
            volume.fileSystemType == "zfs" ? "zfs:" + volume.device.split('/').first() : volume.device;
        if (seenDevices.contains(key)) {
            continue;
        }
        seenDevices.insert(key);
        total += quint64(volume.bytesTotal);
        available += quint64(std::max<qint64>(volume.bytesAvailable, 0));
    }
    // Gigabytes are summed in 64 bits; only the hand-over narrows them, so
    // the load stays right for arrays of more than 64 TiB.
    const quint64 totalGb = total >> 30;
    const quint64 availableGb = available >> 30;
    const quint16 usedGb = quint16(totalGb - availableGb);
    DiskFigures figures;
    figures.totalGb = quint16(totalGb);
    figures.availableGb = quint16(availableGb);
    figures.usedGb = usedGb;
    figures.loadPercent = totalGb == 0 ? 0 : quint16(quint64(usedGb) * 100u / totalGb);
    return figures;
}

QByteArray unescapeMountField(const QByteArray& field)
{
    // The kernel writes space, tab, newline and backslash as \ooo.
    QByteArray out;
    for (int i = 0; i < field.size(); ++i) {
        if (field.at(i) == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok && code < 256) {
                out.append(char(code));
                i += 3;
                continue;
            }
        }
        out.append(field.at(i));
    }
    return out;
}

bool mayBeRemote(const QByteArray& type)
{
    // FUSE file systems are mostly network ones (sshfs, rclone, s3fs...);
    // fuseblk is a local disk (NTFS, exFAT).
    return isPseudoOrNetworkFileSystem(type) || type == "fuse" || type.startsWith("fuse.");
}

QVector<VolumeFacts> mountedVolumes(const QString& procRoot, const VolumeStat& statVolume)
{
    QVector<VolumeFacts> result;
    const QByteArray table = readSmallFile(procRoot + QStringLiteral("/self/mountinfo"), 4 * 1024 * 1024);
    for (const QByteArray& line : table.split('\n')) {
        // id parent major:minor root mount-point options [optional...] - type source super-options
        const QList<QByteArray> fields = line.split(' ');
        const int separator = int(fields.indexOf("-"));
        if (separator < 6 || separator + 2 >= fields.size()) {
            continue;
        }
        VolumeFacts facts;
        facts.fileSystemType = fields.at(separator + 1);
        facts.device = unescapeMountField(fields.at(separator + 2));
        // Decided from the table alone: a hard network mount that no longer
        // answers would block the statfs for good.
        if (mayBeRemote(facts.fileSystemType) || facts.device.startsWith("/dev/loop")) {
            continue;
        }
        const QString mountPoint = QString::fromUtf8(unescapeMountField(fields.at(4)));
        if (!statVolume(mountPoint, &facts)) {
            facts.valid = false;
        }
        result.append(facts);
    }
    return result;
}

bool statVolume(const QString& mountPoint, VolumeFacts* facts)
{
#ifdef Q_OS_WIN
    Q_UNUSED(mountPoint)
    Q_UNUSED(facts)
    return false;
#else
    struct statvfs info = {};
    if (statvfs(QFile::encodeName(mountPoint).constData(), &info) != 0) {
        return false;
    }
    facts->bytesTotal = qint64(info.f_blocks) * qint64(info.f_frsize);
    facts->bytesAvailable = qint64(info.f_bavail) * qint64(info.f_frsize);
    facts->readOnly = (info.f_flag & ST_RDONLY) != 0;
    return true;
#endif
}

QVector<VolumeFacts> mountedVolumes()
{
#ifdef Q_OS_LINUX
    return mountedVolumes(QStringLiteral("/proc"), statVolume);
#else
    QVector<VolumeFacts> result;
    const QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo& volume : volumes) {
        VolumeFacts facts;
        facts.device = volume.device();
        facts.fileSystemType = volume.fileSystemType();
        facts.valid = volume.isValid();
        facts.ready = volume.isReady();
        facts.readOnly = volume.isReadOnly();
        facts.bytesTotal = volume.bytesTotal();
        facts.bytesAvailable = volume.bytesAvailable();
#ifdef Q_OS_WIN
        // Mapped network drives carry the server's file system name.
        const QString root = QDir::toNativeSeparators(volume.rootPath());
        facts.remote = GetDriveTypeW(reinterpret_cast<LPCWSTR>(root.utf16())) == DRIVE_REMOTE;
#endif
        result.append(facts);
    }
    return result;
#endif
}

QString wmicValue(const QByteArray& output)
{
    const QString text = QString::fromLocal8Bit(output);
    const int equals = text.indexOf(QLatin1Char('='));
    return (equals < 0 ? text : text.mid(equals + 1)).trimmed();
}

QStringList wmicVideoControllers(const QByteArray& output)
{
    QStringList names;
    const QStringList parts = QString::fromLocal8Bit(output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& raw : parts) {
        const QString part = raw.trimmed();
        const int equals = part.indexOf(QLatin1Char('='));
        if (equals >= 0) {
            names.append(part.mid(equals + 1).trimmed());
        }
    }
    return names;
}

} // namespace SensorAux

SensorAuxiliary SensorAuxiliary::system()
{
    SensorAuxiliary aux;
#ifdef Q_OS_WIN
    aux.memoryManufacturer = [] {
        return SensorAux::wmicValue(runCommand(
            QStringLiteral("wmic"), {QStringLiteral("memorychip"), QStringLiteral("get"),
                                     QStringLiteral("Manufacturer"), QStringLiteral("/format:list")}));
    };
    aux.cpuName = [] {
        return SensorAux::wmicValue(
            runCommand(QStringLiteral("wmic"), {QStringLiteral("cpu"), QStringLiteral("get"),
                                                QStringLiteral("name"), QStringLiteral("/format:list")}));
    };
    aux.videoControllers = [] {
        return SensorAux::wmicVideoControllers(
            runCommand(QStringLiteral("wmic"),
                       {QStringLiteral("path"), QStringLiteral("win32_VideoController"),
                        QStringLiteral("get"), QStringLiteral("Name"), QStringLiteral("/format:list")}));
    };
#else
    aux.memoryManufacturer = [] {
        return SensorAux::memoryManufacturer(QStringLiteral("/run"), QStringLiteral("/sys"));
    };
    aux.cpuName = [] { return SensorAux::cpuName(QStringLiteral("/proc"), QStringLiteral("/sys")); };
    aux.videoControllers = [] {
        return SensorAux::videoControllers(QStringLiteral("/sys"), SensorAux::defaultPciIdsPath());
    };
#endif
    aux.diskFigures = [] { return SensorAux::diskFigures(SensorAux::mountedVolumes()); };
    // The volume source lives as long as the functions holding it.
    auto volume = std::make_shared<std::unique_ptr<SystemVolume>>();
    aux.masterVolume = [volume] {
        if (!*volume) {
            *volume = std::make_unique<SystemVolume>();
            (*volume)->initialise();
        }
        return (*volume)->volume();
    };
    return aux;
}

void SensorAuxiliary::applyReplay(const QJsonObject& auxiliary)
{
    if (auxiliary.contains(QStringLiteral("cpuName"))) {
        const QString value = auxiliary.value(QStringLiteral("cpuName")).toString();
        cpuName = [value] { return value; };
    }
    if (auxiliary.contains(QStringLiteral("memoryManufacturer"))) {
        const QString value = auxiliary.value(QStringLiteral("memoryManufacturer")).toString();
        memoryManufacturer = [value] { return value; };
    }
    if (auxiliary.contains(QStringLiteral("videoControllers"))) {
        QStringList names;
        for (const QJsonValue& name : auxiliary.value(QStringLiteral("videoControllers")).toArray()) {
            names.append(name.toString());
        }
        videoControllers = [names] { return names; };
    }
    if (auxiliary.contains(QStringLiteral("disk"))) {
        const QJsonObject disk = auxiliary.value(QStringLiteral("disk")).toObject();
        DiskFigures figures;
        figures.totalGb = quint16(disk.value(QStringLiteral("total")).toInt());
        figures.usedGb = quint16(disk.value(QStringLiteral("used")).toInt());
        figures.availableGb = quint16(disk.value(QStringLiteral("available")).toInt());
        figures.loadPercent = quint16(disk.value(QStringLiteral("load")).toInt());
        diskFigures = [figures] { return figures; };
    }
    if (auxiliary.contains(QStringLiteral("volume"))) {
        const int value = qBound(0, auxiliary.value(QStringLiteral("volume")).toInt(), 100);
        masterVolume = [value] { return value; };
    }
}
