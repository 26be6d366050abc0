#pragma once

#include "backgroundrecord.h"
#include "themepanel.h"

// Stands in for the background panel until it exists: keeps the background
// record (kind, colour, rotation, visibility, media) so that a theme saved
// after a load keeps its background, and copies the media into the new
// theme's res folder when the theme is saved elsewhere.
class PlaceholderBackgroundPanel : public ThemePanel
{
public:
    qint32 themeTag() const override;
    void clearTheme() override;
    void writeThemeRecord(QDataStream& out, const QString& resourceFolder) override;
    void readThemeRecord(ThemeRecordReader& in, const QString& themeFolder) override;

    const BackgroundRecord& background() const { return m_record; }
    void setBackground(const BackgroundRecord& record, const QString& mediaPath);

    int rotation() const { return m_record.rotation; }
    void setRotation(int quarterTurns);

    // Full path of the background picture or video; empty for a colour.
    QString mediaPath() const { return m_mediaPath; }

private:
    BackgroundRecord m_record;
    QString m_mediaPath;
};
