#include "dispscene.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcScene, "panelcast.scene")

DispScene::DispScene(QObject* parent) : QGraphicsScene(parent)
{
    setItemIndexMethod(QGraphicsScene::NoIndex);
}

void DispScene::setSceneSize(int width, int height)
{
    qCDebug(lcScene) << "DispScene::setSceneSize" << width << height;
    setSceneRect(0, 0, width, height);
}
