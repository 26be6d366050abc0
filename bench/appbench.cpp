// panelcast-bench-app: the whole application streaming to panelcast-emu.
//
// Without arguments (or with [repeats] [seconds]) it runs every case below,
// each in a fresh process of its own, prints a Markdown table and writes it to
// bench/results/app-<date>.md. One case:
//   panelcast-bench-app run DISPLAYS WxH static|changing|dashboard SECONDS
// starts DISPLAYS emulated displays, then the application's main window (as
// main() builds it) in this process, lets it settle, measures, and prints one
// "RESULT ..." line.

#include "benchstats.h"
#include "disphomepage.h"
#include "dispmainwindow.h"
#include "dispstandardwidgetfactory.h"
#include "disptextwidget.h"
#include "disptimewidget.h"
#include "processmemory.h"
#include "resourceinit.h"
#include "support/emuprocess.h"
#include "transport.h"

#include <QApplication>
#include <QDate>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGraphicsSimpleTextItem>
#include <QProcess>
#include <QSerialPort>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kSettleMs = 3000;
constexpr int kLatencySamples = 20;
constexpr int kQuietMs = 300;

struct Case
{
    int displays;
    QSize size;
    QString theme;
};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// user + system CPU seconds of one /proc stat file (process or thread).
double cpuSeconds(const QString& statPath)
{
    const QByteArray stat = readFile(statPath);
    // Fields after the command name, which is in parentheses and may hold spaces.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13) {
        return 0;
    }
    return double(fields[11].toLongLong() + fields[12].toLongLong()) / double(sysconf(_SC_CLK_TCK));
}

QString statusField(const QString& name)
{
    for (const QByteArray& line : readFile(QStringLiteral("/proc/self/status")).split('\n')) {
        if (line.startsWith(name.toLatin1() + ':')) {
            return QString::fromLatin1(line.mid(name.size() + 1)).simplified();
        }
    }
    return QString();
}

// CPU seconds per thread name, the GUI thread (the process's own id) as "GUI".
std::map<QString, double> threadSeconds()
{
    std::map<QString, double> seconds;
    const QString self = QString::number(getpid());
    const QStringList tasks =
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& task : tasks) {
        const QString dir = QStringLiteral("/proc/self/task/") + task;
        const QString name =
            task == self ? QStringLiteral("GUI") : QString::fromLatin1(readFile(dir + "/comm")).trimmed();
        seconds[name] += cpuSeconds(dir + "/stat");
    }
    return seconds;
}

void runEventsFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool runEventsUntil(const std::function<bool()>& done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// Scene change to frame written to the port, on the first display: a text
// item changes after a quiet period; the change is in the first picture
// rendered after it, and is on the wire once the port has written the cycle
// of that picture.
std::vector<double> measureLatency(DispScene* scene)
{
    Transport* transport = scene->transport();
    auto* port = transport->adapter().findChild<QSerialPort*>();
    auto* marker = new QGraphicsSimpleTextItem;
    marker->setFont(QFont(QStringLiteral("DejaVu Sans"), 40));
    marker->setPos(40, 40);
    scene->addItem(marker);
    runEventsFor(kQuietMs);

    std::vector<double> samples;
    QElapsedTimer clock;
    quint64 target = 0;
    bool done = false;
    qint64 changedAt = 0;
    qint64 imageKey = 0;
    QMetaObject::Connection written;
    if (port != nullptr) {
        written = QObject::connect(port, &QSerialPort::bytesWritten, [&] {
            if (target != 0 && !done && transport->writtenImageNumber() >= target) {
                samples.push_back(double(clock.nsecsElapsed() - changedAt) / 1e6);
                done = true;
            }
        });
    }
    clock.start();
    for (int i = 0; i < kLatencySamples && port != nullptr; ++i) {
        runEventsFor(kQuietMs);
        target = 0;
        done = false;
        imageKey = scene->deviceFrame().cacheKey();
        changedAt = clock.nsecsElapsed();
        marker->setText(QString::number(i));
        runEventsUntil(
            [&] {
                if (target == 0 && scene->deviceFrame().cacheKey() != imageKey) {
                    target = transport->sentImageNumber();
                }
                return done;
            },
            2000);
    }
    QObject::disconnect(written);
    delete marker;
    return samples;
}

void addChangingWidgets(DispScene* scene)
{
    if (DispTimeWidget* time = scene->addTimeWidget(QStringLiteral("bench"), QPointF(20, 20))) {
        Q_UNUSED(time)
    }
    if (DispTextWidget* text = scene->addTextWidget(QStringLiteral("bench"), QPointF(10, 200))) {
        text->setPlainText(QStringLiteral("Panelcast streams this scrolling text to the panel"));
        text->setEffect(DispTextWidget::EffectLeft);
    }
    scene->clearSelection();
}

int runCase(int argc, char** argv)
{
    const int displays = QByteArray(argv[2]).toInt();
    const QList<QByteArray> sizeParts = QByteArray(argv[3]).split('x');
    const QString theme = QString::fromLatin1(argv[4]);
    const int seconds = QByteArray(argv[5]).toInt();

    // As main() starts.
    Panelcast::declineHugePages();
    QTemporaryDir data;
    qputenv("PANELCAST_DATA_DIR", data.path().toLocal8Bit());
    qputenv("PANELCAST_NO_MODAL", "1");
    if (theme == QLatin1String("dashboard")) {
        // A fresh user's first start: the first official theme of the size,
        // its readings replayed from a recorded desktop.
        qputenv("PANELCAST_OFFICIAL_THEMES", PANELCAST_BENCH_OFFICIAL_THEMES);
        qputenv("PANELCAST_SENSOR_REPLAY",
                PANELCAST_SOURCE_DIR "/tests/data/sensors/replay/intel-nvidia.json");
    }
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    qputenv("QT_SCALE_FACTOR", "1");
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    std::vector<std::unique_ptr<EmuProcess>> emulators;
    QStringList entries;
    for (int k = 0; k < displays; ++k) {
        auto emu = std::make_unique<EmuProcess>();
        if (!emu->start({QStringLiteral("--size"), QString::fromLatin1(argv[3]), QStringLiteral("--link"),
                         data.filePath(QStringLiteral("tty%1").arg(k))})) {
            QTextStream(stderr) << "panelcast-bench-app: " << emu->errorText() << "\n";
            return 1;
        }
        entries << emu->virtualPortEntry();
        emulators.push_back(std::move(emu));
    }
    qputenv("PANELCAST_VIRTUAL_PORTS", entries.join(';').toLocal8Bit());

    // As main() builds the application.
    initPanelcastResources();
    DispStandardWidgetFactory::install();
    DispMainWIndow window;
    DispHomePage* home = window.homePage();
    const bool ready = runEventsUntil(
        [&] {
            const auto& list = home->displayDevices();
            return int(list.size()) == displays &&
                   std::all_of(list.begin(), list.end(), [](const auto& c) { return c->identified(); });
        },
        20000);
    if (!ready) {
        QTextStream(stderr) << "panelcast-bench-app: the displays were not identified\n";
        return 1;
    }
    if (theme == QLatin1String("changing")) {
        for (const auto& context : home->displayDevices()) {
            addChangingWidgets(context->scene);
        }
    }
    runEventsFor(kSettleMs);

    // Frames decoded per second, as each emulator reports once a second.
    auto rates = std::vector<std::vector<int>>(size_t(displays));
    bool counting = false;
    for (int k = 0; k < displays; ++k) {
        QProcess& process = emulators[size_t(k)]->process();
        process.readAllStandardOutput();
        QObject::connect(&process, &QProcess::readyReadStandardOutput, [&rates, &process, &counting, k] {
            while (process.canReadLine()) {
                const QByteArray line = process.readLine().trimmed();
                if (counting && line.startsWith("fps: ")) {
                    rates[size_t(k)].push_back(line.mid(5).toInt());
                }
            }
        });
    }
    runEventsFor(1100); // the first fps line may cover the settling second
    counting = true;
    std::vector<quint64> writtenBefore;
    for (const auto& context : home->displayDevices()) {
        writtenBefore.push_back(context->transport()->writtenImageNumber());
    }
    const std::map<QString, double> threadsBefore = threadSeconds();
    const double cpuBefore = cpuSeconds(QStringLiteral("/proc/self/stat"));
    QElapsedTimer wall;
    wall.start();
    runEventsFor(seconds * 1000);
    const double cpuAfter = cpuSeconds(QStringLiteral("/proc/self/stat"));
    const double elapsed = double(wall.nsecsElapsed()) / 1e9;
    const std::map<QString, double> threadsAfter = threadSeconds();
    counting = false;
    // Frames the application handed to each port per second, beside what the
    // emulators decoded: tells a slow application from a starved emulator.
    double writtenMin = 1e9;
    double writtenSum = 0;
    for (size_t k = 0; k < writtenBefore.size(); ++k) {
        const quint64 written =
            home->displayDevices()[k]->transport()->writtenImageNumber() - writtenBefore[k];
        writtenMin = std::min(writtenMin, double(written) / elapsed);
        writtenSum += double(written) / elapsed;
    }
    const QString rss = statusField(QStringLiteral("VmRSS"));
    const QString threads = statusField(QStringLiteral("Threads"));

    double fpsMin = 1e9;
    double fpsSum = 0;
    for (const auto& list : rates) {
        double sum = 0;
        for (int value : list) {
            sum += value;
        }
        const double mean = list.empty() ? 0 : sum / double(list.size());
        fpsMin = std::min(fpsMin, mean);
        fpsSum += mean;
    }
    double guiSeconds = 0;
    double transportSeconds = 0;
    for (const auto& entry : threadsAfter) {
        const auto before = threadsBefore.find(entry.first);
        const double used = entry.second - (before != threadsBefore.end() ? before->second : 0);
        if (entry.first == QLatin1String("GUI")) {
            guiSeconds += used;
        } else if (entry.first.startsWith(QLatin1String("Transport"))) {
            transportSeconds += used;
        }
    }

    const std::vector<double> latency = measureLatency(home->displayDevices().front()->scene);
    QStringList latencyText;
    for (double value : latency) {
        latencyText << QString::number(value, 'f', 2);
    }
    QTextStream(stdout) << "RESULT writtenMin=" << writtenMin << " writtenSum=" << writtenSum
                        << " fpsMin=" << fpsMin << " fpsMean=" << fpsSum / displays
                        << " cpu=" << 100.0 * (cpuAfter - cpuBefore) / elapsed
                        << " gui=" << 100.0 * guiSeconds / elapsed
                        << " transport=" << 100.0 * transportSeconds / elapsed
                        << " rss=" << rss.section(' ', 0, 0).toDouble() / 1024.0 << " threads=" << threads
                        << " latency=" << latencyText.join(',') << "\n";
    home->releaseAllDevices();
    return 0;
}

struct Result
{
    std::map<QString, QString> values;
    double number(const QString& key) const
    {
        const auto it = values.find(key);
        return it == values.end() ? 0 : it->second.toDouble();
    }
};

QString runChild(const QString& program, const Case& c, int seconds, Result* result)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(program, {QStringLiteral("run"), QString::number(c.displays),
                          QStringLiteral("%1x%2").arg(c.size.width()).arg(c.size.height()), c.theme,
                          QString::number(seconds)});
    if (!child.waitForFinished(120000 + seconds * 1000)) {
        child.kill();
        child.waitForFinished();
        return QStringLiteral("timed out");
    }
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        if (line.startsWith("RESULT ")) {
            for (const QByteArray& field : line.mid(7).split(' ')) {
                const int eq = field.indexOf('=');
                result->values[QString::fromLatin1(field.left(eq))] = QString::fromLatin1(field.mid(eq + 1));
            }
            return QString();
        }
    }
    return QString::fromLocal8Bit(child.readAllStandardError()).trimmed().section('\n', -1);
}

