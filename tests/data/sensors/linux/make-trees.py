#!/usr/bin/env python3
"""Writes the fake /sys, /proc and /run trees the Linux sensor source is
tested on. Run from this folder; the trees are committed beside it."""
import os
import shutil

HERE = os.path.dirname(os.path.abspath(__file__))


class Tree:
    def __init__(self, name):
        self.root = os.path.join(HERE, name)
        shutil.rmtree(self.root, ignore_errors=True)

    def file(self, path, content):
        full = os.path.join(self.root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w") as f:
            f.write(str(content) + ("" if str(content).endswith("\n") else "\n"))

    def link(self, path, target):
        full = os.path.join(self.root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        os.symlink(target, full)

    def rel(self, frm, to):
        return os.path.relpath(os.path.join(self.root, to), os.path.dirname(os.path.join(self.root, frm)))

    def hwmon(self, number, device, name, attrs):
        """A chip under sys/devices/<device>/hwmon/hwmonN, linked from class/hwmon."""
        base = f"sys/devices/{device}/hwmon/hwmon{number}"
        self.file(f"{base}/name", name)
        for k, v in attrs.items():
            self.file(f"{base}/{k}", v)
        self.link(f"{base}/device", self.rel(f"{base}/device", f"sys/devices/{device}"))
        self.link(f"sys/class/hwmon/hwmon{number}", self.rel(f"sys/class/hwmon/hwmon{number}", base))

    def hwmon_on_device(self, number, device, name, attrs):
        """Old kernels: hwmonN holds only the device link; the attributes
        and the name sit on the device itself."""
        base = f"sys/devices/{device}/hwmon/hwmon{number}"
        self.file(f"sys/devices/{device}/name", name)
        for k, v in attrs.items():
            self.file(f"sys/devices/{device}/{k}", v)
        self.link(f"{base}/device", self.rel(f"{base}/device", f"sys/devices/{device}"))
        self.link(f"sys/class/hwmon/hwmon{number}", self.rel(f"sys/class/hwmon/hwmon{number}", base))

    def pci(self, parent, address, pci_class, vendor, device, driver, boot_vga=None, runtime="active",
            control="on"):
        base = f"sys/devices/{parent}/{address}" if parent else f"sys/devices/pci0000:00/{address}"
        self.file(f"{base}/class", pci_class)
        self.file(f"{base}/vendor", vendor)
        self.file(f"{base}/device", device)
        self.file(f"{base}/power/runtime_status", runtime)
        self.file(f"{base}/power/control", control)
        if boot_vga is not None:
            self.file(f"{base}/boot_vga", boot_vga)
        self.link(f"{base}/driver", self.rel(f"{base}/driver", f"sys/bus/pci/drivers/{driver}"))
        self.link(f"sys/bus/pci/devices/{address}", self.rel(f"sys/bus/pci/devices/{address}", base))
        return base[len("sys/devices/"):]

    def drm(self, card, device, attrs):
        base = f"sys/devices/{device}/drm/{card}"
        for k, v in attrs.items():
            self.file(f"{base}/{k}", v)
        self.link(f"{base}/device", self.rel(f"{base}/device", f"sys/devices/{device}"))
        self.link(f"sys/class/drm/{card}", self.rel(f"sys/class/drm/{card}", base))

    def net(self, name, device, rx, tx):
        base = f"sys/devices/{device or 'virtual'}/net/{name}"
        self.file(f"{base}/statistics/rx_bytes", rx)
        self.file(f"{base}/statistics/tx_bytes", tx)
        if device:
            self.link(f"{base}/device", self.rel(f"{base}/device", f"sys/devices/{device}"))
        self.link(f"sys/class/net/{name}", self.rel(f"sys/class/net/{name}", base))

    def cpus(self, count, offline=(), policies=None):
        for n in range(count):
            self.file(f"sys/devices/system/cpu/cpu{n}/online", "0" if n in offline else "1")
        for n, (cpus, khz) in enumerate(policies or []):
            self.file(f"sys/devices/system/cpu/cpufreq/policy{n}/affected_cpus", " ".join(map(str, cpus)))
            self.file(f"sys/devices/system/cpu/cpufreq/policy{n}/scaling_cur_freq", khz)

    def proc(self, model, mhz, stat, total_kb, available_kb, route_if):
        info = ""
        for n, f in enumerate(mhz):
            info += f"processor\t: {n}\nvendor_id\t: x\nmodel name\t: {model}\ncpu MHz\t\t: {f:.3f}\n\n"
        self.file("proc/cpuinfo", info)
        self.file("proc/stat", "cpu  " + " ".join(map(str, stat)) + "\ncpu0 1 2 3 4 5 6 7 8 0 0\nintr 1\n")
        self.file("proc/meminfo", f"MemTotal:       {total_kb} kB\nMemFree:         1000 kB\n"
                                  f"MemAvailable:   {available_kb} kB\nBuffers:          10 kB\n")
        self.file("proc/net/route",
                  "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
                  f"{route_if}\t0000A8C0\t00000000\t0001\t0\t0\t100\t00FFFFFF\t0\t0\t0\n"
                  f"{route_if}\t00000000\t0100A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n")


def intel_desktop():
    t = Tree("intel-desktop")
    t.proc("Intel(R) Core(TM) i7-9700K CPU @ 3.60GHz", [800.0] * 4, [1000, 0, 500, 8000, 500, 0, 0, 0, 0, 0],
           32768000, 18560000, "enp5s0")
    t.cpus(4, offline=[3], policies=[([0], 4600000), ([1], 4700000), ([2], 4500000), ([3], 800000)])
    t.hwmon(0, "platform/coretemp.0", "coretemp", {
        "temp1_label": "Package id 0", "temp1_input": 52000,
        "temp2_label": "Core 0", "temp2_input": 50000, "temp3_label": "Core 1", "temp3_input": 51000})
    t.hwmon(1, "platform/nct6775.656", "nct6798", {"fan1_input": 1100, "fan2_input": 800, "fan3_input": 0,
                                                    "temp1_input": 30000})
    t.hwmon(2, "platform/asus-ec-sensors", "asusec", {
        "fan1_label": "AIO Pump", "fan1_input": 2400, "fan2_label": "Chassis Fan", "fan2_input": 900,
        "fan3_label": "CPU_Fan", "fan3_input": 1200})
    nvme = "pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0"
    t.file(f"sys/devices/{nvme}/model", "Samsung SSD 970 EVO Plus 1TB            ")
    t.file(f"sys/devices/{nvme}/power/runtime_status", "active")
    t.hwmon(3, nvme, "nvme", {"temp1_label": "Composite", "temp1_input": 38850})
    t.file("sys/devices/virtual/powercap/intel-rapl/intel-rapl:0/name", "package-0")
    t.file("sys/devices/virtual/powercap/intel-rapl/intel-rapl:0/energy_uj", 262143000000)
    t.file("sys/devices/virtual/powercap/intel-rapl/intel-rapl:0/max_energy_range_uj", 262143328850)
    t.link("sys/class/powercap/intel-rapl:0",
           t.rel("sys/class/powercap/intel-rapl:0", "sys/devices/virtual/powercap/intel-rapl/intel-rapl:0"))
    igpu = t.pci(None, "0000:00:02.0", "0x030000", "0x8086", "0x3e98", "i915", boot_vga="0")
    t.drm("card0", igpu, {"gt_act_freq_mhz": 350})
    dgpu = t.pci("pci0000:00/0000:00:01.0", "0000:01:00.0", "0x030000", "0x10de", "0x2484", "nvidia",
                 boot_vga="1")
    t.pci(None, "0000:00:1f.3", "0x040300", "0x8086", "0xa348", "snd_hda_intel")
    t.net("enp5s0", "pci0000:00/0000:00:1c.0/0000:05:00.0", 2147483648, 536870912)
    t.net("wlp4s0", "pci0000:00/0000:00:1c.4/0000:04:00.0", 0, 0)
    t.net("lo", None, 999999, 999999)
    t.net("docker0", None, 5000, 5000)
    # One DRM client of the integrated GPU and a descriptor that is not DRM.
    t.link("proc/4242/fd/5", "/dev/dri/renderD128")
    t.file("proc/4242/fdinfo/5", "pos:\t0\nflags:\t02100002\ndrm-driver:\ti915\ndrm-pdev:\t0000:00:02.0\n"
                                 "drm-client-id:\t7\ndrm-engine-render:\t1000000000 ns\n"
                                 "drm-engine-video:\t0 ns\n")
    t.link("proc/4242/fd/6", "/dev/dri/renderD128")
    t.file("proc/4242/fdinfo/6", "pos:\t0\ndrm-pdev:\t0000:00:02.0\ndrm-client-id:\t7\n"
                                 "drm-engine-render:\t1000000000 ns\n")
    t.link("proc/4242/fd/1", "/dev/pts/0")
    t.file("proc/4242/fdinfo/1", "pos:\t0\n")
    t.file("run/udev/data/+dmi:id", "I:1\nE:MEMORY_DEVICE_0_PRESENT=0\nE:MEMORY_DEVICE_0_MANUFACTURER=Unknown\n"
                                    "E:MEMORY_DEVICE_1_PRESENT=1\nE:MEMORY_DEVICE_1_MANUFACTURER=Corsair\n"
                                    "E:MEMORY_DEVICE_1_SIZE=17179869184\n")
    return t


def amd_desktop(name, numbers):
    t = Tree(name)
    t.proc("AMD Ryzen 7 5800X 8-Core Processor", [3600.0, 3700.0], [100, 0, 50, 800, 50, 0, 0, 0, 0, 0],
           32768000, 23552000, "eno1")
    t.cpus(2, policies=[([0, 1], 4500000)])
    t.hwmon(numbers[0], "pci0000:00/0000:00:18.3", "k10temp", {
        "temp1_label": "Tctl", "temp1_input": 60000, "temp3_label": "Tdie", "temp3_input": 50000})
    gpu = t.pci("pci0000:00/0000:00:03.1", "0000:0b:00.0", "0x030000", "0x1002", "0x73bf", "amdgpu",
                boot_vga="1")
    t.hwmon(numbers[1], gpu, "amdgpu", {
        "temp1_label": "edge", "temp1_input": 58000, "temp2_label": "junction", "temp2_input": 72000,
        "freq1_label": "sclk", "freq1_input": 2250000000, "freq2_label": "mclk", "freq2_input": 1000000000,
        "power1_average": 210000000, "fan1_input": 1300, "in0_label": "vddgfx", "in0_input": 950})
    t.file(f"sys/devices/{gpu}/gpu_busy_percent", 64)
    t.file(f"sys/devices/{gpu}/mem_busy_percent", 20)
    t.file(f"sys/devices/{gpu}/mem_info_vram_used", 3250585600)
    t.file(f"sys/devices/{gpu}/mem_info_vram_total", 17163091968)
    t.drm("card1", gpu, {})
    # A second card asleep: nothing of it may be read.
    t.pci("pci0000:00/0000:00:01.1", "0000:0c:00.0", "0x030200", "0x10de", "0x2204", "nvidia", boot_vga="0",
          runtime="suspended", control="auto")
    t.hwmon(numbers[2], "platform/it87.2608", "it8688", {"fan1_input": 900, "fan2_input": 700, "fan3_input": 0})
    for n, (dev, model, temp, runtime) in enumerate([("sda", "WDC WD40EFRX-68N", 33000, "active"),
                                                     ("sdb", "ST2000DM008-2FR1", 29000, "suspended")]):
        scsi = f"pci0000:00/0000:00:17.0/ata{n + 1}/host{n}/target{n}:0:0/{n}:0:0:0"
        t.file(f"sys/devices/{scsi}/model", model)
        t.file(f"sys/devices/{scsi}/power/runtime_status", runtime)
        t.file(f"sys/devices/{scsi}/block/{dev}/dev", f"8:{16 * n}")
        t.hwmon(numbers[3 + n], scsi, "drivetemp", {"temp1_input": temp})
    t.file("sys/devices/virtual/powercap/intel-rapl/intel-rapl:0/name", "package-0")
    t.file("sys/devices/virtual/powercap/intel-rapl/intel-rapl:0/energy_uj", 5000000)
    t.file("sys/devices/virtual/powercap/intel-rapl/intel-rapl:0/max_energy_range_uj", 65532610987)
    t.link("sys/class/powercap/intel-rapl:0",
           t.rel("sys/class/powercap/intel-rapl:0", "sys/devices/virtual/powercap/intel-rapl/intel-rapl:0"))
    t.net("eno1", "pci0000:00/0000:00:1c.0/0000:06:00.0", 8589934592, 1073741824)
    t.net("lo", None, 1, 1)
    return t


def intel_laptop():
    t = Tree("intel-laptop")
    t.proc("11th Gen Intel(R) Core(TM) i7-1165G7 @ 2.80GHz", [1800.0, 1900.5, 2000.0, 2100.0],
           [400, 0, 100, 1500, 0, 0, 0, 0, 0, 0], 16000000, 9800000, "wlp0s20f3")
    # No cpufreq policies: clocks come from /proc/cpuinfo.
    t.hwmon(4, "platform/coretemp.0", "coretemp", {
        "temp2_label": "Core 0", "temp2_input": 55000, "temp3_label": "Core 1", "temp3_input": 61000})
    t.file("sys/class/thermal/thermal_zone0/type", "acpitz")
    t.file("sys/class/thermal/thermal_zone0/temp", 40000)
    t.file("sys/class/thermal/thermal_zone1/type", "x86_pkg_temp")
    t.file("sys/class/thermal/thermal_zone1/temp", 63000)
    t.hwmon_on_device(6, "platform/thinkpad_hwmon", "thinkpad", {"fan1_input": 2900})
    # Old-kernel NVMe layout: the hwmon device is the PCI function.
    nvme_pci = "pci0000:00/0000:00:06.0/0000:02:00.0"
    t.file(f"sys/devices/{nvme_pci}/nvme/nvme0/model", "WDC PC SN730 SDBQNTY-512G")
    t.file(f"sys/devices/{nvme_pci}/power/runtime_status", "active")
    t.hwmon(2, nvme_pci, "nvme", {"temp1_label": "Composite", "temp1_input": 44000})
    # energy_uj is root-only on Linux 5.10 and later: a link nobody can open
    # stands in for it, since the tests may run as root.
    t.file("sys/devices/virtual/powercap/intel-rapl/intel-rapl:0/name", "package-0")
    t.link("sys/devices/virtual/powercap/intel-rapl/intel-rapl:0/energy_uj", "root-only-energy_uj")
    t.link("sys/class/powercap/intel-rapl:0",
           t.rel("sys/class/powercap/intel-rapl:0", "sys/devices/virtual/powercap/intel-rapl/intel-rapl:0"))
    igpu = t.pci(None, "0000:00:02.0", "0x030000", "0x8086", "0x9a49", "xe", boot_vga="1")
    t.file(f"sys/devices/{igpu}/tile0/gt0/freq0/act_freq", 1300)
    t.drm("card0", igpu, {})
    t.net("wlp0s20f3", "pci0000:00/0000:00:14.3", 734003200, 94371840)
    t.net("lo", None, 1, 1)
    return t


def amd_arc():
    """An AMD desktop with an Intel Arc card on the xe driver, and MangoHud logging."""
    t = Tree("amd-arc")
    t.proc("AMD Ryzen 5 7600 6-Core Processor", [3800.0], [100, 0, 50, 800, 50, 0, 0, 0, 0, 0],
           16000000, 8000000, "enp6s0")
    t.hwmon(1, "pci0000:00/0000:00:18.3", "k10temp", {"temp1_label": "Tctl", "temp1_input": 45250})
    gpu = t.pci("pci0000:00/0000:00:01.1", "0000:03:00.0", "0x030000", "0x8086", "0x56a0", "xe", boot_vga="1")
    t.hwmon(2, gpu, "xe", {"temp2_label": "pkg", "temp2_input": 49000, "energy1_label": "card",
                           "energy1_input": 7000000, "energy2_label": "pkg", "energy2_input": 3000000,
                           "fan1_input": 850})
    t.file(f"sys/devices/{gpu}/tile0/gt0/freq0/act_freq", 2400)
    t.drm("card0", gpu, {})
    t.link("proc/777/fd/9", "/dev/dri/renderD128")
    t.file("proc/777/fdinfo/9", "drm-driver:\txe\ndrm-pdev:\t0000:03:00.0\ndrm-client-id:\t3\n"
                                "drm-total-vram0:\t512 MiB\ndrm-engine-rcs:\t100 ns\n")
    t.net("enp6s0", "pci0000:00/0000:00:1c.0/0000:06:00.0", 1048576, 0)
    t.file("mangohud/Game_2026-12-05_10-00-00.csv",
           "os,cpu,gpu,ram,kernel,driver,cpuscheduler\nDebian,Ryzen,Arc,16,6.1,xe,\n"
           "fps,frametime,cpu_load,gpu_load\n143.5,6.9,20,80\n144.25,6.93,21,81\n")
    return t


if __name__ == "__main__":
    intel_desktop()
    amd_desktop("amd-desktop", [0, 1, 2, 3, 4])
    # The same machine after a boot that numbered the chips differently.
    amd_desktop("amd-desktop-renumbered", [4, 0, 3, 1, 2])
    intel_laptop()
    amd_arc()
