// What the sensor manager learns beside the sensor source: CPU, memory and
// GPU names, disk figures from the mount table, and the export of every
// reading to a text file.
#include "sensorauxiliary.h"
#include "sensorexport.h"
#include "sensorfixtures.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// Sizes in GB; a fraction stands for the bytes it comes to.
VolumeFacts volume(const char* device, const char* type, double totalGb, double availableGb)
{
    VolumeFacts v;
    v.device = device;
    v.fileSystemType = type;
    v.bytesTotal = qint64(totalGb * (1 << 30));
    v.bytesAvailable = qint64(availableGb * (1 << 30));
    return v;
}

} // namespace

Q_DECLARE_METATYPE(QVector<VolumeFacts>)

class TestSensorAuxiliary : public QObject
{
    Q_OBJECT

private slots:
    void cpuNameFallsBackFromModelNameToHardwareToDeviceTree_data();
    void cpuNameFallsBackFromModelNameToHardwareToDeviceTree();
    void memoryManufacturerFromTexts_data();
    void memoryManufacturerFromTexts();
    void videoControllersAreDisplayClassDevicesInAddressOrder_data();
    void videoControllersAreDisplayClassDevicesInAddressOrder();
    void gpuNamesCarryTheVendorBrand_data();
    void gpuNamesCarryTheVendorBrand();
    void pciIdsLookupStopsAtTheVendorBlock();
    void diskFiguresCountLocalWritableVolumesOnce_data();
    void diskFiguresCountLocalWritableVolumesOnce();
    void mountTableNeverStatsNetworkMountsAndCountsAPoolOnce();
    void exportFollowsTheLayoutInUtf8();
};

void TestSensorAuxiliary::cpuNameFallsBackFromModelNameToHardwareToDeviceTree_data()
{
    QTest::addColumn<QByteArray>("cpuinfo");
    QTest::addColumn<QByteArray>("deviceTreeModel");
    QTest::addColumn<QString>("name");
    QTest::newRow("x86") << QByteArray("processor\t: 0\nmodel name\t: AMD Ryzen 7 5800X 8-Core Processor\n")
                         << QByteArray() << "AMD Ryzen 7 5800X 8-Core Processor";
    QTest::newRow("ARM with Hardware")
        << QByteArray("processor\t: 0\nBogoMIPS\t: 38.40\nHardware\t: BCM2835\n")
        << QByteArray("Raspberry Pi 4\0", 15) << "BCM2835";
    QTest::newRow("ARM device tree") << QByteArray("processor\t: 0\nBogoMIPS\t: 48.00\n")
                                     << QByteArray("Raspberry Pi 5 Model B Rev 1.0\0", 31)
                                     << "Raspberry Pi 5 Model B Rev 1.0";
    QTest::newRow("nothing") << QByteArray() << QByteArray() << "";
    QTest::newRow("empty model name skipped")
        << QByteArray("model name\t:\nmodel name\t: Second\n") << QByteArray() << "Second";
}

void TestSensorAuxiliary::cpuNameFallsBackFromModelNameToHardwareToDeviceTree()
{
    QFETCH(QByteArray, cpuinfo);
    QFETCH(QByteArray, deviceTreeModel);
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(TestFiles::writeFile(dir.filePath("proc/cpuinfo"), cpuinfo));
    QVERIFY(TestFiles::writeFile(dir.filePath("sys/firmware/devicetree/base/model"), deviceTreeModel));
    QCOMPARE(SensorAux::cpuName(dir.filePath("proc"), dir.filePath("sys")), name);
}