QString commandOutput(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

int runAll(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int repeats = argc > 1 ? qMax(1, QByteArray(argv[1]).toInt()) : 3;
    const int seconds = argc > 2 ? qMax(2, QByteArray(argv[2]).toInt()) : 10;
    if (!qEnvironmentVariableIsSet("PANELCAST_EMU")) {
        qputenv("PANELCAST_EMU", PANELCAST_EMU_PATH);
    }
    const QList<Case> cases = {
        {1, QSize(480, 1920), QStringLiteral("static")},
        {4, QSize(480, 1920), QStringLiteral("static")},
        {1, QSize(1080, 1920), QStringLiteral("static")},
        {1, QSize(480, 1920), QStringLiteral("changing")},
        {4, QSize(480, 1920), QStringLiteral("changing")},
        {1, QSize(1080, 1920), QStringLiteral("changing")},
        {1, QSize(480, 1920), QStringLiteral("dashboard")},
        {4, QSize(480, 1920), QStringLiteral("dashboard")},
    };

    const QString commit = commandOutput(
        QStringLiteral("git"), {QStringLiteral("-C"), QStringLiteral(PANELCAST_SOURCE_DIR),
                                QStringLiteral("log"), QStringLiteral("-1"), QStringLiteral("--format=%h")});
    const QString load = QString::fromLatin1(readFile(QStringLiteral("/proc/loadavg"))).section(' ', 0, 0);
    QString text =
        QStringLiteral("# The application streaming, %1\n\nCommit %2, %3 (%4 cores, load average %5 "
                       "at start). %6 runs of %7 s per case, each in its own process; CPU is "
                       "user+system time from /proc per wall second, in % of one core (median "
                       "of the runs, lowest and highest in brackets). Latency: scene change to its "
                       "frame written to the port, %8 changes per run after %9 ms of quiet.\n\n")
            .arg(QDate::currentDate().toString(Qt::ISODate), commit, QSysInfo::prettyProductName())
            .arg(QThread::idealThreadCount())
            .arg(load)
            .arg(repeats)
            .arg(seconds)
            .arg(kLatencySamples)
            .arg(kQuietMs);
    text += QStringLiteral(
        "| Displays | Panel | Theme | Frames written per s, lowest display | fps at emulator, lowest | CPU % "
        "of one core | "
        "CPU ms per frame | GUI thread % | Transport threads % | Resident MB | Threads | Change to wire "
        "median ms | p95 ms |\n|---:|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    QTextStream out(stdout);
    out << text;
    out.flush();
    for (const Case& c : cases) {
        std::vector<double> cpu, perFrame, gui, transport, latency;
        double fpsMin = 1e9;
        double writtenMin = 1e9;
        double rss = 0;
        QString threads;
        QString failure;
        for (int run = 0; run < repeats; ++run) {
            Result result;
            const QString error = runChild(QCoreApplication::applicationFilePath(), c, seconds, &result);
            if (!error.isEmpty()) {
                failure = error;
                continue;
            }
            cpu.push_back(result.number(QStringLiteral("cpu")));
            // CPU time per frame handed to a port: comparable even when other
            // work on the machine starves the process of frames.
            perFrame.push_back(10.0 * cpu.back() / qMax(0.1, result.number(QStringLiteral("writtenSum"))));
            gui.push_back(result.number(QStringLiteral("gui")));
            transport.push_back(result.number(QStringLiteral("transport")));
            fpsMin = std::min(fpsMin, result.number(QStringLiteral("fpsMin")));
            writtenMin = std::min(writtenMin, result.number(QStringLiteral("writtenMin")));
            rss = std::max(rss, result.number(QStringLiteral("rss")));
            threads = result.values[QStringLiteral("threads")];
            for (const QString& value :
                 result.values[QStringLiteral("latency")].split(',', Qt::SkipEmptyParts)) {
                latency.push_back(value.toDouble());
            }
        }
        QString row;
        if (cpu.empty()) {
            row = QStringLiteral("| %1 | %2x%3 | %4 | failed: %5 |\n")
                      .arg(c.displays)
                      .arg(c.size.width())
                      .arg(c.size.height())
                      .arg(c.theme, failure);
        } else {
            const auto range = std::minmax_element(cpu.begin(), cpu.end());
            row =
                QStringLiteral(
                    "| %1 | %2x%3 | %4 | %5 | %6 | %7 (%8-%9) | %10 | %11 | %12 | %13 | %14 | %15 | %16 |\n")
                    .arg(c.displays)
                    .arg(c.size.width())
                    .arg(c.size.height())
                    .arg(c.theme)
                    .arg(writtenMin, 0, 'f', 1)
                    .arg(fpsMin, 0, 'f', 1)
                    .arg(percentile(cpu, 0.5), 0, 'f', 1)
                    .arg(*range.first, 0, 'f', 1)
                    .arg(*range.second, 0, 'f', 1)
                    .arg(percentile(perFrame, 0.5), 0, 'f', 2)
                    .arg(percentile(gui, 0.5), 0, 'f', 1)
                    .arg(percentile(transport, 0.5), 0, 'f', 1)
                    .arg(rss, 0, 'f', 0)
                    .arg(threads)
                    .arg(percentile(latency, 0.5), 0, 'f', 1)
                    .arg(percentile(latency, 0.95), 0, 'f', 1);
        }
        out << row;
        out.flush();
        text += row;
    }

    const QString dir = QStringLiteral(PANELCAST_BENCH_RESULTS_DIR);
    QDir().mkpath(dir);
    QFile file(dir + "/app-" + QDate::currentDate().toString(Qt::ISODate) + "-" + commit + ".md");
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        file.write(text.toUtf8());
        out << "\nwritten to " << file.fileName() << "\n";
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 6 && qstrcmp(argv[1], "run") == 0) {
        return runCase(argc, argv);
    }
    return runAll(argc, argv);
}
