#pragma once

#include "editorpanel.h"
#include "panelscenelink.h"

#include <QRect>

// Stands in for the capture panel until it exists: keeps the capture record
// (show frame, captured rectangle, visibility) in the scene's capture store.
class PlaceholderCapturePanel : public EditorPanel
{
public:
    PlaceholderCapturePanel();

    qint32 themeTag() const override;
    void clearTheme() override;
    void writeThemeRecord(QDataStream& out, const QString& resourceFolder) override;
    void readThemeRecord(ThemeRecordReader& in, const QString& themeFolder) override;

    void attachScene(DispScene* scene) override { m_link.attach(scene); }
    void pointAtScene(DispScene* scene) override { m_link.point(scene); }
    DispScene* scene() const override { return m_link.scene(); }
    QWidget* editor() override { return nullptr; }

    bool showFrame();
    QRect captureRect();
    bool captureVisible() { return m_link.store().shown; }

private:
    PanelSceneLink m_link;
};
