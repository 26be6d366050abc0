#pragma once

#include "themepanel.h"

#include <QRect>

// Stands in for the capture panel until it exists: keeps the capture record
// (show frame, captured rectangle, visibility).
class PlaceholderCapturePanel : public ThemePanel
{
public:
    qint32 themeTag() const override;
    void clearTheme() override;
    void writeThemeRecord(QDataStream& out, const QString& resourceFolder) override;
    void readThemeRecord(ThemeRecordReader& in, const QString& themeFolder) override;

    bool showFrame() const { return m_showFrame; }
    QRect captureRect() const { return m_rect; }
    bool captureVisible() const { return m_visible; }

private:
    bool m_showFrame = false;
    QRect m_rect = QRect(0, 0, 480, 480);
    bool m_visible = false;
};
