#include "mediabench.h"

#include "benchemulator.h"
#include "devicemodels.h"
#include "dispframerenderer.h"
#include "dispimagewidget.h"
#include "dispscene.h"
#include "dispstandardwidgetfactory.h"
#include "dispvideodecoder.h"
#include "h264encoder.h"
#include "transport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGraphicsScene>
#include <QProcess>

#include <sys/resource.h>

#include <algorithm>
#include <vector>

namespace {

const QSize kVideoPanel(480, 1920);

// CPU time of the whole process (every thread), in milliseconds.
double processCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

double median(std::vector<double> values)
{
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool makeMedia(const QString& path, const QString& source, const QStringList& options)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 QStringList{"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i", source} +
                     options + QStringList{path});
    return ffmpeg.waitForFinished(300000) && ffmpeg.exitStatus() == QProcess::NormalExit &&
           ffmpeg.exitCode() == 0;
}

// Shows n frames as the image widget does, one permit per frame.
int playFrames(DispVideoDecoder& decoder, int frames)
{
    int shown = 0;
    QObject::connect(&decoder, &DispVideoDecoder::frameUpdated, &decoder, [&] {
        ++shown;
        decoder.requestFrame();
    });
    decoder.requestFrame();
    BenchEmulator::waitFor([&] { return shown >= frames; });
    return shown;
}

} // namespace

bool MediaBench::prepare(QString* error)
{
    m_folder = QDir::temp().filePath(QStringLiteral("panelcast-mediabench"));
    QDir().mkpath(m_folder);
    m_video = m_folder + QStringLiteral("/video_480x1920.mp4");
    m_gif = m_folder + QStringLiteral("/anim_480x480.gif");
    if (!QFile::exists(m_video) &&
        !makeMedia(m_video, QStringLiteral("testsrc2=s=480x1920:r=30:d=10"),
                   {"-c:v", "libx264", "-pix_fmt", "yuv420p", "-preset", "medium"})) {
        *error = QStringLiteral("ffmpeg could not make the test video");
        return false;
    }
    if (!QFile::exists(m_gif) && !makeMedia(m_gif, QStringLiteral("testsrc2=s=480x480:r=25:d=4"), {})) {
        *error = QStringLiteral("ffmpeg could not make the test GIF");
        return false;
    }
    return true;
}

MediaBench::DecodeRow MediaBench::measureDecode(bool video, int frames) const
{
    DecodeRow row;
    row.media = video ? QStringLiteral("H.264 video") : QStringLiteral("GIF");
    DispVideoDecoder decoder;
    decoder.setPath(video ? m_video : m_gif, true);
    const DispVideoDecoder::MediaInfo info = decoder.mediaInfo();
    row.size = QSize(info.width, info.height);
    // As fast as the pacing allows; the interval's sleep costs no CPU.
    decoder.setSpeed(60);
    decoder.start();
    const double cpuBefore = processCpuMs();
    row.frames = playFrames(decoder, frames);
    const double cpu = processCpuMs() - cpuBefore;
    decoder.stop();
    if (row.frames == 0) {
        row.error = QStringLiteral("no frame decoded");
        return row;
    }
    row.cpuMsPerFrame = cpu / row.frames;
    return row;
}

MediaBench::FrameRow MediaBench::measureFrame(int frames) const
{
    FrameRow row;
    row.panel = kVideoPanel;
    QGraphicsScene scene(QRectF(QPointF(0, 0), QSizeF(kVideoPanel)));
    auto* background = new DispImageWidget(nullptr, QStringLiteral("_background"));
    scene.addItem(background);
    background->setZValue(-1);
    background->setImageGeometry(scene.sceneRect());
    const EncoderLayout layout = DeviceModels::encoderLayout(kVideoPanel, 0x1F3A, 0x0007);
    auto encoder = H264Encoder::create(layout.encoderSize.width(), layout.encoderSize.height());
    if (!encoder) {
        row.error = QStringLiteral("no H.264 encoder");
        background->stopDecoder();
        return row;
    }
    background->decoder()->setSpeed(60);
    int decoded = 0;
    QObject::connect(background->decoder(), &DispVideoDecoder::frameUpdated, &scene,
                     [&decoded] { ++decoded; });
    background->setMediaPath(m_video, true);

    DispFrameRenderer renderer;
    std::vector<double> renderMs;
    std::vector<double> convertMs;
    std::vector<double> encodeMs;
    QElapsedTimer timer;
    const double cpuBefore = processCpuMs();
    for (int i = 0; i < frames; ++i) {
        // A new video frame each time, as a playing background gives it.
        const int seen = decoded;
        if (!BenchEmulator::waitFor([&] { return decoded > seen; })) {
            row.error = QStringLiteral("the video stopped at frame %1").arg(i);
            break;
        }
        QCoreApplication::processEvents();
        timer.start();
        const QImage frame = renderer.render(scene, 0, QSize(), QPoint());
        renderMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        QByteArray out;
        timer.start();
        if (!encoder->convert(BgraImage::fromImage(frame))) {
            row.error = QStringLiteral("conversion failed");
            break;
        }
        const qint64 converted = timer.nsecsElapsed();
        if (encoder->encodeConverted(out) != H264Encoder::Result::Ok) {
            row.error = QStringLiteral("encoding failed");
            break;
        }
        convertMs.push_back(double(converted) / 1e6);
        encodeMs.push_back(double(timer.nsecsElapsed() - converted) / 1e6);
    }
    row.frames = int(encodeMs.size());
    if (row.frames > 0) {
        row.cpuMsPerFrame = (processCpuMs() - cpuBefore) / row.frames;
    }
    row.renderMs = median(renderMs);
    row.convertMs = median(convertMs);
    row.encodeMs = median(encodeMs);
    background->stopDecoder();
    return row;
}

