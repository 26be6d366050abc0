#pragma once

#include "themepanel.h"

// Stands in for an item panel (custom text, system information, time, icon,
// arc, bar) until the panel itself exists: it writes the panel's record with
// zero items, so saved files already have their final layout, and keeps the
// visibility flag of a record it reads. Items in a record are not recreated.
class PlaceholderPanel : public ThemePanel
{
public:
    explicit PlaceholderPanel(qint32 tag) : m_tag(tag) {}

    qint32 themeTag() const override { return m_tag; }
    void clearTheme() override;
    void writeThemeRecord(QDataStream& out, const QString& resourceFolder) override;
    void readThemeRecord(ThemeRecordReader& in, const QString& themeFolder) override;

    bool showAll() const { return m_showAll; }
    // Items the last record read held (and that this placeholder dropped).
    int droppedItems() const { return m_droppedItems; }

private:
    qint32 m_tag;
    bool m_showAll = false;
    int m_droppedItems = 0;
};
