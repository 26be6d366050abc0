#pragma once

#include "themepanel.h"

#include <QList>

#include <functional>

class DispScene;
class DispWidget;

// Keeps the gauges, charts, analog clocks or 3D texts of the selected scene
// in a theme file: one record per kind (tags 135 to 138, which other readers
// of the format skip), written after the panels' records. No panel creates
// these widgets (the scene's tools do), so this record stands in for one.
class DispReadoutRecord : public ThemePanel
{
public:
    enum Kind
    {
        Gauge,
        Chart,
        Clock,
        ThreeD,
    };

    // scene: the scene the theme actions work on (it changes with the
    // selected device), or null.
    DispReadoutRecord(Kind kind, std::function<DispScene*()> scene);

    qint32 themeTag() const override;
    void clearTheme() override;
    void writeThemeRecord(QDataStream& out, const QString& resourceFolder) override;
    void readThemeRecord(ThemeRecordReader& in, const QString& themeFolder) override;

    // The kind's widgets on the scene, lowest in the stack first.
    QList<DispWidget*> widgets() const;
    bool isKind(const DispWidget* widget) const;

private:
    DispWidget* create(DispScene* scene) const;
    void writeFields(QDataStream& out, DispWidget* widget, const QString& resourceFolder) const;
    bool readFields(ThemeRecordReader& in, DispWidget* widget, const QString& themeFolder) const;

    Kind m_kind;
    std::function<DispScene*()> m_scene;
};
