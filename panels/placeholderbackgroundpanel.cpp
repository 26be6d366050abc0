#include "placeholderbackgroundpanel.h"

#include "panelslog.h"
#include "thememedia.h"
#include "themerecordreader.h"
#include "themetags.h"

#include <QDataStream>
#include <QFileInfo>

PlaceholderBackgroundPanel::PlaceholderBackgroundPanel() : m_link(-1, {}, {}) {}

qint32 PlaceholderBackgroundPanel::themeTag() const
{
    return BackgroundTag;
}

void PlaceholderBackgroundPanel::clearTheme()
{
    // The background itself stays, as the panel's background widget does.
}

BackgroundRecord PlaceholderBackgroundPanel::background() const
{
    const DispScene::BackgroundState& state = m_link.backgroundState();
    BackgroundRecord record;
    record.kind = state.type;
    record.colour = state.color;
    record.rotation = state.rotation;
    record.visible = state.shown;
    record.fileName = QFileInfo(state.path).fileName();
    return record;
}

void PlaceholderBackgroundPanel::setBackground(const BackgroundRecord& record, const QString& mediaPath)
{
    DispScene::BackgroundState& state = m_link.backgroundState();
    state.type = record.kind;
    state.color = record.colour;
    state.rotation = record.rotation;
    state.shown = record.visible;
    state.path = record.kind == BackgroundRecord::Colour ? QString() : mediaPath;
}

QString PlaceholderBackgroundPanel::mediaPath() const
{
    return m_link.backgroundState().path;
}

int PlaceholderBackgroundPanel::rotation() const
{
    return m_link.backgroundState().rotation;
}

void PlaceholderBackgroundPanel::setRotation(int quarterTurns)
{
    if (quarterTurns < 0 || quarterTurns > 3)
        return;
    m_link.backgroundState().rotation = quarterTurns;
    fitScene();
}

void PlaceholderBackgroundPanel::setDeviceSize(int width, int height)
{
    m_width = width;
    m_height = height;
}

void PlaceholderBackgroundPanel::fitScene()
{
    DispScene* scene = m_link.scene();
    if (scene == nullptr || m_width <= 0 || m_height <= 0)
        return;
    const bool sideways = rotation() % 2 != 0;
    scene->resizeScene(sideways ? m_height : m_width, sideways ? m_width : m_height);
}

void PlaceholderBackgroundPanel::pointMediaAt(const QString& stem)
{
    DispScene::BackgroundState& state = m_link.backgroundState();
    if (state.path.isEmpty())
        return;
    const QFileInfo info(stem);
    state.path = info.absolutePath() + QLatin1String("/theme_") + info.fileName() + QLatin1String("/res/") +
                 QFileInfo(state.path).fileName();
}

void PlaceholderBackgroundPanel::writeThemeRecord(QDataStream& out, const QString& resourceFolder)
{
    BackgroundRecord record = background();
    qCDebug(lcPanels).noquote() << "save rotate: " << record.rotation;
    record.fileName = QLatin1String("");
    const QString media = mediaPath();
    if (record.kind != BackgroundRecord::Colour && !media.isEmpty())
        record.fileName = ThemeMedia::storeInResources(media, resourceFolder);
    record.write(out);
}

void PlaceholderBackgroundPanel::readThemeRecord(ThemeRecordReader& in, const QString& themeFolder)
{
    BackgroundRecord record;
    m_link.backgroundState().path.clear();
    if (!record.read(in))
        return;
    setBackground(record, record.kind != BackgroundRecord::Colour
                              ? ThemeMedia::resourcePath(themeFolder, record.fileName)
                              : QString());
    fitScene();
}
