#pragma once

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QTimer>

class DispHomePage;
class cdcTransport;

// What panelcast-ctl status shows of this process: one entry per device the
// home page keeps (port, family, USB pair, panel size, state, theme), the
// buffers written to it in the last second (frames of a display, effect
// packets of a seven-segment panel) and the last port error.
class DeviceStatus : public QObject
{
    Q_OBJECT

public:
    // mode: "window" or "headless". The page must outlive this object.
    DeviceStatus(DispHomePage* page, const QString& mode, QObject* parent = nullptr);

    // The process's state word: "driving" or "standing by" (another process owns the devices).
    void setState(const QString& state) { m_state = state; }
    QJsonObject status() const;

private:
    void onInserted(const QString& port);
    void watchAdapter(const QString& port, cdcTransport* adapter);
    void tick();

    struct Activity
    {
        int written = 0; // buffers since the last tick
        int perSecond = 0;
        QString lastError;
    };

    DispHomePage* m_page;
    QString m_mode;
    QString m_state = QStringLiteral("driving");
    QHash<QString, Activity> m_activity;
    QTimer m_second;
};
