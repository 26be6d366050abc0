#include "ctlcommand.h"
#include "ctldevice.h"
#include "logorules.h"

#include "devicemodels.h"
#include "packets.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QTextStream>

namespace {

constexpr int kBarWidth = 40;
constexpr int kConversionTimeoutMs = 30000;

const char* const kFirmwareHelp = "usage: panelcast-ctl upload-firmware PORT FILE\n"
                                  "\n"
                                  "Sends a firmware image to the display at PORT, with a progress bar on\n"
                                  "stderr, and prints \"Upgrade success.\" or \"Upgrade fail.\".\n";

const char* const kLogoHelp =
    "usage: panelcast-ctl upload-logo PORT FILE [--rotation 0|1|2|3]\n"
    "\n"
    "Sends a boot logo (FILE.jpg) or a boot video (FILE.mp4, converted with the ffmpeg\n"
    "program to boot_video.h264 in the data folder first) to the display at PORT, with\n"
    "a progress bar on stderr, and prints \"Upgrade success.\" or \"Upgrade fail.\".\n"
    "The logo must suit the panel: at most 1 MiB (3 MiB on 1080 x 1920 panels) and\n"
    "as wide or as high as the panel, or as the theme turned by --rotation quarter turns.\n";

// "[########------]  57%  4/7" on stderr, redrawn in place.
class ProgressBar
{
public:
    explicit ProgressBar(int total) : m_total(qMax(1, total)), m_err(stderr) {}

    void show(int done)
    {
        const int filled = kBarWidth * done / m_total;
        m_err << '\r' << '[' << QString(filled, QLatin1Char('#'))
              << QString(kBarWidth - filled, QLatin1Char('-')) << "] "
              << QString::number(100 * done / m_total).rightJustified(3) << "%  " << done << '/' << m_total
              << Qt::flush;
    }

