#include "transport.h"

#include "devicereply.h"
#include "h264encoder.h"
#include "packets.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMutexLocker>

namespace {

Q_LOGGING_CATEGORY(lcTransport, "panelcast.device.transport")

// Variant B devices expect the firmware body XOR 0x48 then XOR 0x4A (net
// XOR 0x02) after the 36-byte header.
constexpr int kFirmwareHeaderSize = 36;

void scrambleFirmware(QByteArray& data)
{
    for (int k = kFirmwareHeaderSize; k < data.size(); ++k) {
        data[k] = char((uchar(data[k]) ^ 0x48) ^ 0x4A);
    }
}

} // namespace

Transport::Transport(QObject* parent) : QThread(parent)
{
    setObjectName(QStringLiteral("Transport"));
    m_encoded.reserve(kFrameBufferBytes);
    m_cycle.reserve(kFrameBufferBytes);
    connect(&m_adapter, &cdcTransport::emitError, this, &Transport::reconnect);
    connect(&m_adapter, &cdcTransport::recvRead, this, &Transport::parseReply);
    connect(this, &Transport::emitSendData, &m_adapter, &cdcTransport::slotSendData);
}

Transport::~Transport()
{
    if (isRunning()) {
        requestInterruption();
        quit();
        wait();
    }
    qCDebug(lcTransport) << "Transport::~Transport()";
}

void Transport::openDevice(const QString& port, int vid, int pid)
{
    if (!m_adapter.openPort(port) && !m_adapter.openPort(port)) {
        return;
    }
    m_connected = 1;
    m_adapter.sendSearch();
    m_portName = port;
    m_vendorId = vid;
    m_productId = pid;
}

int Transport::setDeviceSize(int w, int h)
{
    QMutexLocker encoderLocker(&m_encoderLock);
    deinitEncoder();
    const EncoderLayout layout = DeviceModels::encoderLayout(QSize(w, h), m_vendorId, m_productId);
    if (layout.sizeVariant != 0) {
        m_sizeVariant = layout.sizeVariant;
    }
    initEncoder(layout.encoderSize.width(), h);
    return 0;
}

int Transport::initEncoder(int w, int h)
{
    int status = 0;
    std::unique_ptr<H264Encoder> encoder = H264Encoder::create(w, h, &status);
    if (!encoder) {
        return status;
    }
    {
        QMutexLocker queueLocker(&m_queueLock);
        m_encoder = std::move(encoder);
    }
    qCDebug(lcTransport).noquote() << QStringLiteral("Transport::initEncoder: done, w=%1,h=%2").arg(w).arg(h);

    const QSize panel = DeviceModels::panelSizeForEncoder(QSize(w, h), m_sizeVariant);
    m_panelWidth = panel.width();
    m_panelHeight = panel.height();
    return 0;
}

void Transport::deinitEncoder()
{
    {
        QMutexLocker queueLocker(&m_queueLock);
        m_encoder.reset();
        m_queue.clear();
        m_panelWidth = 0;
        m_panelHeight = 0;
    }
    qCDebug(lcTransport) << "Transport::deinitEncoder: done";
}

QSize Transport::expectedImageSize() const
{
    return DeviceModels::encoderLayout(QSize(m_panelWidth, m_panelHeight), m_vendorId, m_productId)
        .encoderSize;
}

bool Transport::hasEncoder() const
{
    QMutexLocker queueLocker(&m_queueLock);
    return m_encoder != nullptr;
}

int Transport::queuedImageCount() const
{
    QMutexLocker queueLocker(&m_queueLock);
    return m_queue.size();
}

void Transport::send(const BgraImage& image)
{
    const QSize expected = expectedImageSize();
    if (image.isNull() || QSize(image.width(), image.height()) != expected) {
        qCDebug(lcTransport).noquote() << QStringLiteral("image %1x%2,mWidth=%3,mHeight=%4")
                                              .arg(image.width())
                                              .arg(image.height())
                                              .arg(m_panelWidth)
                                              .arg(m_panelHeight);
        qCDebug(lcTransport) << "Transport::send: size is wrong";
        return;
    }
    if (m_uploadKind != 0) {
        return;
    }

    QMutexLocker queueLocker(&m_queueLock);
    if (!m_encoder) {
        return;
    }
    if (m_queue.size() >= kMaxQueuedImages) {
        m_queue.remove(0);
        qCDebug(lcTransport) << "Transport::send: frame queue full, dropped the oldest image";
    }
    m_queue.append({image, ++m_sentImages});
    m_queueFilled.wakeOne();
}

