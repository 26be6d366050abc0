#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QTimer>

class DispScene;
class Transport;

// Streams a scene to its device link: every 33 ms the scene is rendered on
// white at its size, turned by its rotation, placed on the encoder's image
// for the panel models that encode wider, and handed to the transport. Keeps
// the last upright frame for the home page's preview.
class SceneFramePump : public QObject
{
    Q_OBJECT

public:
    static constexpr int kFrameIntervalMs = 33;

    SceneFramePump(DispScene* scene, Transport* transport, QObject* parent = nullptr);

    void start();
    void stop();
    bool isActive() const { return m_timer.isActive(); }

    // The last rendered frame, upright and unpadded; null before the first.
    QImage frameImage() const { return m_frame; }

public slots:
    void pumpFrame();

private:
    QPointer<DispScene> m_scene;
    Transport* m_transport;
    QTimer m_timer;
    QImage m_frame;
};