void TestSensorAuxiliary::memoryManufacturerFromTexts_data()
{
    QTest::addColumn<bool>("udev"); // else dmidecode output
    QTest::addColumn<QString>("maker");
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("empty slot first")
        << true << "Micron Technology"
        << QByteArray("E:MEMORY_DEVICE_0_PRESENT=0\nE:MEMORY_DEVICE_0_MANUFACTURER=\n"
                      "E:MEMORY_DEVICE_1_MANUFACTURER=Micron Technology\n");
    QTest::newRow("placeholder skipped") << true << "Samsung"
                                         << QByteArray("E:MEMORY_DEVICE_0_MANUFACTURER=Not Specified\n"
                                                       "E:MEMORY_DEVICE_2_MANUFACTURER=Samsung\n");
    QTest::newRow("nothing") << true << "" << QByteArray("I:123\nE:ID_VENDOR=x\n");
    QTest::newRow("dmidecode, two modules")
        << false << "G.Skill"
        << QByteArray("Memory Device\n\tSize: No Module Installed\n\tManufacturer: Unknown\nMemory Device\n"
                      "\tSize: 16 GB\n\tManufacturer: G.Skill\nMemory Device\n\tManufacturer: Corsair\n");
    QTest::newRow("dmidecode, no permission")
        << false << ""
        << QByteArray("# dmidecode 3.4\n/sys/firmware/dmi/tables/smbios_entry_point: Permission denied\n");
}

void TestSensorAuxiliary::memoryManufacturerFromTexts()
{
    QFETCH(bool, udev);
    QFETCH(QString, maker);
    QFETCH(QByteArray, data);
    QCOMPARE(udev ? SensorAux::memoryManufacturerFromUdev(data)
                  : SensorAux::memoryManufacturerFromDmidecode(data),
             maker);
}

void TestSensorAuxiliary::videoControllersAreDisplayClassDevicesInAddressOrder_data()
{
    QTest::addColumn<QString>("machine");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("integrated and discrete")
        << "intel-desktop" << QStringList{"Intel(R) UHD Graphics 630", "NVIDIA GeForce RTX 3070"};
    QTest::newRow("a sleeping card still counts")
        << "amd-desktop" << QStringList{"AMD Radeon RX 6800/6800 XT / 6900 XT", "NVIDIA GeForce RTX 3090"};
    QTest::newRow("one integrated") << "intel-laptop" << QStringList{"Intel(R) Iris Xe Graphics"};
}

void TestSensorAuxiliary::videoControllersAreDisplayClassDevicesInAddressOrder()
{
    QFETCH(QString, machine);
    QFETCH(QStringList, names);
    QCOMPARE(SensorAux::videoControllers(SensorFixtures::dataPath("linux/" + machine + "/sys"),
                                         SensorFixtures::dataPath(QStringLiteral("pci.ids"))),
             names);
}

void TestSensorAuxiliary::gpuNamesCarryTheVendorBrand_data()
{
    QTest::addColumn<uint>("vendor");
    QTest::addColumn<QString>("vendorName");
    QTest::addColumn<uint>("device");
    QTest::addColumn<QString>("deviceName");
    QTest::addColumn<QString>("name");
    // A bracketed model name ("GA104 [GeForce RTX 3070]") is in the video controller listings.
    QTest::newRow("no bracket") << 0x1002u << "Advanced Micro Devices, Inc. [AMD/ATI]" << 0x1234u << "Cezanne"
                                << "AMD Cezanne";
    QTest::newRow("unknown device") << 0x8086u << "" << 0x56a0u << ""
                                    << "Intel(R) Device 56a0";
    QTest::newRow("other vendor") << 0x1af4u << "Red Hat, Inc." << 0x1050u << "Virtio 1.0 GPU"
                                  << "Red Hat, Inc. Virtio 1.0 GPU";
    QTest::newRow("unknown vendor") << 0x1234u << "" << 0x1111u << ""
                                    << "Vendor 1234 Device 1111";
}

void TestSensorAuxiliary::gpuNamesCarryTheVendorBrand()
{
    QFETCH(uint, vendor);
    QFETCH(QString, vendorName);
    QFETCH(uint, device);
    QFETCH(QString, deviceName);
    QFETCH(QString, name);
    QCOMPARE(SensorAux::gpuDisplayName(vendor, vendorName, device, deviceName), name);
}

