#pragma once

#include "backgroundrecord.h"
#include "editorpanel.h"
#include "panelscenelink.h"

// Stands in for the background panel until it exists: keeps the background
// record (kind, colour, rotation, visibility, media) in the scene's
// background state, so that a theme saved after a load keeps its background
// and the rotation survives a device switch; copies the media into the
// theme's res folder when the theme is saved elsewhere.
class PlaceholderBackgroundPanel : public EditorPanel,
                                   public RotationRole,
                                   public DeviceSizeRole,
                                   public MediaRole
{
public:
    PlaceholderBackgroundPanel();

    qint32 themeTag() const override;
    void clearTheme() override;
    void writeThemeRecord(QDataStream& out, const QString& resourceFolder) override;
    void readThemeRecord(ThemeRecordReader& in, const QString& themeFolder) override;

    void attachScene(DispScene* scene) override { m_link.attach(scene); }
    void pointAtScene(DispScene* scene) override { m_link.point(scene); }
    DispScene* scene() const override { return m_link.scene(); }
    QWidget* editor() override { return nullptr; }

    // Turns the scene with the device: a quarter turn lays it out the other way round.
    void setRotation(int quarterTurns) override;
    int rotation() const override;
    void setDeviceSize(int width, int height) override;
    void stopMedia() override {}
    void pointMediaAt(const QString& stem) override;

    BackgroundRecord background() const;
    void setBackground(const BackgroundRecord& record, const QString& mediaPath);
    // Full path of the background picture or video; empty for a colour.
    QString mediaPath() const;

private:
    void fitScene();

    mutable PanelSceneLink m_link;
    int m_width = 0;
    int m_height = 0;
};