MediaBench::LiveRow MediaBench::measureLive(const QString& emulator, int seconds) const
{
    LiveRow row;
    row.panel = kVideoPanel;
    BenchEmulator device;
    if (!device.start(emulator, kVideoPanel)) {
        row.error = QStringLiteral("emulator did not start");
        return row;
    }
    DispStandardWidgetFactory::install();
    DispScene scene;
    bool found = false;
    QObject::connect(scene.transport(), &Transport::searchDeviceFinish, &scene, [&found] { found = true; });
    scene.transport()->openDevice(device.link(), 0x1F3A, 0x0007);
    if (!BenchEmulator::waitFor([&found] { return found; })) {
        row.error = QStringLiteral("no answer to the search");
        return row;
    }
    scene.setSceneSize(kVideoPanel.width(), kVideoPanel.height());
    DispImageWidget* background = scene.addImageWidget(QStringLiteral("_background"), QPointF(0, 0));
    background->setZValue(-1);
    background->setImageGeometry(scene.sceneRect());
    background->setMediaPath(m_video, true);

    // Warm up for a second, then count.
    QElapsedTimer clock;
    clock.start();
    BenchEmulator::waitFor([&] { return clock.elapsed() > 1000; });
    const int framesBefore = device.decodedFrames();
    const double cpuBefore = processCpuMs();
    clock.restart();
    while (clock.elapsed() < seconds * 1000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    const double elapsedMs = double(clock.elapsed());
    row.cpuPercent = (processCpuMs() - cpuBefore) / elapsedMs * 100.0;
    row.deviceFps = (device.decodedFrames() - framesBefore) * 1000.0 / elapsedMs;
    row.seconds = elapsedMs / 1000.0;
    background->stopDecoder();
    scene.clearThread();
    return row;
}

QString MediaBench::tables(const QList<DecodeRow>& decodeRows, const FrameRow& frame, const LiveRow& live)
{
    QString text = QStringLiteral("| Media | Size | Frames | Decode + BGRA, CPU ms per frame | Note |\n"
                                  "|---|---|---:|---:|---|\n");
    for (const DecodeRow& row : decodeRows) {
        text += QStringLiteral("| %1 | %2x%3 | %4 | %5 | %6 |\n")
                    .arg(row.media)
                    .arg(row.size.width())
                    .arg(row.size.height())
                    .arg(row.frames)
                    .arg(row.cpuMsPerFrame, 0, 'f', 2)
                    .arg(row.error);
    }
    text +=
        QStringLiteral("\nThe whole frame with a playing 480x1920 video background (decoder thread "
                       "included in the CPU column):\n\n| Panel | Frames | Render ms | BGRA->YUV ms | "
                       "Encode ms | Process CPU ms per frame | Note |\n|---|---:|---:|---:|---:|---:|---|\n");
    text += QStringLiteral("| %1x%2 | %3 | %4 | %5 | %6 | %7 | %8 |\n")
                .arg(frame.panel.width())
                .arg(frame.panel.height())
                .arg(frame.frames)
                .arg(frame.renderMs, 0, 'f', 2)
                .arg(frame.convertMs, 0, 'f', 2)
                .arg(frame.encodeMs, 0, 'f', 2)
                .arg(frame.cpuMsPerFrame, 0, 'f', 2)
                .arg(frame.error);
    text += QStringLiteral("\nLive: a display scene with the video background streams to panelcast-emu "
                           "(frame pump, transport thread, decoder thread; the emulator's own CPU is "
                           "not counted):\n\n| Panel | Seconds | Frames per second at the device | "
                           "Process CPU, % of one core | Note |\n|---|---:|---:|---:|---|\n");
    text += QStringLiteral("| %1x%2 | %3 | %4 | %5 | %6 |\n")
                .arg(live.panel.width())
                .arg(live.panel.height())
                .arg(live.seconds, 0, 'f', 1)
                .arg(live.deviceFps, 0, 'f', 1)
                .arg(live.cpuPercent, 0, 'f', 1)
                .arg(live.error);
    return text;
}
