#pragma once

#include <QGraphicsScene>

// Placeholder of the per-device editing scene: only the sizing the main
// window and the home page need today. The frame pump, the transport and the
// widget operations replace it.
class DispScene : public QGraphicsScene
{
    Q_OBJECT

public:
    explicit DispScene(QObject* parent = nullptr);

    // First sizing: scene rectangle (0, 0, width, height).
    void setSceneSize(int width, int height);

    void setRotation(int quarterTurns) { m_rotation = quarterTurns; }
    int rotation() const { return m_rotation; }

private:
    int m_rotation = 0;
};