void Transport::setBrightness(int percent)
{
    const int value = Packets::brightnessFromPercent(percent);
    if (value >= 0) {
        m_brightness = value;
    }
}

void Transport::requestVersion()
{
    m_versionRequest = 1;
}

void Transport::setExpansionMode(bool on)
{
    // The byte first: a cycle that sees the request also sees the new mode.
    m_modeByte = on ? 1 : 0;
    m_modeChangeRequest = 1;
}

void Transport::requestUpgrade(int kind, const QString& path)
{
    {
        QMutexLocker pathLocker(&m_uploadPathLock);
        m_uploadPath = path;
    }
    m_uploadCancel = 0;
    m_uploadKind = kind;
}

void Transport::cancelUpload()
{
    m_uploadCancel = 1;
}

void Transport::reconnect()
{
    qCDebug(lcTransport) << "reconnect";
    if (m_adapter.isPortOpen()) {
        m_adapter.closePort();
        emit m_adapter.usbConnectState(false);
    }
    m_connected = 0;
}

void Transport::parseReply(const QByteArray& chunk)
{
    const DeviceReply reply = DeviceReply::parse(chunk);
    switch (reply.kind) {
    case DeviceReply::Version:
        emit deviceInfo(reply.version);
        break;
    case DeviceReply::Acknowledge:
        m_acknowledge = reply.acknowledge;
        break;
    case DeviceReply::SearchResult:
        m_panelWidth = reply.width;
        m_panelHeight = reply.height;
        m_modeByte = reply.mode;
        emit searchDeviceFinish(m_portName);
        break;
    case DeviceReply::Invalid:
        break;
    }
}

void Transport::run()
{
    qCDebug(lcTransport) << "enter: Transport::run";
    for (;;) {
        if (m_uploadKind != 0) {
            m_acknowledge = 1;
            runUpload();
            m_uploadKind = 0;
            continue;
        }
        if (isInterruptionRequested()) {
            qCDebug(lcTransport) << "close thread, Transport::run";
            QMutexLocker encoderLocker(&m_encoderLock);
            deinitEncoder();
            return;
        }

        BgraImage image;
        quint64 imageNumber = 0;
        {
            QMutexLocker queueLocker(&m_queueLock);
            if (m_queue.isEmpty()) {
                // Idle: at most kIdleSleepMs, less when a picture arrives.
                m_queueFilled.wait(&m_queueLock, kIdleSleepMs);
                continue;
            }
            image = std::move(m_queue[0].image);
            imageNumber = m_queue[0].number;
            m_queue.remove(0);
        }

        QMutexLocker encoderLocker(&m_encoderLock);
        if (!m_encoder) {
            continue;
        }
        const QSize frameSize(m_encoder->width(), m_encoder->height());
        // A picture queued for the previous encoder size is stale, not an error.
        if (QSize(image.width(), image.height()) != frameSize) {
            continue;
        }
        // Frames resuming after being held back start with a key frame the
        // device can decode on its own.
        if (m_framesHeldBack && m_modeByte == 0) {
            m_encoder->requestKeyFrame();
        }
        if (DeviceModels::encodesFrames(m_vendorId, m_productId) &&
            m_encoder->encode(image, m_encoded) == H264Encoder::Result::ConvertFailed) {
            // The encoder logged "failed to translate rgb to yuv"; nothing
            // more reaches this device until it is plugged in again.
            return;
        }
        encoderLocker.unlock();

        if (frameSize != expectedImageSize()) {
            m_encoded.resize(0);
            continue;
        }

        // Both buffers keep their room (they are reserved) when emptied.
        QByteArray& cycle = m_cycle;
        cycle.resize(0);
        const int brightness = m_brightness;
        if (brightness != m_lastBrightness) {
            cycle += Packets::brightness(uint8_t(brightness));
            m_lastBrightness = brightness;
        }
        if (m_versionRequest.exchange(0) != 0) {
            cycle += Packets::versionQuery();
        }
        const bool modeChanged = m_modeChangeRequest.exchange(0) != 0;
        const int mode = m_modeByte;
        if (modeChanged) {
            cycle += Packets::build(Packets::ExpansionMode, QByteArray(1, char(mode)));
        }
        if (mode == 0) {
            Packets::appendFrame(cycle, m_encoded);
        }
        m_framesHeldBack = mode != 0;
        m_writtenImage = imageNumber;
        if (m_connected != 0) {
            emit emitSendData(cycle);
        }
        m_encoded.resize(0);
    }
}

