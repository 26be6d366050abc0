#pragma once

#include "controlchannel.h"

#include <QObject>
#include <QTimer>

#include <memory>

class DeviceStatus;
class DispHomePage;
class DispScene;
class HoldablePorts;

// `panelcast --headless`: the home page without a window or tray. Every
// attached display streams the theme last opened for its panel size, every
// seven-segment panel runs its effect, plugs and unplugs are followed by the
// same port scan as in the window. While the window runs it owns the
// devices: the service lets go of them (its scan sees no ports) and takes
// them back a second after the window ended. SIGINT and SIGTERM close every
// port and end the process.
class HeadlessRunner : public QObject
{
    Q_OBJECT

public:
    static constexpr int kResumeDelayMs = 1000;

    explicit HeadlessRunner(QObject* parent = nullptr);
    ~HeadlessRunner() override;

    // Claims the headless control socket and builds the page; false with
    // error set when another headless instance runs or the socket cannot be made.
    bool start(QString* error);
    bool isHeld() const;

    // Lets go of every device and ends the event loop.
    void quit();

private:
    void setHeld(bool held);
    void windowGone();

    ControlServer m_server;
    // Open while a window process runs: it owns the devices meanwhile.
    QLocalSocket m_windowWatch;
    HoldablePorts* m_ports = nullptr; // owned by the page's scanner
    std::unique_ptr<DispScene> m_placeholder;
    std::unique_ptr<DispHomePage> m_page;
    DeviceStatus* m_status = nullptr;
    QTimer m_resume;
};
