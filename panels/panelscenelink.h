#pragma once

#include "dispscene.h"

#include <QMetaObject>
#include <QPointer>

#include <functional>

// The scene bookkeeping every editor panel shares: the scene it acts on, the
// two scene signals it listens to while attached, and that scene's store for
// the panel. Without a scene (or after the scene is gone) the store is a
// private one, so a panel never needs a null check before using it.
class PanelSceneLink
{
public:
    using ItemHandler = std::function<void(QGraphicsItem*)>;

    // slot: the panel's PanelStoreSlot, or -1 for a panel without a store.
    // The handlers run for the attached scene's currentSelectItem and
    // deleteSelectItem (either may be empty).
    PanelSceneLink(int slot, ItemHandler selected, ItemHandler deleted);
    ~PanelSceneLink();
    PanelSceneLink(const PanelSceneLink&) = delete;
    PanelSceneLink& operator=(const PanelSceneLink&) = delete;

    // Connects scene (after disconnecting the previous one) and drops the
    // store's entries that are no longer items of the scene.
    void attach(DispScene* scene);
    // Pointer only: disconnects, nothing is read.
    void point(DispScene* scene);
    // Drops the store's entries that are no longer items of the scene (a
    // theme load clears the scene's widgets before the panels).
    void prune();
    DispScene* scene() const { return m_scene.data(); }

    DispScene::PanelStore& store();
    DispScene::BackgroundState& backgroundState();
    // The scene's deselect countdown after an edit, when there is a scene.
    void edited() const;

private:
    void disconnect();

    int m_slot;
    ItemHandler m_selected;
    ItemHandler m_deleted;
    QPointer<DispScene> m_scene;
    QMetaObject::Connection m_selectedConnection;
    QMetaObject::Connection m_deletedConnection;
    DispScene::PanelStore m_ownStore;
    DispScene::BackgroundState m_ownBackground;
};
