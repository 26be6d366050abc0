// panelcast-ctl theme: themes as text (show, build) and a frame rendered
// without a device or a window (render).
#include "ctlcommand.h"
#include "dispframerenderer.h"
#include "dispscene.h"
#include "dispsensormanager.h"
#include "dispstandardwidgetfactory.h"
#include "editorpanels.h"
#include "themedialogs.h"
#include "themestorage.h"
#include "themetext.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTextStream>
#include <QThread>

#include <memory>

namespace {

const char* const kHelp =
    "usage: panelcast-ctl theme show FILE.theme\n"
    "       panelcast-ctl theme build FILE.json OUTDIR [--media DIR]\n"
    "       panelcast-ctl theme render FILE.theme --size WxH [--sensor-replay FILE] --out FILE.png\n"
    "\n"
    "show    prints a theme file as JSON (docs/theme-format.md), with the media of its res folder.\n"
    "build   writes the theme folder OUTDIR/theme_NAME (NAME.theme and res/) from a JSON theme;\n"
    "        media are taken from the JSON file's folder, or from DIR.\n"
    "render  draws the frame a display of size WxH would receive, upright, as a PNG; readings\n"
    "        come from the machine, or from a recorded snapshot (JSON, as in\n"
    "        tests/data/sensors/replay) with --sensor-replay.\n";

constexpr qint64 kMaxJsonBytes = 16 * 1024 * 1024;
// The display-value table is built on the fourth sensor pass; the fifth
// publishes it to the widgets. Rates need two samples some time apart.
constexpr int kSensorPasses = 5;
constexpr int kSensorPassGapMs = 60;
// Long enough for image decoders to deliver a first frame.
constexpr int kSettleMs = 400;

int fail(const QString& message, int code = 1)
{
    return ctlFail("theme", message, code);
}

int show(const QStringList& arguments)
{
    if (arguments.size() != 1)
        return fail(QStringLiteral("show takes one theme file (see --help)"), 2);
    QJsonObject document;
    QString error;
    if (!ThemeText::readThemeFolder(arguments.first(), document, error))
        return fail(error);
    QTextStream(stdout) << QJsonDocument(document).toJson(QJsonDocument::Indented);
    return 0;
}

bool readJson(const QString& path, QJsonObject& document, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    if (file.size() > kMaxJsonBytes) {
        error = QStringLiteral("%1 is larger than any theme (%2 bytes)").arg(path).arg(file.size());
        return false;
    }
    QJsonParseError parse;
    const QJsonDocument json = QJsonDocument::fromJson(file.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError) {
        error = QStringLiteral("%1: not JSON at offset %2: %3")
                    .arg(path)
                    .arg(parse.offset)
                    .arg(parse.errorString());
        return false;
    }
    if (!json.isObject()) {
        error = QStringLiteral("%1: expected a JSON object").arg(path);
        return false;
    }
    document = json.object();
    return true;
}

int build(QStringList arguments)
{
    QString mediaFolder;
    const int mediaAt = arguments.indexOf(QStringLiteral("--media"));
    if (mediaAt >= 0) {
        if (mediaAt + 1 >= arguments.size())
            return fail(QStringLiteral("--media needs a folder"), 2);
        mediaFolder = arguments.at(mediaAt + 1);
        arguments.erase(arguments.begin() + mediaAt, arguments.begin() + mediaAt + 2);
    }
    if (arguments.size() != 2)
        return fail(QStringLiteral("build takes FILE.json and OUTDIR (see --help)"), 2);
    const QFileInfo json(arguments.at(0));
    if (mediaFolder.isEmpty())
        mediaFolder = json.absolutePath();
    QJsonObject document;
    QString error;
    QString name;
    if (!readJson(json.filePath(), document, error) ||
        !ThemeText::nameOf(document, json.completeBaseName(), name, error))
        return fail(error);
    const QString themeFile =
        ThemeText::buildThemeFolder(document, name, mediaFolder, arguments.at(1), error);
    if (themeFile.isEmpty())
        return fail(json.fileName() + QStringLiteral(": ") + error);
    QTextStream(stdout) << themeFile << '\n';
    return 0;
}

// Waits without blocking the event loop, so queued sensor signals and
// decoded frames arrive.
void settle(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

int render(QStringList arguments)
{
    QSize size;
    QString out;
    QString replay;
    for (int i = 1; i < arguments.size(); i += 2) {
        const QString option = arguments.at(i);
        if (i + 1 >= arguments.size())
            return fail(option + QStringLiteral(" needs a value"), 2);
        const QString value = arguments.at(i + 1);
        if (option == QLatin1String("--size")) {
            const QStringList parts = value.split(QLatin1Char('x'));
            bool wOk = false;
            bool hOk = false;
            size = parts.size() == 2 ? QSize(parts[0].toInt(&wOk), parts[1].toInt(&hOk)) : QSize();
            if (!wOk || !hOk || size.width() < 1 || size.height() < 1 || size.width() > 4096 ||
                size.height() > 4096)
                return fail(QStringLiteral("--size: expected WxH (1..4096), not %1").arg(value), 2);
        } else if (option == QLatin1String("--sensor-replay")) {
            if (!QFileInfo(value).exists())
                return fail(QStringLiteral("--sensor-replay: %1 not found").arg(value));
            replay = value;
            qputenv("PANELCAST_SENSOR_REPLAY", value.toLocal8Bit());
        } else if (option == QLatin1String("--out")) {
            out = value;
        } else {
            return fail(QStringLiteral("unknown option %1 (see --help)").arg(option), 2);
        }
    }
    if (arguments.isEmpty() || size.isEmpty() || out.isEmpty())
        return fail(QStringLiteral("render takes FILE.theme --size WxH --out FILE.png (see --help)"), 2);
    const QString themeFile = QFileInfo(arguments.first()).absoluteFilePath();
    if (!QFileInfo(themeFile).isFile())
        return fail(QStringLiteral("%1 not found").arg(arguments.first()));
    qputenv("PANELCAST_NO_MODAL", "1");

    DispStandardWidgetFactory::install();
    DispSensorManager sensors;
    if (!replay.isEmpty() && !sensors.isInitialised())
        return fail(QStringLiteral("--sensor-replay: %1 is not a sensor recording").arg(replay));
    DispScene scene(&sensors);
    scene.setSceneRect(0, 0, size.width(), size.height());
    EditorPanels panels(PanelEnvironment{&sensors, nullptr});
    panels.attach(&scene, size.width(), size.height());
    const std::unique_ptr<ThemeDialogs> dialogs = ThemeDialogs::create();
    ThemeStorage storage(dialogs.get());
    panels.installInto(storage);
    storage.setDevice(size.width(), size.height(), QString());
    if (!storage.loadTheme(themeFile))
        return fail(QStringLiteral("cannot load %1").arg(themeFile));
    // The passes run here rather than on the manager's thread, so every
    // widget of the loaded theme sees the published table before the frame.
    for (int pass = 0; pass < kSensorPasses; ++pass) {
        settle(kSensorPassGapMs);
        sensors.runLoopPass();
    }
    settle(kSettleMs);
    scene.clearSelection();
    DispFrameRenderer renderer;
    const QImage frame = renderer.render(scene, panels.rotation());
    QDir().mkpath(QFileInfo(out).absolutePath());
    if (!frame.save(out, "PNG"))
        return fail(QStringLiteral("cannot write %1").arg(out));
    QTextStream(stdout) << out << '\n';
    return 0;
}

int runTheme(const QStringList& arguments)
{
    if (arguments.isEmpty() || arguments.contains(QStringLiteral("--help")) ||
        arguments.contains(QStringLiteral("-h"))) {
        QTextStream help(arguments.isEmpty() ? stderr : stdout);
        help << kHelp;
        return arguments.isEmpty() ? 2 : 0;
    }
    const QString verb = arguments.first();
    if (verb == QLatin1String("show"))
        return show(arguments.mid(1));
    if (verb == QLatin1String("build"))
        return build(arguments.mid(1));
    if (verb == QLatin1String("render"))
        return render(arguments.mid(1));
    return fail(QStringLiteral("unknown action %1 (show, build, render)").arg(verb), 2);
}

const CtlRegistration kTheme({"theme", "themes as JSON: show, build a theme folder, render a frame",
                              &runTheme, true});

} // namespace
