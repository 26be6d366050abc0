#include "segscene.h"

#include "dispsensormanager.h"
#include "segdigits.h"
#include "segnumber.h"

#include <QBrush>
#include <QFont>
#include <QGraphicsSimpleTextItem>

namespace {

constexpr int kDigitX[3] = {40, 140, 240};
constexpr int kRowY[2] = {100, 260};

QGraphicsSimpleTextItem* makeLabel(QGraphicsScene* scene, const QString& text, int pixelSize, QPointF pos)
{
    auto* label = new QGraphicsSimpleTextItem(text);
    QFont font(QStringLiteral("Microsoft YaHei"));
    // Sizes chosen as points are used as device pixels, like every label.
    font.setPixelSize(pixelSize);
    label->setFont(font);
    label->setBrush(QColor(Qt::red));
    label->setPen(Qt::NoPen);
    label->setPos(pos);
    label->setFlag(QGraphicsItem::ItemIsMovable, false);
    label->setFlag(QGraphicsItem::ItemIsSelectable, false);
    label->setFlag(QGraphicsItem::ItemSendsGeometryChanges, false);
    scene->addItem(label);
    return label;
}

QColor toColour(uint32_t rgb)
{
    return QColor::fromRgb(QRgb(rgb | 0xFF000000U));
}

} // namespace

SegScene::SegScene(DispSensorManager* manager, QObject* parent) : QGraphicsScene(parent), m_manager(manager)
{
    setSceneRect(0, 0, kWidth, kHeight);
    setBackgroundBrush(Qt::black);

    m_sourceLabel = makeLabel(this, QStringLiteral("CPU"), 16, QPointF(40, 65));
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 3; ++i) {
            auto* number = new SegNumber;
            number->setPos(kDigitX[i], kRowY[row]);
            addItem(number);
            m_digits[row][i] = number;
        }
    }
    m_temperatureUnit = makeLabel(this, QStringLiteral("°C"), 22, QPointF(345, 98));
    m_usageUnit = makeLabel(this, QStringLiteral("%"), 22, QPointF(345, 355));
    showNumbers();

    if (m_manager) {
        // The manager publishes from its own thread; the scene reads in its own.
        connect(m_manager, &DispSensorManager::updateDisplayData, this, &SegScene::updateData);
    }
    m_timer.setInterval(SegEffect::kStepIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &SegScene::stepEffect);
    m_timer.start();
}

SegNumber* SegScene::digit(int row, int position) const
{
    if (row < 0 || row > 1 || position < 0 || position > 2) {
        return nullptr;
    }
    return m_digits[row][position];
}

void SegScene::updateData()
{
    if (!m_manager) {
        updateFromCatalogue({}, SegReadings::Machine());
        return;
    }
    SegReadings::Machine machine;
    machine.intelCpu = m_manager->cpuVendor() == DispSensorManager::IntelCpu;
    machine.integratedGpu = m_manager->hasIntegratedGpu();
    updateFromCatalogue(m_manager->catalogue(), machine);
}

void SegScene::updateFromCatalogue(const QVector<SensorReading>& catalogue,
                                   const SegReadings::Machine& machine)
{
    m_temperature = SegReadings::wholeValue(
        catalogue, SegReadings::temperatureRecord(catalogue, m_source, machine), m_temperature);
    m_usage =
        SegReadings::wholeValue(catalogue, SegReadings::usageRecord(catalogue, m_source, machine), m_usage);
    showNumbers();
    emit updateMonitorData(m_temperature, m_usage);
    update();
}

void SegScene::setSource(int source)
{
    m_source = source == SegReadings::Gpu ? SegReadings::Gpu : SegReadings::Cpu;
    m_sourceLabel->setText(m_source == SegReadings::Gpu ? QStringLiteral("GPU") : QStringLiteral("CPU"));
}

void SegScene::updateEffectParam(quint32 type, qint32 onoff, quint32 color, quint32 light, qint32 function,
                                 double angle)
{
    SegEffectParams params;
    params.type = type;
    params.onoff = onoff;
    params.color = color;
    params.light = light;
    params.function = function;
    params.angle = angle;
    m_effect.setParams(params);
}

void SegScene::stepEffect()
{
    const SegEffect::Frame frame = m_effect.step(m_temperature);
    if (frame.send) {
        applyColours(frame.colours);
    }
}

void SegScene::showNumbers()
{
    const std::array<int, 2> values = {m_temperature, m_usage};
    for (int row = 0; row < 2; ++row) {
        const std::array<int, 3> shown = SegDigits::digits(values[row]);
        for (int i = 0; i < 3; ++i) {
            m_digits[row][i]->setNumber(shown[i]);
        }
    }
}

void SegScene::applyColours(const std::array<uint32_t, SegEffect::kZones>& zones)
{
    // Zone 1: hundreds and the source label; 2: tens; 3: ones; 4: the units.
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 3; ++i) {
            m_digits[row][i]->setColor(toColour(zones[i]));
        }
    }
    m_sourceLabel->setBrush(toColour(zones[0]));
    m_temperatureUnit->setBrush(toColour(zones[3]));
    m_usageUnit->setBrush(toColour(zones[3]));
}
