#pragma once

#include <QList>
#include <QSize>
#include <QString>

// Measures the whole device link at one panel size: from Transport::send to
// the moment panelcast-emu, on the other end of a pseudo-terminal, has
// decoded the frame and logged it. One frame is in flight at a time, so the
// figure is the latency of an idle link, not of a queue.
class LinkLatencyBench
{
public:
    struct Row
    {
        QSize size;
        int frames = 0;
        double medianMs = 0;
        double p95Ms = 0;
        QString error;
    };

    static Row measure(const QString& emulator, const QSize& size, int frames);
    static QString table(const QList<Row>& rows);
};
