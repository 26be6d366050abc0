#pragma once

#include "bgraimage.h"
#include "cdctransport.h"
#include "devicemodels.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QString>
#include <QThread>
#include <QVarLengthArray>
#include <QWaitCondition>

#include <atomic>
#include <memory>

class H264Encoder;

// One worker thread per display device: takes rendered pictures from a short
// queue, encodes them to H.264 and writes each one, preceded by any due
// control packets, as one buffer through its serial adapter. Also parses the
// device's replies and runs firmware, logo and boot-video uploads.
//
// Every public operation is called from the thread that owns the object (the
// GUI thread). Locks: the encoder lock guards the encoder, the queue lock the
// frame queue; when both are held the encoder lock is taken first.
class Transport : public QThread
{
    Q_OBJECT

public:
    // Pictures waiting to be encoded; a newer one pushes out the oldest, so a
    // slow encoder costs frames, never latency or memory.
    static constexpr int kMaxQueuedImages = 2;
    static constexpr int kIdleSleepMs = 30;
    static constexpr int kAckPollMs = 10;
    // Room kept for one encoded frame and for one cycle; larger ones grow it.
    static constexpr int kFrameBufferBytes = 256 * 1024;
    // Files beyond this size are not read into memory for an upload.
    static constexpr qint64 kMaxUploadFileSize = 256 * 1024 * 1024;

    explicit Transport(QObject* parent = nullptr);
    ~Transport() override;

    Transport(const Transport&) = delete;
    Transport& operator=(const Transport&) = delete;

    // Opens the port (two attempts), writes the search packet and remembers
    // the port and USB identifiers.
    void openDevice(const QString& port, int vid, int pid);

    // Rebuilds the encoder for a panel of the reported size w x h (the
    // encoder may run wider, see DeviceModels::encoderLayout). Returns 0.
    int setDeviceSize(int w, int h);

    // Queues one picture of the encoder's size; anything else is dropped.
    void send(const BgraImage& image);
    // Image is QImage; the picture is shared, not copied.
    template <typename Image>
    void send(const Image& image)
    {
        send(BgraImage::fromImage(image));
    }

    void setBrightness(int percent);
    void requestVersion();
    void setExpansionMode(bool on);
    int expansionMode() const { return m_modeByte.load(); }
    bool isOpen() const { return m_adapter.isPortOpen(); }
    // kind 1: firmware, 2: logo picture or boot video.
    void requestUpgrade(int kind, const QString& path);

    int panelWidth() const { return m_panelWidth.load(); }
    int panelHeight() const { return m_panelHeight.load(); }
    int vendorId() const { return m_vendorId.load(); }
    int productId() const { return m_productId.load(); }
    QString portName() const { return m_portName; }
    bool isConnected() const { return m_connected.load() != 0; }
    int sizeVariant() const { return m_sizeVariant.load(); }
    bool hasEncoder() const;
    int queuedImageCount() const;
    // Pictures taken by send() so far, and the number (in that count) of the
    // last one whose cycle was handed to the port: a picture sent as number n
    // is on its way to the device once writtenImageNumber() >= n.
    quint64 sentImageNumber() const { return m_sentImages.load(); }
    quint64 writtenImageNumber() const { return m_writtenImage.load(); }
    // True from requestUpgrade until the upload has run.
    bool uploadPending() const { return m_uploadKind.load() != 0; }
    // Ends a pending or running upload before its next packet: nothing more
    // reaches the device and no state is reported. Used when the
    // application quits, which would otherwise wait out the acknowledgements.
    void cancelUpload();

    cdcTransport& adapter() { return m_adapter; }

signals:
    void deviceInfo(QString);
    void updateFirmwareState(bool state);
    void searchDeviceFinish(QString);
    void emitSendData(QByteArray array);

public slots:
    // The adapter reported a port error: close the port and stop writing.
    void reconnect();
    // One chunk read from the port, examined as one reply.
    void parseReply(const QByteArray& chunk);

protected:
    void run() override;

private:
    int initEncoder(int w, int h);
    // Caller holds the encoder lock.
    void deinitEncoder();
    void encodeAndSend(const BgraImage& image);
    void runUpload();
    QSize expectedImageSize() const;

    cdcTransport m_adapter;

    std::atomic<int> m_panelWidth{0};
    std::atomic<int> m_panelHeight{0};
    std::atomic<int> m_vendorId{0};
    std::atomic<int> m_productId{0};
    std::atomic<int> m_sizeVariant{0};
    std::atomic<int> m_connected{0};
    QString m_portName;

    struct QueuedImage
    {
        BgraImage image;
        quint64 number = 0;
    };

    mutable QMutex m_queueLock;
    QVarLengthArray<QueuedImage, kMaxQueuedImages> m_queue;
    std::atomic<quint64> m_sentImages{0};
    std::atomic<quint64> m_writtenImage{0};
    // Wakes the idle worker when a picture arrives, so it need not sleep out
    // the whole idle period.
    QWaitCondition m_queueFilled;

    mutable QMutex m_encoderLock;
    // Replaced only while both locks are held, so either lock makes reading it safe.
    std::unique_ptr<H264Encoder> m_encoder;
    // Reused every cycle (worker thread only): no allocation per frame once
    // warm, unless the port still holds the previous cycle.
    QByteArray m_encoded;
    QByteArray m_cycle;

    std::atomic<int> m_brightness{0};
    int m_lastBrightness = 0;      // worker thread only
    bool m_framesHeldBack = false; // worker thread only
    std::atomic<int> m_versionRequest{0};
    std::atomic<int> m_modeChangeRequest{0};
    std::atomic<int> m_modeByte{0};

    std::atomic<int> m_uploadKind{0};
    std::atomic<int> m_acknowledge{0};
    std::atomic<int> m_uploadCancel{0};
    mutable QMutex m_uploadPathLock;
    QString m_uploadPath;
};
