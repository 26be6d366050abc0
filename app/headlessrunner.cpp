#include "headlessrunner.h"

#include "applogging.h"
#include "devicescanner.h"
#include "devicestatus.h"
#include "disphomepage.h"
#include "dispscene.h"
#include "systemportenumerator.h"
#include "themedialogs.h"

#include <QCoreApplication>

// The machine's ports, or none while another process owns the devices: the
// page's own scan then removes every device the usual way, closing its port.
class HoldablePorts : public PortEnumerator
{
public:
    QList<SerialPortEntry> availablePorts() override
    {
        return m_held ? QList<SerialPortEntry>() : m_system.availablePorts();
    }
    bool m_held = false;

private:
    SystemPortEnumerator m_system;
};

HeadlessRunner::HeadlessRunner(QObject* parent) : QObject(parent)
{
    m_resume.setSingleShot(true);
    m_resume.setInterval(kResumeDelayMs);
    connect(&m_resume, &QTimer::timeout, this, [this] { setHeld(false); });
    connect(&m_server, &ControlServer::holdStarted, this, [this] { setHeld(true); });
    // The window closes its ports while it exits; give it a moment.
    connect(&m_server, &ControlServer::holdEnded, this, [this] { windowGone(); });
    connect(&m_windowWatch, &QLocalSocket::disconnected, this, &HeadlessRunner::windowGone);
}

HeadlessRunner::~HeadlessRunner()
{
    m_page.reset();
}

bool HeadlessRunner::start(QString* error)
{
    if (!m_server.listen(ControlChannel::socketPath(ControlChannel::Role::Headless), error)) {
        return false;
    }
    auto ports = std::make_unique<HoldablePorts>();
    m_ports = ports.get();
    m_placeholder = std::make_unique<DispScene>();
    m_page = std::make_unique<DispHomePage>(m_placeholder.get(), std::move(ports), nullptr);
    m_page->stopPreview();
    m_status = new DeviceStatus(m_page.get(), QStringLiteral("headless"), this);
    m_server.setStatusProvider([this] { return m_status->status(); });

    // A window already running owns the devices until it ends.
    m_windowWatch.connectToServer(ControlChannel::socketPath(ControlChannel::Role::Window));
    if (m_windowWatch.waitForConnected(1000)) {
        qCDebug(lcApp) << "HeadlessRunner: the window owns the devices; standing by";
        setHeld(true);
    }
    return true;
}

bool HeadlessRunner::isHeld() const
{
    return m_ports != nullptr && m_ports->m_held;
}

void HeadlessRunner::setHeld(bool held)
{
    if (held) {
        m_resume.stop();
    }
    if (m_ports == nullptr || m_ports->m_held == held) {
        return;
    }
    qCDebug(lcApp) << "HeadlessRunner:" << (held ? "letting go of the devices" : "taking the devices back");
    m_ports->m_held = held;
    m_status->setState(held ? QStringLiteral("standing by") : QStringLiteral("driving"));
    // Removals close the ports now, before the holder is told "released".
    m_page->scanner()->scan();
}

void HeadlessRunner::windowGone()
{
    if (m_server.holdCount() == 0 && m_windowWatch.state() != QLocalSocket::ConnectedState && isHeld()) {
        m_resume.start();
    }
}

void HeadlessRunner::quit()
{
    qCDebug(lcApp) << "HeadlessRunner::quit";
    m_resume.stop();
    if (m_page) {
        m_page->scanner()->stop();
        m_page->releaseAllDevices();
    }
    QCoreApplication::exit(0);
}