void Transport::runUpload()
{
    const int kind = m_uploadKind;
    QString path;
    {
        QMutexLocker pathLocker(&m_uploadPathLock);
        path = m_uploadPath;
    }
    const DeviceModel::UploadVariant variant = DeviceModels::uploadVariant(m_vendorId, m_productId);

    QByteArray data;
    QFile file(path);
    // Only regular files: opening a pipe blocks until some writer comes, and
    // a device file reads without end.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) || file.isSequential()) {
        qCDebug(lcTransport) << "open update file fail.";
        emit updateFirmwareState(false);
    } else if (file.size() > kMaxUploadFileSize) {
        qCDebug(lcTransport) << "Transport::runUpload: file too large" << file.size();
        emit updateFirmwareState(false);
    } else if (kind == Packets::UploadFirmware) {
        data = file.readAll();
        file.close();
        if (variant == DeviceModel::UploadVariantB) {
            qCDebug(lcTransport) << "update app";
            scrambleFirmware(data);
        }
    } else if (kind == Packets::UploadLogo) {
        data = file.readAll();
        file.close();
        qCDebug(lcTransport) << "update logo";
    }

    const int packSize = DeviceModels::uploadPackSize(variant, kind);
    const int total = int((qint64(data.size()) + packSize - 1) / packSize);
    qCDebug(lcTransport).noquote() << "totalPack: " + QString::number(total);
    if (total < 1) {
        return;
    }

    const int offset = Packets::uploadCodeOffset(kind);
    const uint16_t startCode = Packets::uploadStartCode(kind, QFileInfo(path).fileName());
    const int pollLimit = DeviceModels::uploadAckPollLimit(variant);
    int sent = 0;
    int polls = 0;
    // Packs are taken at this offset; shifting the rest of the file after
    // every pack would cost time quadratic in the file size.
    int position = 0;
    for (;;) {
        if (m_uploadCancel != 0) {
            qCDebug(lcTransport) << "Transport::runUpload: cancelled after" << sent << "of" << total
                                 << "packs";
            return;
        }
        if (m_acknowledge == 0) {
            if (++polls > pollLimit) {
                qCDebug(lcTransport) << "time out......................";
                emit updateFirmwareState(false);
                return;
            }
        } else {
            m_acknowledge = 0;
            QByteArray packet;
            int consumed = 0;
            if (sent == 0) {
                consumed = qMin(packSize, int(data.size()));
                packet =
                    Packets::buildWithLength(startCode, uint32_t(packSize), data.mid(position, consumed));
                qCDebug(lcTransport).noquote() << "send 0x82, 0 pack";
            } else if (sent < total - 1) {
                consumed = packSize;
                packet = Packets::buildWithLength(uint16_t(Packets::UploadData + offset), uint32_t(packSize),
                                                  data.mid(position, consumed));
                qCDebug(lcTransport).noquote() << QStringLiteral("send 0x83, %1 pack").arg(sent);
            } else {
                consumed = int(data.size()) - position;
                packet = Packets::build(uint16_t(Packets::UploadEnd + offset), data.mid(position));
            }
            if (m_connected != 0) {
                emit emitSendData(packet);
            }
            if (sent != 0 && sent >= total - 1) {
                emit updateFirmwareState(true);
                qCDebug(lcTransport).noquote() << QStringLiteral("send 0x84, %1 pack").arg(sent);
            }
            position += consumed;
            ++sent;
            polls = 0;
        }
        msleep(kAckPollMs);
        if (sent >= total) {
            return;
        }
    }
}
