#include "placeholderpanel.h"

#include "panelslog.h"
#include "themerecordreader.h"

#include <QDataStream>

PlaceholderPanel::PlaceholderPanel(qint32 tag, int storeSlot) : m_tag(tag), m_link(storeSlot, {}, {}) {}

void PlaceholderPanel::clearTheme()
{
    m_droppedItems = 0;
}

void PlaceholderPanel::writeThemeRecord(QDataStream& out, const QString& resourceFolder)
{
    Q_UNUSED(resourceFolder)
    out << m_link.store().shown << qint32(0);
}

void PlaceholderPanel::readThemeRecord(ThemeRecordReader& in, const QString& themeFolder)
{
    Q_UNUSED(themeFolder)
    bool showAll = false;
    qint32 count = 0;
    // Every item holds at least an object name's length.
    if (!in.readBool(showAll) || !in.readCount(count, 4))
        return;
    // As in the panels: a record without items leaves the check box unchanged.
    if (count > 0) {
        m_link.store().shown = showAll;
        m_droppedItems = count;
        qCDebug(lcPanels).noquote() << "PlaceholderPanel::readThemeRecord: tag" << m_tag << "dropped" << count
                                    << "items";
    }
}
