#pragma once

#include "editorpanel.h"
#include "panelscenelink.h"

// Stands in for an item panel (icon, arc, bar) until the panel itself
// exists: it writes the panel's record with zero items, so saved files
// already have their final layout, and keeps the visibility flag of a record
// it reads in the scene's store. Items in a record are not recreated.
class PlaceholderPanel : public EditorPanel
{
public:
    PlaceholderPanel(qint32 tag, int storeSlot);

    qint32 themeTag() const override { return m_tag; }
    void clearTheme() override;
    void writeThemeRecord(QDataStream& out, const QString& resourceFolder) override;
    void readThemeRecord(ThemeRecordReader& in, const QString& themeFolder) override;

    void attachScene(DispScene* scene) override { m_link.attach(scene); }
    void pointAtScene(DispScene* scene) override { m_link.point(scene); }
    DispScene* scene() const override { return m_link.scene(); }
    QWidget* editor() override { return nullptr; }

    bool showAll() { return m_link.store().shown; }
    // Items the last record read held (and that this placeholder dropped).
    int droppedItems() const { return m_droppedItems; }

private:
    qint32 m_tag;
    PanelSceneLink m_link;
    int m_droppedItems = 0;
};
