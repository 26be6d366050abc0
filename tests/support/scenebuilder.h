#pragma once

#include "dispscene.h"
#include "themepanel.h"
#include "themerecordreader.h"
#include "themerecordwriter.h"

#include <functional>

// Scenes and theme records as the editor panel and theme tests build them.
namespace SceneBuilder {

// A scene of a panel's size, 480 x 480 unless told.
struct PanelScene : DispScene
{
    explicit PanelScene(int width = 480, int height = 480) { setSceneRect(0, 0, width, height); }
};

// A theme record as the file holds it: length, tag, then the fields.
inline QByteArray record(qint32 tag, const std::function<void(QDataStream&)>& fields)
{
    ThemeRecordWriter writer(tag);
    fields(writer.stream());
    return writer.finish();
}

inline QByteArray framed(qint32 tag, const QByteArray& fields)
{
    return record(tag, [&fields](QDataStream& s) { s.writeRawData(fields.constData(), int(fields.size())); });
}

// The record a panel writes, framed.
inline QByteArray written(ThemePanel& panel, const QString& resourceFolder = QString())
{
    return record(panel.themeTag(), [&](QDataStream& s) { panel.writeThemeRecord(s, resourceFolder); });
}

// Reads a framed record into a panel; true when every field was readable.
inline bool read(ThemePanel& panel, const QByteArray& bytes, const QString& themeFolder = QString())
{
    ThemeRecordReader reader(bytes);
    panel.readThemeRecord(reader, themeFolder);
    return reader.ok();
}

} // namespace SceneBuilder
