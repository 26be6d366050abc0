#include "ctlcommand.h"

#include "dispsensormanager.h"
#ifndef Q_OS_WIN
#include "linuxsensorlibrary.h"
#endif

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTextStream>
#include <QThread>

#include <algorithm>

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define STDOUT_FILENO 1
#else
#include <unistd.h>
#endif

namespace {

// Passes of the bindings report are this far apart, so rates have a
// meaningful interval without making the user wait four seconds.
constexpr int kBindingPassIntervalMs = 250;
constexpr int kWatchIntervalMs = 1000;
// Fan speed readings of motherboard chips.
constexpr int kFanReading = 3;
constexpr int kMotherboardClass = 12;

const char* const kHelp = "usage: panelcast-ctl sensors [--watch | --bindings]\n"
                          "\n"
                          "Prints every sensor reading in the readings export format.\n"
                          "  --watch      print again every second until interrupted\n"
                          "  --bindings   print the 35 display types and the reading each one shows\n"
                          "\n"
                          "$PANELCAST_SENSOR_REPLAY=<file.json> reads a recorded snapshot instead of\n"
                          "this machine's sensors.\n";

QString describeBinding(const DispSensorManager& manager, int type)
{
    SensorBinding binding;
    if (!manager.binding(type, &binding)) {
        return QStringLiteral("(no table)");
    }
    switch (binding.catalogueIndex) {
    case SensorBinding::kNoRecord:
        return QStringLiteral("none - no reading qualifies, shows 0");
    case SensorBinding::kSumOfPrevious:
        return QStringLiteral("sum of types %1 and %2").arg(type - 2).arg(type - 1);
    case SensorBinding::kFixedText:
        return QStringLiteral("fixed text");
    default:
        break;
    }
    SensorReading record;
    if (!manager.reading(binding.catalogueIndex, &record)) {
        return QStringLiteral("#%1 (missing)").arg(binding.catalogueIndex);
    }
    const QString sensor = record.sensorName.isEmpty() ? record.deviceName : record.sensorName;
    return QStringLiteral("#%1 %2 / %3").arg(binding.catalogueIndex).arg(sensor, record.label);
}

QString bindingsText(const DispSensorManager& manager)
{
    QStringList bound;
    int width = QStringLiteral("bound to").size();
    for (int type = 0; type < DisplayTypes::kCount; ++type) {
        bound.append(describeBinding(manager, type));
        width = std::max(width, int(bound.last().size()));
    }
    QString text;
    QTextStream out(&text);
    out << "type  " << QStringLiteral("name").leftJustified(22)
        << QStringLiteral("bound to").leftJustified(width + 2) << "shows\n";
    for (int type = 0; type < DisplayTypes::kCount; ++type) {
        out << QString::number(type).rightJustified(4) << "  "
            << QString::fromLatin1(DisplayTypes::sourceName(type)).leftJustified(22)
            << bound.at(type).leftJustified(width + 2) << manager.displayValue(type).text << '\n';
    }
    out << "\nCPU vendor: " << (manager.cpuVendor() == DispSensorManager::AmdCpu ? "AMD" : "Intel")
        << ", GPUs counted: " << manager.gpuCount() << ", GPU sensor: \"" << manager.gpuSensorName()
        << "\", network sensor: \"" << manager.networkSensorName() << "\"\n";
#ifndef Q_OS_WIN
    // Which rule made each motherboard fan a CPU fan, a pump, a chassis fan or another.
    bool fansHeaded = false;
    for (const SensorReading& record : manager.catalogue()) {
        if (record.readingType != kFanReading || record.sensorClass != kMotherboardClass) {
            continue;
        }
        if (!fansHeaded) {
            out << "\nfans:\n";
            fansHeaded = true;
        }
        // Unlabelled fans are shown as "fanN".
        static const QRegularExpression unlabelled(QStringLiteral("^fan(\\d+)$"));
        const QRegularExpressionMatch number = unlabelled.match(record.label);
        const int fan = number.hasMatch() ? number.captured(1).toInt() : 0;
        const LinuxSensorLibrary::FanRule rule =
            LinuxSensorLibrary::fanRule(record.deviceName, record.label, fan, !number.hasMatch());
        out << "  " << record.deviceName << " / " << record.label << ": sub-class " << record.subClass << ", "
            << rule.reason << '\n';
    }
#endif
    out.flush();
    return text;
}

int runSensors(const QStringList& arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    bool watch = false;
    bool bindings = false;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--watch")) {
            watch = true;
        } else if (argument == QLatin1String("--bindings")) {
            bindings = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            out << kHelp;
            return 0;
        } else {
            err << "panelcast-ctl sensors: unknown option '" << argument << "'\n" << kHelp;
            return 2;
        }
    }
    if (watch && bindings) {
        err << "panelcast-ctl sensors: --watch and --bindings do not go together\n";
        return 2;
    }

    DispSensorManager manager;
    if (!manager.isInitialised()) {
        err << "panelcast-ctl sensors: no sensor source could be started\n";
        return 1;
    }

    if (bindings) {
        // The display-value table is built on the fourth pass.
        for (int pass = 0; pass < 4; ++pass) {
            QThread::msleep(kBindingPassIntervalMs);
            manager.runLoopPass();
        }
        out << bindingsText(manager);
        return 0;
    }

    // Rates need two samples: show the state after one interval.
    QThread::msleep(kWatchIntervalMs);
    manager.runLoopPass();
    out << manager.exportText();
    out.flush();
    const bool terminal = isatty(STDOUT_FILENO);
    while (watch) {
        QThread::msleep(kWatchIntervalMs);
        manager.runLoopPass();
        if (terminal) {
            out << "\033[H\033[2J";
        } else {
            out << "----\n";
        }
        out << manager.exportText();
        out.flush();
    }
    return 0;
}

const CtlRegistration kSensors({"sensors", "print the sensor readings (--watch, --bindings)", &runSensors});

} // namespace
