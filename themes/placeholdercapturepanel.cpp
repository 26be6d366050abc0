#include "placeholdercapturepanel.h"

#include "themerecordreader.h"
#include "themetags.h"

#include <QDataStream>

qint32 PlaceholderCapturePanel::themeTag() const
{
    return CaptureTag;
}

void PlaceholderCapturePanel::clearTheme() {}

void PlaceholderCapturePanel::writeThemeRecord(QDataStream& out, const QString& resourceFolder)
{
    Q_UNUSED(resourceFolder)
    out << m_showFrame << qint32(m_rect.x()) << qint32(m_rect.y()) << qint32(m_rect.width())
        << qint32(m_rect.height()) << m_visible;
}

void PlaceholderCapturePanel::readThemeRecord(ThemeRecordReader& in, const QString& themeFolder)
{
    Q_UNUSED(themeFolder)
    bool showFrame = false;
    bool visible = false;
    qint32 x = 0, y = 0, w = 0, h = 0;
    if (!in.readBool(showFrame) || !in.readInt32(x) || !in.readInt32(y) || !in.readInt32(w) ||
        !in.readInt32(h) || !in.readBool(visible))
        return;
    // The spin boxes hold 0 to 4096.
    auto bounded = [](qint32 v) { return qBound(0, v, 4096); };
    m_showFrame = showFrame;
    m_rect = QRect(bounded(x), bounded(y), bounded(w), bounded(h));
    m_visible = visible;
}
