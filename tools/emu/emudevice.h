#pragma once

#include "displayframer.h"
#include "emuoptions.h"
#include "packetlog.h"
#include "segmentframer.h"

#include <QFile>
#include <QImage>
#include <QJsonObject>
#include <QObject>
#include <QVector>

#include <memory>

class H264Decoder;

// Bytes for the host, to be written after delayMs (0: at once).
struct EmuReply
{
    QByteArray bytes;
    int delayMs = 0;
};

// The emulated device without its port: fed the host's bytes, it frames
// them, answers like a device, records uploads and packets in the output
// folder and decodes the video frames. Time comes from the caller, in
// milliseconds since the emulator started.
class EmuDevice : public QObject
{
    Q_OBJECT

public:
    static constexpr uint8_t kAcknowledgeReply = 0x8F;

    explicit EmuDevice(const EmuOptions& options, QObject* parent = nullptr);
    ~EmuDevice() override;

    // Creates the output folder and packets.jsonl when one was asked for.
    bool start(QString* error);

    QVector<EmuReply> feed(const QByteArray& bytes, qint64 nowMs);
    // Applies the framers' idle rules; call at deadlineMs().
    QVector<EmuReply> poll(qint64 nowMs);
    qint64 deadlineMs() const;

    // Writes the final frame and closes the open upload and the log.
    void finish();

    int mode() const { return m_mode; }
    int brightness() const { return m_brightness; }
    int decodedFrames() const { return m_decodedFrames; }
    int uploadCount() const { return m_uploadNumber; }

    static QByteArray searchReply(const QSize& size, int mode, int replyLength);
    static QByteArray versionReply(const QString& text);
    static QByteArray acknowledgeReply();

signals:
    void frameDecoded(const QImage& image, int number);
    void segmentReceived(const SegmentPacket& packet);
    void brightnessChanged(int value); // 0..255 as sent

private:
    void handle(const HostPacket& packet, qint64 nowMs, QVector<EmuReply>* replies);
    void handleSegment(const SegmentPacket& packet, qint64 nowMs);
    void handleUpload(const HostPacket& packet, QJsonObject* entry);
    void handleFrame(const HostPacket& packet, QJsonObject* entry);
    void acknowledge(QJsonObject* entry, QVector<EmuReply>* replies) const;
    void closeUpload();
    void writeLatestPng();

    EmuOptions m_options;
    DisplayFramer m_displayFramer;
    SegmentFramer m_segmentFramer;
    PacketLog m_log;
    std::unique_ptr<H264Decoder> m_decoder;
    std::unique_ptr<QFile> m_upload; // null without an output folder
    bool m_uploadOpen = false;
    int m_uploadNumber = 0;
    int m_mode = 0;
    int m_brightness = -1;
    int m_decodedFrames = 0;
    QImage m_latest;
    bool m_latestSaved = true;
};
