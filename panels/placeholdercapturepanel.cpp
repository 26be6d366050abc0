#include "placeholdercapturepanel.h"

#include "themerecordreader.h"
#include "themetags.h"

#include <QDataStream>

namespace {
const QString kShowFrame = QStringLiteral("showFrame");
const QString kRect = QStringLiteral("rect");
} // namespace

PlaceholderCapturePanel::PlaceholderCapturePanel() : m_link(CaptureStore, {}, {}) {}

qint32 PlaceholderCapturePanel::themeTag() const
{
    return CaptureTag;
}

void PlaceholderCapturePanel::clearTheme() {}

bool PlaceholderCapturePanel::showFrame()
{
    return m_link.store().values.value(kShowFrame).toBool();
}

QRect PlaceholderCapturePanel::captureRect()
{
    return m_link.store().values.value(kRect, QRect(0, 0, 480, 480)).toRect();
}

void PlaceholderCapturePanel::writeThemeRecord(QDataStream& out, const QString& resourceFolder)
{
    Q_UNUSED(resourceFolder)
    const QRect rect = captureRect();
    out << showFrame() << qint32(rect.x()) << qint32(rect.y()) << qint32(rect.width())
        << qint32(rect.height()) << captureVisible();
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
    DispScene::PanelStore& store = m_link.store();
    store.values.insert(kShowFrame, showFrame);
    store.values.insert(kRect, QRect(bounded(x), bounded(y), bounded(w), bounded(h)));
    store.shown = visible;
}
