#include "framepipelinebench.h"
#include "linklatencybench.h"
#include "mediabench.h"
#include "readoutrenderbench.h"
#include "scenerenderbench.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QSysInfo>
#include <QTextStream>
#include <QThread>

extern "C" {
#include <libavutil/log.h>
}

// panelcast-bench [frames]: measures the frame pipeline at the common panel
// sizes, then the whole link to panelcast-emu ($PANELCAST_EMU, else the one
// built beside this program), the scene's frame, the media decoder and the
// readout widgets, prints Markdown tables and writes them to
// bench/results/<date>.md. "panelcast-bench media [frames]" measures and
// prints only the media rows; "panelcast-bench readouts [frames]" only the
// readout widgets' tables.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // Scenes hold widgets, so the bench runs a widget application.
    QApplication app(argc, argv);
    av_log_set_level(AV_LOG_ERROR);
    QLoggingCategory::setFilterRules(QStringLiteral("panelcast.*.debug=false"));

    const bool mediaOnly = argc > 1 && QByteArray(argv[1]) == "media";
    const bool readoutsOnly = argc > 1 && QByteArray(argv[1]) == "readouts";
    const int framesArg = mediaOnly || readoutsOnly ? 2 : 1;
    const int frames = argc > framesArg ? qMax(10, QByteArray(argv[framesArg]).toInt()) : 150;
    const QString emulator = qEnvironmentVariableIsSet("PANELCAST_EMU")
                                 ? qEnvironmentVariable("PANELCAST_EMU")
                                 : QStringLiteral(PANELCAST_EMU_PATH);

    QString readoutText;
    if (!mediaOnly) {
        readoutText =
            QStringLiteral("\nThe readout widgets: each kind alone on a 480x1920 scene (rendered on white as "
                           "the frame pump does), then a dashboard streamed through the encoder at 30 fps "
                           "for 10 s.\n\n") +
            ReadoutRenderBench::table(ReadoutRenderBench::measureKinds(frames),
                                      ReadoutRenderBench::measureDashboard(10));
    }
    if (readoutsOnly) {
        QTextStream(stdout) << readoutText;
        return 0;
    }

    MediaBench media;
    QString mediaText;
    QString mediaError;
    if (media.prepare(&mediaError)) {
        const QList<MediaBench::DecodeRow> decodeRows = {media.measureDecode(true, frames),
                                                         media.measureDecode(false, frames)};
        mediaText =
            MediaBench::tables(decodeRows, media.measureFrame(frames), media.measureLive(emulator, 10));
    } else {
        mediaText = mediaError + QLatin1Char('\n');
    }
    if (mediaOnly) {
        QTextStream(stdout) << mediaText;
        return 0;
    }

    const QList<QSize> sizes = {QSize(320, 240), QSize(480, 480), QSize(420, 960), QSize(480, 1920),
                                QSize(1080, 1920)};
    QList<FramePipelineBench::Row> rows;
    for (const QSize& size : sizes) {
        rows << FramePipelineBench::measure(size, frames);
    }

    const QList<QPair<QSize, int>> scenePanels = {{QSize(480, 480), 0},  {QSize(360, 960), 0},
                                                  {QSize(360, 960), 1},  {QSize(480, 1920), 0},
                                                  {QSize(480, 1920), 1}, {QSize(462, 1920), 1}};
    QList<SceneRenderBench::Row> sceneRows;
    for (const auto& panel : scenePanels) {
        sceneRows << SceneRenderBench::measure(panel.first, panel.second, frames);
    }

    // Other work on the machine shows in the p95 columns; say how busy it was.
    QFile loadFile(QStringLiteral("/proc/loadavg"));
    const QString load = loadFile.open(QIODevice::ReadOnly)
                             ? QString::fromLatin1(loadFile.readAll()).section(' ', 0, 0)
                             : QStringLiteral("unknown");
    const QString title = QStringLiteral("# Frame pipeline, %1\n\n%2 frames per size, one thread, %3 (%4 "
                                         "cores, load average %5 at start).\n\n")
                              .arg(QDate::currentDate().toString(Qt::ISODate))
                              .arg(frames)
                              .arg(QSysInfo::prettyProductName())
                              .arg(QThread::idealThreadCount())
                              .arg(load);
    QList<LinkLatencyBench::Row> latencyRows;
    for (const QSize& size : sizes) {
        latencyRows << LinkLatencyBench::measure(emulator, size, qMin(frames, 60));
    }

    const QString text =
        title + FramePipelineBench::table(rows) +
        QStringLiteral("\nEnd to end: `Transport::send` to the frame decoded by panelcast-emu over a "
                       "pseudo-terminal, one frame in flight.\n\n") +
        LinkLatencyBench::table(latencyRows) +
        QStringLiteral(
            "\nThe scene's frame: a theme of text, labels, date, time and weekday rendered on white, "
            "turned and padded into the encoder's image as the frame pump does it, then converted "
            "and encoded. \"Plain way\" renders upright, turns with QImage::transformed and pads "
            "into a new image; \"Same pixels\" compares the two.\n\n") +
        SceneRenderBench::table(sceneRows) +
        QStringLiteral("\nMedia: the image widget's decoder thread, paced one frame at a time as the widget "
                       "does it.\n\n") +
        mediaText + readoutText;
    QTextStream(stdout) << text;

    const QString dir = QStringLiteral(PANELCAST_BENCH_RESULTS_DIR);
    QDir().mkpath(dir);
    QFile file(dir + "/" + QDate::currentDate().toString(Qt::ISODate) + ".md");
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        file.write(text.toUtf8());
        QTextStream(stdout) << "\nwritten to " << file.fileName() << "\n";
    }
    return 0;
}
