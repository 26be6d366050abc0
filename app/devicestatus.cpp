#include "devicestatus.h"

#include "cdctransport.h"
#include "devicemodels.h"
#include "disphomepage.h"
#include "segparaminfo.h"
#include "transport.h"

#include <QCoreApplication>
#include <QSet>

namespace {

QString usbPair(int vid, int pid)
{
    return QStringLiteral("%1:%2")
        .arg(vid, 4, 16, QLatin1Char('0'))
        .arg(pid, 4, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace

DeviceStatus::DeviceStatus(DispHomePage* page, const QString& mode, QObject* parent)
    : QObject(parent), m_page(page), m_mode(mode)
{
    // The page makes its device context on the same signal first.
    connect(page, &DispHomePage::deviceInserted, this, [this](const QString& port) { onInserted(port); });
    m_second.setInterval(1000);
    connect(&m_second, &QTimer::timeout, this, &DeviceStatus::tick);
    m_second.start();
}

void DeviceStatus::onInserted(const QString& port)
{
    m_activity[port] = Activity();
    for (const auto& context : m_page->displayDevices()) {
        if (context->port == port && context->scene != nullptr) {
            Transport* transport = context->transport();
            connect(transport, &Transport::emitSendData, this, [this, port] { ++m_activity[port].written; });
            watchAdapter(port, &transport->adapter());
        }
    }
    for (const auto& context : m_page->digitalDevices()) {
        if (context->port == port && context->info != nullptr) {
            connect(context->info, &SegParamInfo::emitSendData, this,
                    [this, port] { ++m_activity[port].written; });
            watchAdapter(port, context->info->transport());
        }
    }
}

void DeviceStatus::watchAdapter(const QString& port, cdcTransport* adapter)
{
    if (!adapter->isPortOpen()) {
        m_activity[port].lastError = QStringLiteral("cannot open the port: ") + adapter->errorString();
    }
    connect(adapter, &cdcTransport::emitError, this,
            [this, port, adapter] { m_activity[port].lastError = adapter->errorString(); });
}

void DeviceStatus::tick()
{
    QSet<QString> present;
    for (const auto& context : m_page->displayDevices()) {
        present.insert(context->port);
    }
    for (const auto& context : m_page->digitalDevices()) {
        present.insert(context->port);
    }
    for (auto it = m_activity.begin(); it != m_activity.end();) {
        if (!present.contains(it.key())) {
            it = m_activity.erase(it);
            continue;
        }
        it->perSecond = it->written;
        it->written = 0;
        ++it;
    }
}

QJsonObject DeviceStatus::status() const
{
    QJsonArray devices;
    for (const auto& context : m_page->displayDevices()) {
        const Activity activity = m_activity.value(context->port);
        const bool open = context->scene != nullptr && context->transport()->isOpen();
        QString state = QStringLiteral("closed");
        if (open) {
            state = context->identified() ? QStringLiteral("streaming") : QStringLiteral("searching");
        }
        devices.append(QJsonObject{
            {QStringLiteral("port"), context->port},
            {QStringLiteral("family"), QStringLiteral("display")},
            {QStringLiteral("usb"), usbPair(context->vendorId, context->productId)},
            {QStringLiteral("size"), context->identified()
                                         ? QStringLiteral("%1x%2").arg(context->width).arg(context->height)
                                         : QString()},
            {QStringLiteral("state"), state},
            {QStringLiteral("fps"), activity.perSecond},
            {QStringLiteral("theme"), context->themePath},
            {QStringLiteral("lastError"), activity.lastError},
        });
    }
    for (const auto& context : m_page->digitalDevices()) {
        const Activity activity = m_activity.value(context->port);
        const bool open = context->info != nullptr && context->info->isOpened();
        devices.append(QJsonObject{
            {QStringLiteral("port"), context->port},
            {QStringLiteral("family"), QStringLiteral("digital")},
            {QStringLiteral("state"), open ? QStringLiteral("effects") : QStringLiteral("closed")},
            {QStringLiteral("fps"), activity.perSecond},
            {QStringLiteral("lastError"), activity.lastError},
        });
    }
    return QJsonObject{
        {QStringLiteral("pid"), QCoreApplication::applicationPid()},
        {QStringLiteral("mode"), m_mode},
        {QStringLiteral("state"), m_state},
        {QStringLiteral("devices"), devices},
    };
}
