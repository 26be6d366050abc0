#pragma once

#include "editorpanel.h"

#include <QList>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class DispSensorManager;
class dispbackgroundbox;
class ThemeStorage;
class QWidget;

// What the panels need from the page that hosts them.
struct PanelEnvironment
{
    DispSensorManager* sensors = nullptr; // readings for the system info panel and the readouts
    QWidget* parent = nullptr;            // parent of the panels' editors
};

// The eight editor panels of the home page, in record (tag) order, and the
// roles some of them play. The home page talks to the panels only through
// this set: it attaches them to the selected device's scene, points and
// clears them when a device goes away, and asks for the rotation; it never
// needs a panel's concrete type. Each panel is made in the constructor,
// which also registers the roles it plays.
class EditorPanels
{
public:
    static constexpr int kPanelCount = 8;

    explicit EditorPanels(const PanelEnvironment& environment);
    ~EditorPanels();
    EditorPanels(const EditorPanels&) = delete;
    EditorPanels& operator=(const EditorPanels&) = delete;

    // custom text, system info, time, icon, arc, bar, background, capture.
    const std::array<EditorPanel*, kPanelCount>& inTagOrder() const { return m_panels; }
    EditorPanel* panel(qint32 tag) const;
    // The records of the gauges, charts, clocks and 3D texts (tags 135 to
    // 138), which no editor panel keeps; attached, pointed, cleared and
    // installed with the eight.
    const std::vector<std::unique_ptr<EditorPanel>>& widgetRecords() const { return m_widgetRecords; }
    // Makes every panel the storage's panel of its tag.
    void installInto(ThemeStorage& storage) const;

    // Selecting a device (or the placeholder scene, with 0, 0): every panel
    // attaches to the scene and reads what the scene keeps for it; the
    // size-aware panels get the device's size.
    void attach(DispScene* scene, int width, int height);
    // A device goes away: the panels act on its scene without reading it.
    void pointAt(DispScene* scene);
    // Every panel's clearTheme in tag order.
    void clearAll();
    // The six item panels' clearTheme (custom text to bar): a device's scene
    // that goes away keeps its background and capture until it is deleted.
    void clearItemPanels();

    // The background panel's rotation (0..3); the icon panel follows it.
    int rotation() const;
    void setRotation(int quarterTurns);
    // The background is shown (its panel active) or the capture is.
    void setBackgroundActive(bool backgroundShown);
    void stopMedia();
    void pointMediaAt(const QString& stem);
    void fitCaptureToScene();
    // The background panel, for the page that connects it to the clipping tool.
    dispbackgroundbox* backgroundPanel() const { return m_background; }

private:
    template <typename P>
    P* own(std::unique_ptr<P> panel);
    void put(EditorPanel* panel);

    std::array<EditorPanel*, kPanelCount> m_panels{};
    std::vector<std::unique_ptr<EditorPanel>> m_owned;    // panels without an editor widget
    std::vector<std::unique_ptr<QWidget>> m_ownedEditors; // editors when no parent was given
    std::vector<std::unique_ptr<EditorPanel>> m_widgetRecords;

    RotationRole* m_rotation = nullptr;    // the background panel
    QList<RotationRole*> m_angleFollowers; // the icon panel
    QList<DeviceSizeRole*> m_sized;
    ActiveRole* m_backgroundActive = nullptr;
    dispbackgroundbox* m_background = nullptr;
    ActiveRole* m_captureActive = nullptr;
    QList<MediaRole*> m_media;
    SceneFitRole* m_captureFit = nullptr;
};
