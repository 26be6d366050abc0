#include "emudevice.h"

#include "devicereply.h"
#include "h264decoder.h"
#include "packets.h"

#include <QDir>
#include <QJsonArray>
#include <QLoggingCategory>
#include <QSaveFile>

Q_LOGGING_CATEGORY(lcEmu, "panelcast.emu")

namespace {

constexpr int kHexLimit = 32;

bool isUploadData(uint16_t command)
{
    return command == Packets::UploadData || command == Packets::UploadData + Packets::kLogoCodeOffset;
}

bool isUploadEnd(uint16_t command)
{
    return command == Packets::UploadEnd || command == Packets::UploadEnd + Packets::kLogoCodeOffset;
}

QString commandText(uint16_t command)
{
    return QStringLiteral("0x") + QString::number(command, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

QString colourText(QRgb rgb)
{
    return QStringLiteral("#%1").arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

} // namespace

EmuDevice::EmuDevice(const EmuOptions& options, QObject* parent)
    : QObject(parent), m_options(options), m_mode(options.mode)
{
    qRegisterMetaType<SegmentPacket>();
}

EmuDevice::~EmuDevice() = default;

bool EmuDevice::start(QString* error)
{
    if (m_options.outDir.isEmpty()) {
        return true;
    }
    if (!QDir().mkpath(m_options.outDir)) {
        *error = QStringLiteral("cannot create %1").arg(m_options.outDir);
        return false;
    }
    return m_log.open(QDir(m_options.outDir).filePath(QStringLiteral("packets.jsonl")), error);
}

QByteArray EmuDevice::searchReply(const QSize& size, int mode, int replyLength)
{
    QByteArray reply;
    reply.append(char(Packets::kMagic0));
    reply.append(char(Packets::kMagic1));
    reply.append(char(0x00));
    reply.append(char(Packets::Search));
    reply.append(4, char(0x00));
    reply.append(char((size.width() >> 8) & 0xFF));
    reply.append(char(size.width() & 0xFF));
    reply.append(char((size.height() >> 8) & 0xFF));
    reply.append(char(size.height() & 0xFF));
    if (replyLength >= DeviceReply::kSearchWithModeSize) {
        reply.append(char(mode & 0xFF));
    }
    return reply;
}

QByteArray EmuDevice::versionReply(const QString& text)
{
    QByteArray reply;
    reply.append(char(Packets::kMagic0));
    reply.append(char(Packets::kMagic1));
    reply.append(char(0x00));
    reply.append(char(Packets::VersionQuery));
    reply.append(char(0x00));
    reply.append(text.toUtf8());
    return reply;
}

QByteArray EmuDevice::acknowledgeReply()
{
    QByteArray reply;
    reply.append(char(Packets::kMagic0));
    reply.append(char(Packets::kMagic1));
    reply.append(char(0x00));
    reply.append(char(kAcknowledgeReply));
    reply.append(char(0x01));
    return reply;
}

QVector<EmuReply> EmuDevice::feed(const QByteArray& bytes, qint64 nowMs)
{
    QVector<EmuReply> replies;
    if (m_options.family == EmuOptions::Digital) {
        for (const SegmentPacket& packet : m_segmentFramer.feed(bytes, nowMs)) {
            handleSegment(packet, nowMs);
        }
        return replies;
    }
    for (const HostPacket& packet : m_displayFramer.feed(bytes, nowMs)) {
        handle(packet, nowMs, &replies);
    }
    return replies;
}

QVector<EmuReply> EmuDevice::poll(qint64 nowMs)
{
    QVector<EmuReply> replies;
    if (m_options.family == EmuOptions::Digital) {
        for (const SegmentPacket& packet : m_segmentFramer.poll(nowMs)) {
            handleSegment(packet, nowMs);
        }
        return replies;
    }
    for (const HostPacket& packet : m_displayFramer.poll(nowMs)) {
        handle(packet, nowMs, &replies);
    }
    return replies;
}

qint64 EmuDevice::deadlineMs() const
{
    return m_options.family == EmuOptions::Digital ? m_segmentFramer.deadlineMs()
                                                   : m_displayFramer.deadlineMs();
}

void EmuDevice::handle(const HostPacket& packet, qint64 nowMs, QVector<EmuReply>* replies)
{
    QJsonObject entry;
    entry.insert(QStringLiteral("ms"), double(nowMs));
    entry.insert(QStringLiteral("cmd"), commandText(packet.command));
    entry.insert(QStringLiteral("len"), double(packet.length));
    entry.insert(QStringLiteral("size"), packet.payload.size());
    if (packet.payload.size() <= kHexLimit) {
        entry.insert(QStringLiteral("hex"), QString::fromLatin1(packet.payload.toHex()));
    }
    if (packet.skippedBefore > 0) {
        entry.insert(QStringLiteral("skipped"), packet.skippedBefore);
    }

    if (!packet.complete) {
        entry.insert(QStringLiteral("error"), QStringLiteral("incomplete packet dropped"));
        m_log.write(entry);
        return;
    }

    const bool oneByte = packet.payload.size() == 1;
    if (DisplayFramer::isUploadStart(packet.command, packet.length) || isUploadData(packet.command) ||
        isUploadEnd(packet.command)) {
        handleUpload(packet, &entry);
        acknowledge(&entry, replies);
    } else if (packet.command == Packets::Search) {
        replies->append({searchReply(m_options.size, m_mode, m_options.replyLength), 0});
    } else if (packet.command == Packets::VersionQuery) {
        replies->append({versionReply(m_options.version), 0});
    } else if (packet.command == Packets::ExpansionMode && oneByte) {
        m_mode = uint8_t(packet.payload.at(0));
    } else if (packet.command == Packets::Brightness && oneByte) {
        m_brightness = uint8_t(packet.payload.at(0));
        emit brightnessChanged(m_brightness);
    } else if (packet.command == Packets::Frame) {
        handleFrame(packet, &entry);
    } else {
        entry.insert(QStringLiteral("error"), QStringLiteral("unknown command or payload"));
    }
    m_log.write(entry);
}

void EmuDevice::acknowledge(QJsonObject* entry, QVector<EmuReply>* replies) const
{
    const bool acked = m_options.ack != EmuOptions::AckNever;
    if (acked) {
        const int delayMs = m_options.ack == EmuOptions::AckDelayed ? m_options.ackDelayMs : 0;
        replies->append({acknowledgeReply(), delayMs});
    }
    entry->insert(QStringLiteral("acked"), acked);
}

void EmuDevice::handleUpload(const HostPacket& packet, QJsonObject* entry)
{
    const bool isStart = DisplayFramer::isUploadStart(packet.command, packet.length);
    if (isStart) {
        closeUpload();
        ++m_uploadNumber;
        m_uploadOpen = true;
        if (!m_options.outDir.isEmpty()) {
            const QString path =
                QDir(m_options.outDir).filePath(QStringLiteral("upload-%1.bin").arg(m_uploadNumber));
            m_upload = std::make_unique<QFile>(path);
            if (!m_upload->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                entry->insert(QStringLiteral("error"), m_upload->errorString());
                m_upload.reset();
            }
        }
    } else if (!m_uploadOpen) {
        entry->insert(QStringLiteral("error"), QStringLiteral("no upload in progress"));
        return;
    }

    entry->insert(QStringLiteral("upload"), m_uploadNumber);
    if (m_upload && m_upload->write(packet.payload) != packet.payload.size()) {
        entry->insert(QStringLiteral("error"), m_upload->errorString());
    }
    if (m_upload) {
        m_upload->flush();
    }
    // A file that fits one pack comes as a lone start packet shorter than
    // the pack it announces.
    const bool lastOfFile =
        isUploadEnd(packet.command) || (isStart && uint32_t(packet.payload.size()) < packet.length);
    if (lastOfFile) {
        entry->insert(QStringLiteral("uploadComplete"), true);
        closeUpload();
    }
}

void EmuDevice::closeUpload()
{
    if (m_upload) {
        m_upload->close();
        m_upload.reset();
    }
    m_uploadOpen = false;
}

void EmuDevice::handleFrame(const HostPacket& packet, QJsonObject* entry)
{
    if (!m_decoder) {
        m_decoder = std::make_unique<H264Decoder>();
    }
    QImage image;
    QString error;
    switch (m_decoder->decode(packet.payload, &image, &error)) {
    case H264Decoder::Picture:
        ++m_decodedFrames;
        m_latest = image;
        m_latestSaved = false;
        entry->insert(QStringLiteral("frame"), m_decodedFrames);
        if (m_decodedFrames % m_options.pngEvery == 0) {
            writeLatestPng();
        }
        emit frameDecoded(image, m_decodedFrames);
        break;
    case H264Decoder::NoPicture:
        entry->insert(QStringLiteral("picture"), false);
        break;
    case H264Decoder::Error:
        entry->insert(QStringLiteral("error"), QStringLiteral("decode: %1").arg(error));
        break;
    }
}

void EmuDevice::handleSegment(const SegmentPacket& packet, qint64 nowMs)
{
    QJsonObject entry;
    entry.insert(QStringLiteral("ms"), double(nowMs));
    entry.insert(QStringLiteral("size"), packet.raw.size());
    if (packet.skippedBefore > 0) {
        entry.insert(QStringLiteral("skipped"), packet.skippedBefore);
    }
    if (!packet.complete) {
        entry.insert(QStringLiteral("hex"), QString::fromLatin1(packet.raw.left(kHexLimit).toHex()));
        entry.insert(QStringLiteral("error"), QStringLiteral("incomplete packet dropped"));
        m_log.write(entry);
        return;
    }
    entry.insert(QStringLiteral("mode"), packet.mode);
    QJsonArray colours;
    for (QRgb colour : packet.colours) {
        colours.append(colourText(colour));
    }
    entry.insert(QStringLiteral("colours"), colours);
    entry.insert(QStringLiteral("temperature"), packet.temperature);
    entry.insert(QStringLiteral("usage"), packet.usage);
    m_log.write(entry);
    emit segmentReceived(packet);
}

void EmuDevice::writeLatestPng()
{
    m_latestSaved = true;
    if (m_options.outDir.isEmpty() || m_latest.isNull()) {
        return;
    }
    // Written aside and renamed, so a reader never sees half a picture.
    QSaveFile file(QDir(m_options.outDir).filePath(QStringLiteral("latest.png")));
    if (!file.open(QIODevice::WriteOnly) || !m_latest.save(&file, "PNG") || !file.commit()) {
        qCWarning(lcEmu) << "EmuDevice::writeLatestPng: cannot write" << file.fileName()
                         << file.errorString();
    }
}

void EmuDevice::finish()
{
    if (!m_latestSaved) {
        writeLatestPng();
    }
    closeUpload();
    m_log.close();
}