void TestSensorAuxiliary::pciIdsLookupStopsAtTheVendorBlock()
{
    const QString ids = SensorFixtures::dataPath(QStringLiteral("pci.ids"));
    QString vendor;
    QString device;
    // 1043 87b8 is a subsystem line of 2484, not a device of its own.
    QVERIFY(SensorAux::lookUpPciIds(ids, 0x10de, 0x1043, &vendor, &device));
    QCOMPARE(vendor, QStringLiteral("NVIDIA Corporation"));
    QCOMPARE(device, QString());
    // a348 belongs to Intel, not to NVIDIA's block before it.
    QVERIFY(!SensorAux::lookUpPciIds(ids, 0x10de, 0xa348, &vendor, &device) || device.isEmpty());
    QVERIFY(!SensorAux::lookUpPciIds(ids, 0xffff, 0x0001, &vendor, &device));
    QVERIFY(!SensorAux::lookUpPciIds(ids + QStringLiteral(".missing"), 0x10de, 0x2484, &vendor, &device));
}

void TestSensorAuxiliary::diskFiguresCountLocalWritableVolumesOnce_data()
{
    QTest::addColumn<QVector<VolumeFacts>>("volumes");
    QTest::addColumn<QVector<int>>("figures"); // total, used, available, load
    VolumeFacts readOnly = volume("/dev/sr0", "ext4", 4, 0);
    readOnly.readOnly = true;
    VolumeFacts notReady = volume("/dev/sdc1", "vfat", 32, 32);
    notReady.ready = false;
    VolumeFacts invalid = volume("/dev/sdd1", "ext4", 32, 32);
    invalid.valid = false;
    // A mapped network drive reports the server's file system.
    VolumeFacts remote = volume("\\\\nas\\share", "NTFS", 2000, 1000);
    remote.remote = true;
    QTest::newRow("one disk") << QVector<VolumeFacts>{volume("/dev/nvme0n1p2", "ext4", 931, 600)}
                              << QVector<int>{931, 331, 600, 35};
    QTest::newRow("pseudo, network, remote, loop, read-only, not ready, invalid left out")
        << QVector<VolumeFacts>{volume("/dev/sda1", "ext4", 100, 50),
                                volume("tmpfs", "tmpfs", 16, 16),
                                volume("overlay", "overlay", 100, 50),
                                volume("/dev/loop3", "squashfs", 1, 0),
                                volume("/dev/loop4", "ext4", 10, 10),
                                volume("srv:/x", "nfs4", 1000, 10),
                                volume("//nas/share", "cifs", 1000, 10),
                                readOnly,
                                notReady,
                                invalid,
                                remote}
        << QVector<int>{100, 50, 50, 50};
    QTest::newRow("btrfs subvolumes count once")
        << QVector<VolumeFacts>{volume("/dev/sda2", "btrfs", 500, 200),
                                volume("/dev/sda2", "btrfs", 500, 200),
                                volume("/dev/sdb1", "xfs", 1000, 1000)}
        << QVector<int>{1500, 300, 1200, 20};
    QTest::newRow("nothing counts") << QVector<VolumeFacts>{volume("proc", "proc", 0, 0)}
                                    << QVector<int>{0, 0, 0, 0};
    QTest::newRow("totals wrap at 65536 GB") << QVector<VolumeFacts>{volume("/dev/md0", "ext4", 70000, 60000)}
                                             << QVector<int>{4464, 10000, 60000, 14};
    QTest::newRow("partial gigabytes are truncated")
        << QVector<VolumeFacts>{volume("/dev/sda1", "ext4", 3 - 1.0 / (1 << 30), 1 + 5.0 / (1 << 30))}
        << QVector<int>{2, 1, 1, 50};
}

