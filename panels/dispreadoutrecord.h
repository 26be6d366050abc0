#pragma once

#include "editorpanel.h"
#include "panelscenelink.h"

#include <QList>

class DispScene;
class DispWidget;

// Keeps the gauges, charts, analog clocks or 3D texts of a scene in a theme
// file: one record per kind (tags 135 to 138, which other readers of the
// format skip), written after the panels' records. These widgets come from
// the scene's tools and are edited from their context menu
// (DispReadoutMenu), so the record is a panel without an editor and without
// a store: the scene's widgets of its kind are its items.
class DispReadoutRecord : public EditorPanel
{
public:
    enum Kind
    {
        Gauge,
        Chart,
        Clock,
        ThreeD,
    };

    explicit DispReadoutRecord(Kind kind);

    qint32 themeTag() const override;
    void clearTheme() override;
    void writeThemeRecord(QDataStream& out, const QString& resourceFolder) override;
    void readThemeRecord(ThemeRecordReader& in, const QString& themeFolder) override;

    void attachScene(DispScene* scene) override { m_link.attach(scene); }
    void pointAtScene(DispScene* scene) override { m_link.point(scene); }
    DispScene* scene() const override { return m_link.scene(); }
    QWidget* editor() override { return nullptr; }

    // The kind's widgets on the scene, lowest in the stack first.
    QList<DispWidget*> widgets() const;
    bool isKind(const DispWidget* widget) const;

private:
    DispWidget* create(DispScene* scene) const;
    void writeFields(QDataStream& out, DispWidget* widget, const QString& resourceFolder) const;
    bool readFields(ThemeRecordReader& in, DispWidget* widget, const QString& themeFolder) const;

    Kind m_kind;
    PanelSceneLink m_link;
};
