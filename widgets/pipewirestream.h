#pragma once

#include "streamframe.h"

#include <QImage>
#include <QMutex>
#include <QObject>

#include <memory>

// Reads one video node of a PipeWire remote (the screen-cast portal's) on
// PipeWire's own thread and keeps the latest picture for the GUI thread.
// Only memory buffers are asked for, so every frame can be copied with the
// CPU; each one goes through StreamFrame::toImage.
class PipeWireStream : public QObject
{
    Q_OBJECT

public:
    explicit PipeWireStream(QObject* parent = nullptr);
    ~PipeWireStream() override;
    PipeWireStream(const PipeWireStream&) = delete;
    PipeWireStream& operator=(const PipeWireStream&) = delete;

    // remoteFd is duplicated; the caller keeps its own. False (with failed)
    // when the remote cannot be used.
    bool open(int remoteFd, quint32 nodeId);
    void close();
    QImage latestFrame() const;

    // Called on PipeWire's thread.
    void takeFrame(QImage frame);
    void reportError(const QString& message);

signals:
    // Queued to the GUI thread.
    void failed(const QString& message);

public:
    struct Private;

private:
    std::unique_ptr<Private> d;
    mutable QMutex m_frameLock;
    QImage m_latest;
};
