#include "placeholderbackgroundpanel.h"

#include "themelogging.h"
#include "thememedia.h"
#include "themerecordreader.h"
#include "themetags.h"

#include <QDataStream>

qint32 PlaceholderBackgroundPanel::themeTag() const
{
    return BackgroundTag;
}

void PlaceholderBackgroundPanel::clearTheme()
{
    // The background itself stays, as the panel's background widget does.
}

void PlaceholderBackgroundPanel::setBackground(const BackgroundRecord& record, const QString& mediaPath)
{
    m_record = record;
    m_mediaPath = record.kind == BackgroundRecord::Colour ? QString() : mediaPath;
}

void PlaceholderBackgroundPanel::setRotation(int quarterTurns)
{
    if (quarterTurns >= 0 && quarterTurns <= 3)
        m_record.rotation = quarterTurns;
}

void PlaceholderBackgroundPanel::writeThemeRecord(QDataStream& out, const QString& resourceFolder)
{
    qCDebug(lcThemes).noquote() << "save rotate: " << m_record.rotation;
    BackgroundRecord record = m_record;
    record.fileName = QLatin1String("");
    if (record.kind != BackgroundRecord::Colour && !m_mediaPath.isEmpty())
        record.fileName = ThemeMedia::storeInResources(m_mediaPath, resourceFolder);
    record.write(out);
}

void PlaceholderBackgroundPanel::readThemeRecord(ThemeRecordReader& in, const QString& themeFolder)
{
    BackgroundRecord record;
    m_mediaPath.clear();
    if (!record.read(in))
        return;
    m_record = record;
    if (record.kind != BackgroundRecord::Colour)
        m_mediaPath = ThemeMedia::resourcePath(themeFolder, record.fileName);
}
