#include "ctlcommand.h"
#include "ctldevice.h"
#include "mediareader.h"
#include "quitsignals.h"

#include "bgraimage.h"
#include "devicemodels.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTextStream>
#include <QTimer>

#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

// A still picture is sent as the scene's frame pump would: every 33 ms.
constexpr double kStillIntervalS = 0.033;
// Further behind than this, the schedule starts over instead of rushing.
constexpr double kMaxLagS = 0.5;
// --seconds beyond a year is a typo, not a plan.
constexpr double kLongestStreamS = 366.0 * 24 * 3600;

const char* const kHelp = "usage: panelcast-ctl stream PORT FILE [--seconds N]\n"
                          "\n"
                          "Shows a picture, or plays a GIF or video in a loop at its own frame rate, on the\n"
                          "display at PORT until N seconds have passed (default: until interrupted), then\n"
                          "prints the frames sent and the frames per second achieved. Pictures that do not\n"
                          "match the panel are scaled to fit it, with their aspect kept.\n";

// Places a fitted picture on a black image of the encoder's size: centred in
// the panel, the panel at the model's offset in the encoder image.
BgraImage framed(const QByteArray& picture, const QSize& pictureSize, const QSize& panel,
                 const EncoderLayout& layout)
{
    const QSize encoder = layout.encoderSize;
    const int x0 = layout.pictureOffset.x() + (panel.width() - pictureSize.width()) / 2;
    const int y0 = layout.pictureOffset.y() + (panel.height() - pictureSize.height()) / 2;
    if (encoder == pictureSize && x0 == 0 && y0 == 0) {
        return BgraImage::fromBytes(picture, encoder.width(), encoder.height(), encoder.width() * 4);
    }
    QByteArray image(encoder.width() * encoder.height() * 4, '\0');
    const int rowBytes = pictureSize.width() * 4;
    for (int y = 0; y < pictureSize.height(); ++y) {
        memcpy(image.data() + (qsizetype(y0 + y) * encoder.width() + x0) * 4,
               picture.constData() + qsizetype(y) * rowBytes, size_t(rowBytes));
    }
    return BgraImage::fromBytes(image, encoder.width(), encoder.height(), encoder.width() * 4);
}