    void end() { m_err << '\n' << Qt::flush; }

private:
    int m_total;
    QTextStream m_err;
};

// Checks that FILE can be read and is not empty.
bool checkFile(const QString& path, qint64 limit, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    if (QFileInfo(path).isDir()) {
        *error = QStringLiteral("%1 is a folder, not a file").arg(path);
        return false;
    }
    if (file.size() == 0) {
        *error = QStringLiteral("%1 is empty").arg(path);
        return false;
    }
    if (file.size() > limit) {
        *error =
            QStringLiteral("%1 is too large (%2 bytes, at most %3)").arg(path).arg(file.size()).arg(limit);
        return false;
    }
    return true;
}

// Converts an MP4 to the boot video with the ffmpeg of the PATH.
bool convertBootVideo(const QString& input, QString* output, QString* error)
{
    *output = LogoRules::bootVideoPath();
    // ffmpeg would stop to ask before overwriting the previous conversion.
    QFile::remove(*output);
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.setStandardInputFile(QProcess::nullDevice());
    ffmpeg.start(QStringLiteral("ffmpeg"), LogoRules::bootVideoArguments(input, *output));
    if (!ffmpeg.waitForStarted()) {
        *error = QStringLiteral("cannot run ffmpeg to convert %1: %2").arg(input, ffmpeg.errorString());
        return false;
    }
    if (!ffmpeg.waitForFinished(kConversionTimeoutMs)) {
        ffmpeg.kill();
        ffmpeg.waitForFinished();
        *error = QStringLiteral("ffmpeg did not convert %1 within %2 seconds")
                     .arg(input)
                     .arg(kConversionTimeoutMs / 1000);
        return false;
    }
    if (ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0 ||
        QFileInfo(*output).size() <= 0) {
        // ffmpeg's last line says what went wrong.
        const QStringList lines =
            QString::fromLocal8Bit(ffmpeg.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        *error = QStringLiteral("ffmpeg could not convert %1: %2")
                     .arg(input, lines.isEmpty() ? QStringLiteral("exit code %1").arg(ffmpeg.exitCode())
                                                 : lines.last().trimmed());
        return false;
    }
    return true;
}

// Applies the logo rules; on success `upload` is the file to send.
bool prepareLogo(CtlDevice& device, const QString& path, int rotation, QString* upload, QString* error)
{
    const QSize panel = device.panelSize();
    const qint64 limit = LogoRules::sizeLimit(panel);
    if (QFileInfo(path).size() > limit) {
        *error = QStringLiteral("%1 is too large for a %2x%3 panel (%4 bytes, at most %5)")
                     .arg(path)
                     .arg(panel.width())
                     .arg(panel.height())
                     .arg(QFileInfo(path).size())
                     .arg(limit);
        return false;
    }
    QString version;
    if (!device.queryVersion(&version, error)) {
        return false;
    }
    if (!LogoRules::versionTakesLogos(version)) {
        *error = QStringLiteral("the firmware of %1 takes no logos (version '%2')")
                     .arg(device.port().name, version);
        return false;
    }
    const QString extension = LogoRules::extension(path);
    if (extension == QLatin1String("jpg")) {
        QImageReader reader(path);
        const QSize size = reader.size();
        if (!size.isValid() || !reader.canRead()) {
            *error = QStringLiteral("%1 is not a readable picture: %2").arg(path, reader.errorString());
            return false;
        }
        const CtlPort& port = device.port();
        if (!LogoRules::pictureFits(size, panel, panel, port.vendorId, port.productId, rotation)) {
            *error = QStringLiteral("%1 is %2x%3, which does not suit a %4x%5 panel")
                         .arg(path)
                         .arg(size.width())
                         .arg(size.height())
                         .arg(panel.width())
                         .arg(panel.height());
            return false;
        }
        *upload = path;
        return true;
    }
    if (extension == QLatin1String("mp4")) {
        return convertBootVideo(path, upload, error);
    }
    *error = QStringLiteral("%1: a logo is a .jpg picture or an .mp4 video (lower-case extension)").arg(path);
    return false;
}

// Hands the file to the transport and follows the upload to its end.
int upload(const char* command, CtlDevice& device, int kind, const QString& path)
{
    Transport& transport = device.transport();
    const DeviceModel::UploadVariant variant =
        DeviceModels::uploadVariant(device.port().vendorId, device.port().productId);
    const int packSize = DeviceModels::uploadPackSize(variant, kind);
    const int total = int((QFileInfo(path).size() + packSize - 1) / packSize);

    ProgressBar bar(total);
    int sent = 0;
    bool finished = false;
    bool success = false;
    QObject::connect(&transport, &Transport::emitSendData, &transport,
                     [&](const QByteArray&) { bar.show(qMin(++sent, total)); });
    QObject::connect(&transport, &Transport::updateFirmwareState, &transport, [&](bool state) {
        finished = true;
        success = state;
    });

    bar.show(0);
    transport.requestUpgrade(kind, path);
    transport.start();
    CtlDevice::waitUntil([&transport] { return !transport.uploadPending(); }, -1);
    device.finish();
    bar.end();

    if (!finished) {
        // A file that fits one pack gets no verdict from the transport; it
        // was written whole.
        success = sent == total && transport.isConnected();
    }
    QTextStream out(stdout);
    out << (success ? "Upgrade success." : "Upgrade fail.") << '\n';
    if (!success && !transport.isConnected()) {
        ctlFail(command, QStringLiteral("lost the connection to %1").arg(device.port().name));
    }
    return success ? 0 : 1;
}

int runUploadFirmware(const QStringList& arguments)
{
    QTextStream out(stdout);
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        out << kFirmwareHelp;
        return 0;
    }
    if (arguments.size() != 2) {
        return ctlFail("upload-firmware", QStringLiteral("expected PORT and FILE (see --help)"), 2);
    }
    const QString path = arguments.at(1);
    QString error;
    if (!checkFile(path, Transport::kMaxUploadFileSize, &error)) {
        return ctlFail("upload-firmware", error);
    }
    CtlDevice device;
    if (!device.open(arguments.first(), &error)) {
        return ctlFail("upload-firmware", error);
    }
    return upload("upload-firmware", device, Packets::UploadFirmware, path);
}

int runUploadLogo(const QStringList& arguments)
{
    QTextStream out(stdout);
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        out << kLogoHelp;
        return 0;
    }
    QStringList positional;
    int rotation = 0;
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--rotation")) {
            bool number = false;
            rotation = i + 1 < arguments.size() ? arguments.at(i + 1).toInt(&number) : -1;
            if (!number || rotation < 0 || rotation > 3) {
                return ctlFail("upload-logo", QStringLiteral("--rotation takes 0, 1, 2 or 3"), 2);
            }
            ++i;
        } else {
            positional.append(arguments.at(i));
        }
    }
    if (positional.size() != 2) {
        return ctlFail("upload-logo", QStringLiteral("expected PORT and FILE (see --help)"), 2);
    }
    const QString path = positional.at(1);
    QString error;
    if (!checkFile(path, Transport::kMaxUploadFileSize, &error)) {
        return ctlFail("upload-logo", error);
    }
    CtlDevice device;
    if (!device.open(positional.first(), &error)) {
        return ctlFail("upload-logo", error);
    }
    QString file;
    if (!prepareLogo(device, path, rotation, &file, &error)) {
        return ctlFail("upload-logo", error);
    }
    return upload("upload-logo", device, Packets::UploadLogo, file);
}

const CtlRegistration kUploadFirmware({"upload-firmware", "send a firmware image to a display",
                                       &runUploadFirmware});
const CtlRegistration kUploadLogo({"upload-logo", "send a boot logo (.jpg) or boot video (.mp4) to a display",
                                   &runUploadLogo});

} // namespace
