#pragma once

#include "segeffect.h"
#include "segreadings.h"

#include <QGraphicsScene>
#include <QTimer>

#include <array>

class DispSensorManager;
class QGraphicsSimpleTextItem;
class SegNumber;

// On-screen preview of a seven-segment panel: the CPU or GPU temperature and
// usage in six digits under the same lighting effect the panel runs. Also
// the source of the two numbers every packet to the panel carries.
class SegScene : public QGraphicsScene
{
    Q_OBJECT

public:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 480;

    enum Row
    {
        TemperatureRow = 0,
        UsageRow = 1,
    };

    // Follows `manager`'s readings (none when null).
    explicit SegScene(DispSensorManager* manager, QObject* parent = nullptr);

    int source() const { return m_source; }
    int temperature() const { return m_temperature; }
    int usage() const { return m_usage; }
    const SegEffectParams& effectParams() const { return m_effect.params(); }

    // Digit `position` (0 hundreds, 1 tens, 2 ones) of a row.
    SegNumber* digit(int row, int position) const;
    QGraphicsSimpleTextItem* sourceLabel() const { return m_sourceLabel; }
    QGraphicsSimpleTextItem* temperatureUnitLabel() const { return m_temperatureUnit; }
    QGraphicsSimpleTextItem* usageUnitLabel() const { return m_usageUnit; }

    // Recomputes both numbers from a catalogue snapshot, shows them and
    // publishes them with updateMonitorData. A number without a record keeps
    // its previous value.
    void updateFromCatalogue(const QVector<SensorReading>& catalogue, const SegReadings::Machine& machine);

    // 0 CPU, 1 GPU; anything else counts as CPU.
    void setSource(int source);

signals:
    void updateMonitorData(int temp, int usage);

public slots:
    // Takes both numbers from the sensor manager's latest readings.
    void updateData();
    void updateEffectParam(quint32 type, qint32 onoff, quint32 color, quint32 light, qint32 function,
                           double angle);
    // One 50 ms step of the lighting effect; run by the scene's timer.
    void stepEffect();

private:
    void showNumbers();
    void applyColours(const std::array<uint32_t, SegEffect::kZones>& zones);

    DispSensorManager* m_manager = nullptr;
    int m_source = SegReadings::Cpu;
    int m_temperature = 0;
    int m_usage = 0;
    SegEffect m_effect;
    QTimer m_timer;

    QGraphicsSimpleTextItem* m_sourceLabel = nullptr;
    QGraphicsSimpleTextItem* m_temperatureUnit = nullptr;
    QGraphicsSimpleTextItem* m_usageUnit = nullptr;
    std::array<std::array<SegNumber*, 3>, 2> m_digits{};
};
