#include "sceneframepump.h"

#include "devicemodels.h"
#include "dispscene.h"
#include "transport.h"

#include <QPainter>
#include <QTransform>

SceneFramePump::SceneFramePump(DispScene* scene, Transport* transport, QObject* parent)
    : QObject(parent), m_scene(scene), m_transport(transport)
{
    m_timer.setInterval(kFrameIntervalMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SceneFramePump::pumpFrame);
}

void SceneFramePump::start()
{
    m_timer.start();
}

void SceneFramePump::stop()
{
    m_timer.stop();
}

void SceneFramePump::pumpFrame()
{
    if (!m_scene) {
        return;
    }
    const QSize sceneSize = m_scene->sceneRect().size().toSize();
    if (sceneSize.isEmpty()) {
        return;
    }
    QImage frame(sceneSize, QImage::Format_ARGB32);
    frame.fill(Qt::white);
    {
        QPainter painter(&frame);
        painter.setRenderHint(QPainter::Antialiasing);
        m_scene->render(&painter, QRectF(QPointF(0, 0), sceneSize), m_scene->sceneRect());
    }
    m_frame = frame;

    if (m_transport == nullptr || !m_transport->isOpen()) {
        return;
    }
    const int quarterTurns = ((m_scene->rotation() % 4) + 4) % 4;
    QImage turned = quarterTurns == 0 ? frame : frame.transformed(QTransform().rotate(90.0 * quarterTurns));
    const QSize panel(m_transport->panelWidth(), m_transport->panelHeight());
    if (turned.size() != panel) {
        // The panel was resized meanwhile; the next frame has the new size.
        return;
    }
    const EncoderLayout layout =
        DeviceModels::encoderLayout(panel, m_transport->vendorId(), m_transport->productId());
    if (layout.isPadded(panel)) {
        QImage padded(layout.encoderSize, QImage::Format_ARGB32);
        padded.fill(Qt::transparent);
        QPainter painter(&padded);
        painter.drawImage(layout.pictureOffset, turned);
        painter.end();
        turned = padded;
    }
    m_transport->send(turned);
}
