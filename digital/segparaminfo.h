#pragma once

#include "segeffect.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class SegScene;
class cdcTransport;

// The lighting parameters of one seven-segment device and its effect loop:
// from construction to destruction it sends the current effect's packet
// every 50 ms through its own serial adapter, carrying the temperature and
// usage the preview scene last published.
class SegParamInfo : public QObject
{
    Q_OBJECT

public:
    // `scene` may be null (no numbers then: both stay 0).
    explicit SegParamInfo(SegScene* scene, QObject* parent = nullptr);
    ~SegParamInfo() override;

    SegParamInfo(const SegParamInfo&) = delete;
    SegParamInfo& operator=(const SegParamInfo&) = delete;

    // Opens the device's port; true on success.
    bool open(const QString& portName);
    QString portName() const { return m_portName; }
    bool isOpened() const { return m_opened; }
    bool isRunning() const { return m_timer.isActive(); }

    // Stores all six parameters. A change of type to breathing, gradient or
    // rainbow restarts that animation at the next step.
    void updateEffectParam(quint32 type, qint32 onoff, quint32 color, quint32 light, qint32 function,
                           double angle);
    const SegEffectParams& params() const { return m_effect.params(); }
    int temperature() const { return m_temperature; }
    int usage() const { return m_usage; }

    cdcTransport* transport() const { return m_transport; }

signals:
    void emitSendData(QByteArray data);

public slots:
    // One 50 ms step: the packet of the current effect (none for load
    // linkage and above).
    void runDititalEffect();

private slots:
    void storeMonitorData(int temp, int usage);

private:
    QString m_portName;
    bool m_opened = false;
    cdcTransport* m_transport = nullptr;
    int m_temperature = 0;
    int m_usage = 0;
    QTimer m_timer;
    SegEffect m_effect;
};