// Runs the event loop until `dueMs` on `clock`, or until stopped.
void sleepUntil(const QElapsedTimer& clock, qint64 dueMs, const bool& stopped)
{
    const qint64 remaining = dueMs - clock.elapsed();
    if (remaining <= 0 || stopped) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(int(remaining), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
    loop.exec();
}

int runStream(const QStringList& arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        out << kHelp;
        return 0;
    }
    QStringList positional;
    double seconds = 0;
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--seconds")) {
            bool number = false;
            seconds = i + 1 < arguments.size() ? arguments.at(i + 1).toDouble(&number) : 0;
            if (!number || !(seconds > 0) || !(seconds <= kLongestStreamS)) {
                return ctlFail("stream",
                               QStringLiteral("--seconds takes a positive number of seconds, at most a year"),
                               2);
            }
            ++i;
        } else {
            positional.append(arguments.at(i));
        }
    }
    if (positional.size() != 2) {
        return ctlFail("stream", QStringLiteral("expected PORT and FILE (see --help)"), 2);
    }
    const QString path = positional.at(1);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return ctlFail("stream", QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    }
    if (file.size() == 0) {
        return ctlFail("stream", QStringLiteral("%1 is empty").arg(path));
    }
    file.close();

    // The encoder's statistics would bury the totals; QT_LOGGING_RULES, which
    // brings back the debug lines, brings them back too.
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES")) {
        av_log_set_level(AV_LOG_ERROR);
    }
    CtlDevice device;
    QString error;
    if (!device.open(positional.first(), &error)) {
        return ctlFail("stream", error);
    }
    const CtlPort& port = device.port();
    const QSize panel = device.panelSize();
    if (panel.isEmpty()) {
        return ctlFail("stream", QStringLiteral("%1 reported no panel size").arg(port.name));
    }
    MediaReader reader;
    if (!reader.open(path, panel, &error)) {
        return ctlFail("stream", error);
    }
    Transport& transport = device.transport();
    const EncoderLayout layout = DeviceModels::encoderLayout(panel, port.vendorId, port.productId);
    transport.setDeviceSize(panel.width(), panel.height());
    if (!transport.hasEncoder()) {
        return ctlFail("stream", QStringLiteral("no H.264 encoder for %1x%2")
                                     .arg(layout.encoderSize.width())
                                     .arg(layout.encoderSize.height()));
    }
    if (transport.expansionMode() != 0) {
        err << "panelcast-ctl stream: " << port.name
            << " is in expansion screen mode and shows no frames ('panelcast-ctl expansion PORT off')\n";
    }

    bool stopped = false;
    // SIGINT and SIGTERM end the stream through the event loop, so the totals
    // are still printed.
    Panelcast::watchQuitSignals(qApp, [&stopped] { stopped = true; });
    int written = 0;
    QObject::connect(&transport, &Transport::emitSendData, &transport, [&written] { ++written; });
    transport.start();

    // The first two pictures tell a still picture from an animation.
    QByteArray picture;
    double durationS = 0;
    MediaReader::Result result = reader.next(&picture, &durationS, &error);
    if (result != MediaReader::Picture) {
        device.finish();
        return ctlFail("stream",
                       result == MediaReader::End ? QStringLiteral("%1 holds no picture").arg(path) : error);
    }
    QByteArray upcoming;
    double upcomingS = 0;
    result = reader.next(&upcoming, &upcomingS, &error);
    if (result == MediaReader::Error) {
        device.finish();
        return ctlFail("stream", error);
    }
    const bool still = result == MediaReader::End;
    bool haveUpcoming = !still;
    BgraImage image = framed(picture, reader.pictureSize(), panel, layout);

    QElapsedTimer clock;
    clock.start();
    const qint64 endMs = seconds > 0 ? qint64(seconds * 1000) : -1;
    double dueS = 0;
    for (;;) {
        sleepUntil(clock, qint64(dueS * 1000), stopped);
        if (stopped || (endMs >= 0 && clock.elapsed() >= endMs)) {
            break;
        }
        if (!transport.isConnected()) {
            device.finish();
            return ctlFail("stream", QStringLiteral("lost the connection to %1").arg(port.name));
        }
        transport.send(image);
        dueS += still ? kStillIntervalS : durationS;
        const double nowS = clock.elapsed() / 1000.0;
        if (nowS - dueS > kMaxLagS) {
            dueS = nowS;
        }
        if (still) {
            continue;
        }
        if (haveUpcoming) {
            picture.swap(upcoming);
            durationS = upcomingS;
            haveUpcoming = false;
        } else {
            result = reader.next(&picture, &durationS, &error);
            if (result == MediaReader::End) {
                // Loop: start again from the first picture.
                result =
                    reader.rewind(&error) ? reader.next(&picture, &durationS, &error) : MediaReader::Error;
            }
            if (result != MediaReader::Picture) {
                device.finish();
                return ctlFail("stream", result == MediaReader::End
                                             ? QStringLiteral("%1 ended early").arg(path)
                                             : error);
            }
        }
        image = framed(picture, reader.pictureSize(), panel, layout);
    }
    // The pictures still queued are encoded and written before the end.
    CtlDevice::waitUntil([&transport] { return transport.queuedImageCount() == 0; }, 2000);
    device.finish();
    const double elapsedS = clock.elapsed() / 1000.0;
    out << "frames: " << written << '\n';
    out << "seconds: " << QString::number(elapsedS, 'f', 2) << '\n';
    out << "fps: " << QString::number(elapsedS > 0 ? written / elapsedS : 0.0, 'f', 1) << '\n';
    return transport.isConnected()
               ? 0
               : ctlFail("stream", QStringLiteral("lost the connection to %1").arg(port.name));
}

const CtlRegistration kStream({"stream", "show a picture or play a video/GIF on a display", &runStream});

} // namespace