void TestSensorAuxiliary::diskFiguresCountLocalWritableVolumesOnce()
{
    QFETCH(QVector<VolumeFacts>, volumes);
    QFETCH(QVector<int>, figures);
    const DiskFigures f = SensorAux::diskFigures(volumes);
    QCOMPARE((QVector<int>{f.totalGb, f.usedGb, f.availableGb, f.loadPercent}), figures);
}

void TestSensorAuxiliary::mountTableNeverStatsNetworkMountsAndCountsAPoolOnce()
{
    const QString proc = qEnvironmentVariable("PANELCAST_TEST_DATA") + "/sensors/linux/network-zfs/proc";
    // Total and available GB by mount point; tank's two datasets share the pool's space.
    const QHash<QString, QPair<int, int>> sizes = {{"/", {100, 50}},
                                                   {"/media/my disk", {500, 500}},
                                                   {"/tank/home", {1000, 400}},
                                                   {"/tank/data", {1000, 400}},
                                                   {"/rpool", {200, 100}}};
    QStringList asked;
    const DiskFigures f =
        SensorAux::diskFigures(SensorAux::mountedVolumes(proc, [&](const QString& at, VolumeFacts* v) {
            asked << at;
            v->bytesTotal = qint64(sizes.value(at).first) << 30;
            v->bytesAvailable = qint64(sizes.value(at).second) << 30;
            return sizes.contains(at);
        }));
    // NFS, CIFS, sshfs, autofs, pseudo and loop mounts are never asked.
    QCOMPARE(asked, QStringList({"/", "/tank/home", "/tank/data", "/rpool", "/media/my disk"}));
    QCOMPARE((QVector<int>{f.totalGb, f.usedGb, f.availableGb, f.loadPercent}),
             (QVector<int>{1800, 750, 1050, 41}));
}

// Blocks of five lines, written as UTF-8; a file that cannot be written fails quietly.
void TestSensorAuxiliary::exportFollowsTheLayoutInUtf8()
{
    // Index, sensor, device, class, label, sub-class, type, value, unit.
    const SensorReading disk{0, "", "System", 0, "Disk Total", 0, 130, 1863, "GB"};
    SensorReading die{1,   "CPU [#0]: AMD Ryzen 7 5800X", "AMD Ryzen 7 5800X", 11, "CPU Die", 10, 1, 49.875,
                      "°C"};
    QTemporaryDir dir;
    QVERIFY(SensorExport::writeFile(dir.filePath("out.txt"), SensorExport::text({disk, die})));
    QCOMPARE(TestFiles::readAll(dir.filePath("out.txt")), QByteArray("name:    \n"
                                                                     "type:    130\n"
                                                                     "sensor:  000  System\n"
                                                                     "reading: 000  Disk Total\n"
                                                                     "value:   1863GB\n"
                                                                     "\n"
                                                                     "name:    CPU [#0]: AMD Ryzen 7 5800X\n"
                                                                     "type:    001\n"
                                                                     "sensor:  011  AMD Ryzen 7 5800X\n"
                                                                     "reading: 010  CPU Die\n"
                                                                     "value:   49.875°C\n"
                                                                     "\n"));
    QVERIFY(!SensorExport::writeFile(dir.filePath("no/such/folder/out.txt"), "x"));
    QCOMPARE(SensorExport::text({}), QString());
    // Values take six significant digits.
    const QList<QPair<double, QString>> values = {
        {1234567.0, "1.23457e+06"}, {123456.0, "123456"}, {3.14159265, "3.14159"},
        {0.0000123, "1.23e-05"},    {-2.5, "-2.5"},       {0.0, "0"}};
    for (const auto& value : values) {
        die.value = value.first;
        QVERIFY2(SensorExport::text({die}).contains("\nvalue:   " + value.second + "°C\n"),
                 qPrintable(value.second));
    }
}

QTEST_APPLESS_MAIN(TestSensorAuxiliary)
#include "tst_sensorauxiliary.moc"
