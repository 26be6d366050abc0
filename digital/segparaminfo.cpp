#include "segparaminfo.h"

#include "cdctransport.h"
#include "digitallogging.h"
#include "packets.h"
#include "segscene.h"

SegParamInfo::SegParamInfo(SegScene* scene, QObject* parent)
    : QObject(parent), m_transport(new cdcTransport(this))
{
    m_effect.setParams(SegEffectParams());
    connect(this, &SegParamInfo::emitSendData, m_transport, &cdcTransport::slotSendData);
    if (scene) {
        connect(scene, &SegScene::updateMonitorData, this, &SegParamInfo::storeMonitorData);
    }
    m_timer.setInterval(SegEffect::kStepIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &SegParamInfo::runDititalEffect);
    m_timer.start();
}

SegParamInfo::~SegParamInfo()
{
    if (m_transport->isPortOpen()) {
        m_transport->closePort();
        m_opened = false;
    }
    m_timer.stop();
}

bool SegParamInfo::open(const QString& portName)
{
    if (!m_transport->openPort(portName)) {
        qCDebug(lcDigital) << "SegParamInfo::open: cannot open" << portName;
        return false;
    }
    m_portName = portName;
    m_opened = true;
    return true;
}

void SegParamInfo::updateEffectParam(quint32 type, qint32 onoff, quint32 color, quint32 light,
                                     qint32 function, double angle)
{
    SegEffectParams params;
    params.type = type;
    params.onoff = onoff > 0 ? 1 : 0;
    params.color = color;
    params.light = light;
    params.function = function;
    params.angle = angle;
    m_effect.setParams(params);
}

void SegParamInfo::runDititalEffect()
{
    const SegEffect::Frame frame = m_effect.step(m_temperature);
    if (!frame.send) {
        return;
    }
    const auto type = uint8_t(m_effect.params().type);
    if (frame.quad) {
        emit emitSendData(Packets::segmentQuad(type, frame.colours, m_temperature, m_usage));
    } else {
        emit emitSendData(Packets::segmentSingle(type, frame.colours[0], m_temperature, m_usage));
    }
}

void SegParamInfo::storeMonitorData(int temp, int usage)
{
    m_temperature = temp;
    m_usage = usage;
}
