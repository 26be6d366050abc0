#pragma once

#include "ffmpegutils.h"

#include <QImage>
#include <QMutex>
#include <QSemaphore>
#include <QString>
#include <QThread>
#include <QWaitCondition>

#include <atomic>
#include <limits>
#include <memory>

class QImageReader;

// The frame source of an image widget and of the clipping tool's preview: a
// thread that opens stills, GIF/WebP animations and videos with FFmpeg,
// converts each frame to BGRA and announces it with frameUpdated. Pacing is a
// one-frame handshake: after each frame the thread sleeps out the rest of its
// interval and then waits for the permit its consumer gives with requestFrame.
// Animated WebP, which FFmpeg cannot decode, is read frame by frame through
// Qt's image reader behind the same interface.
class DispVideoDecoder : public QThread
{
    Q_OBJECT

public:
    static constexpr double kDefaultIntervalMs = 40.0;
    static constexpr double kMinimumIntervalMs = 25.0;
    static constexpr double kMaximumSpeedFps = 60.0;
    static constexpr int kUnlimitedFrames = 0x7FFFFFFF;
    // Larger frames are refused: one BGRA frame must stay a sane allocation.
    static constexpr int kMaxSide = 8192;

    struct MediaInfo
    {
        bool valid = false;
        int width = 0;
        int height = 0;
        int frameCount = 0;
        qint64 durationS = 0;
    };

    explicit DispVideoDecoder(QObject* parent = nullptr);
    ~DispVideoDecoder() override;

    DispVideoDecoder(const DispVideoDecoder&) = delete;
    DispVideoDecoder& operator=(const DispVideoDecoder&) = delete;

    // Opens path unless it is already open and force is false.
    void setPath(const QString& path, bool force);
    // Always reopens path; wakes the thread when the file opened.
    void reSetPath(const QString& path);
    void requestFrame();
    // Exactly one permit available afterwards.
    void wake();
    void setSpeed(float fps);
    // Limits playback to the frames of [startS, endS) at the stream's frame
    // rate (at least one) and returns the limit.
    int getFrameCount(qint64 startS, qint64 endS);
    void seekToSecond(qint64 seconds);
    MediaInfo mediaInfo();
    QImage currentFrame() const;
    double currentSeconds() const { return m_currentSeconds.load(); }
    QString path() const;
    void closeMediaLocked();
    // Before destruction: interrupts the thread and waits for it to end.
    void stop();

    // Written by the clipping tool; playback restarts at the loop start.
    void setLoopStart(qint64 seconds) { m_loopStartS.store(seconds); }
    qint64 loopStart() const { return m_loopStartS.load(); }
    void setLoopEnd(qint64 seconds) { m_loopEndS.store(seconds); }
    qint64 loopEnd() const { return m_loopEndS.load(); }
    bool frameRequested() const { return m_frameRequested.load(); }
    bool isReady() const { return m_ready.load(); }
    double frameIntervalMs() const { return m_frameIntervalMs.load(); }
    int framesDecoded() const { return m_framesDecoded.load(); }
    int frameLimit() const { return m_frameLimit.load(); }

signals:
    void frameUpdated();

protected:
    void run() override;

private:
    bool openMedia(const char* method);
    bool openAnimation(const char* method);
    void closeMedia();
    void decodeOneFrame();
    void decodeAnimationFrame();
    int receiveFrame(bool discard);
    void seekUnlocked(qint64 seconds);
    void publish(const QImage& frame);
    QImage& frameBuffer(int width, int height);
    void sleepMs(int ms);
    static int interruptCallback(void* opaque);

    std::atomic<bool> m_ready{false};
    std::atomic<bool> m_frameRequested{false};
    std::atomic<qint64> m_loopStartS{0};
    std::atomic<qint64> m_loopEndS{std::numeric_limits<qint64>::max()};
    std::atomic<double> m_frameIntervalMs{kDefaultIntervalMs};
    std::atomic<double> m_currentSeconds{0.0};
    std::atomic<int> m_framesDecoded{0};
    std::atomic<int> m_streamFrameCount{0};
    std::atomic<int> m_frameLimit{kUnlimitedFrames};

    // FFmpeg state, guarded by m_decoderLock.
    FFmpeg::FormatContextPtr m_format;
    FFmpeg::CodecContextPtr m_codec;
    FFmpeg::FramePtr m_frame;
    FFmpeg::PacketPtr m_packet;
    FFmpeg::SwsContextPtr m_scaler;
    int m_streamIndex = -1;
    double m_frameRate = 0.0;
    // Two BGRA buffers taken in turn, so the GUI thread's copy of the last
    // frame is never written to.
    QImage m_buffers[2];
    int m_nextBuffer = 0;
    std::unique_ptr<QImageReader> m_animation;
    QMutex m_decoderLock;

    mutable QMutex m_frameLock;
    QImage m_currentFrame;
    mutable QMutex m_pathLock;
    QString m_path;

    QSemaphore m_permits{0};
    QMutex m_sleepLock;
    QWaitCondition m_sleepWake;
};
