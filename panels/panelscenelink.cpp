#include "panelscenelink.h"

PanelSceneLink::PanelSceneLink(int slot, ItemHandler selected, ItemHandler deleted)
    : m_slot(slot), m_selected(std::move(selected)), m_deleted(std::move(deleted))
{
}

PanelSceneLink::~PanelSceneLink()
{
    disconnect();
}

void PanelSceneLink::disconnect()
{
    QObject::disconnect(m_selectedConnection);
    QObject::disconnect(m_deletedConnection);
}

void PanelSceneLink::attach(DispScene* scene)
{
    point(scene);
    if (scene == nullptr) {
        return;
    }
    if (m_selected) {
        m_selectedConnection = QObject::connect(scene, &DispScene::currentSelectItem, m_selected);
    }
    if (m_deleted) {
        m_deletedConnection = QObject::connect(scene, &DispScene::deleteSelectItem, m_deleted);
    }
    prune();
}

void PanelSceneLink::prune()
{
    if (m_scene.isNull()) {
        return;
    }
    // Items that left the scene are only compared, never touched: they may
    // be waiting for deletion.
    DispScene::PanelStore& kept = store();
    const QList<QGraphicsItem*> onScene = m_scene->items();
    QGraphicsItem* current = kept.items.value(kept.current, nullptr);
    for (int i = kept.items.size() - 1; i >= 0; --i) {
        if (!onScene.contains(kept.items.at(i))) {
            kept.items.removeAt(i);
        }
    }
    kept.current = kept.items.indexOf(current);
    if (kept.current < 0 && !kept.items.isEmpty()) {
        kept.current = 0;
    }
}

void PanelSceneLink::point(DispScene* scene)
{
    disconnect();
    m_scene = scene;
}

DispScene::PanelStore& PanelSceneLink::store()
{
    if (m_scene.isNull() || m_slot < 0 || m_slot >= DispScene::kPanelStoreCount) {
        return m_ownStore;
    }
    return m_scene->panelStore(m_slot);
}

DispScene::BackgroundState& PanelSceneLink::backgroundState()
{
    return m_scene.isNull() ? m_ownBackground : m_scene->backgroundState();
}

void PanelSceneLink::edited() const
{
    if (!m_scene.isNull()) {
        m_scene->startDeselectCountdown();
    }
}
