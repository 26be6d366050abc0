#pragma once

#include <QObject>

#include <memory>
#include <vector>

// One way of reading the master volume.
class VolumeBackend
{
public:
    virtual ~VolumeBackend() = default;
    // Sets the backend up; false when it is not available on this machine.
    // Must give up within a bounded time.
    virtual bool open() = 0;
    // The current master volume 0..100; must not block.
    virtual int percent() = 0;
    virtual const char* name() const = 0;
};

// The master sound volume: the first backend that opens serves every query;
// with none the volume reads 0 for the life of the process.
class SystemVolume : public QObject
{
    Q_OBJECT

public:
    // Platform backends: PulseAudio (also PipeWire through pipewire-pulse),
    // then the ALSA "Master" control.
    explicit SystemVolume(QObject* parent = nullptr);
    SystemVolume(std::vector<std::unique_ptr<VolumeBackend>> backends, QObject* parent = nullptr);
    ~SystemVolume() override;

    void initialise();
    int volume() const;
    // The backend in use, or empty.
    QString backendName() const;

    // Average channel volume against the server's 100 % level, rounded and
    // clamped to 0..100.
    static int percentFromPulseVolume(quint32 average, quint32 norm);
    // A control's raw value within its range, rounded, clamped to 0..100.
    static int percentFromRange(long value, long min, long max);

private:
    std::vector<std::unique_ptr<VolumeBackend>> m_backends;
    VolumeBackend* m_active = nullptr;
};
