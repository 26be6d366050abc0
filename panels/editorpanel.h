#pragma once

#include "themepanel.h"

class DispScene;
class QWidget;

// What the scene keeps for each item-placing panel (DispScene::panelStore):
// the slot of each panel. The counters of the first five are reset before a
// theme load.
enum PanelStoreSlot : int
{
    CustomTextStore = 0,
    SystemInfoStore = 1,
    TimeStore = 2,
    IconStore = 3,
    ArcStore = 4,
    BarStore = 5,
    CaptureStore = 6,
};

// One editor panel of the home page, as the home page and theme storage use
// it. Every panel owns one theme record (ThemePanel: tag, clear, write, read)
// and works on one scene at a time.
//
// The panel's state lives in the scene, not in the panel: its items are
// widgets on the scene, and what belongs to the panel (shown flag, item
// count, item list, current item; DispScene::PanelStore or the scene's
// BackgroundState) is kept in the scene's store for that panel. A panel
// attached to another scene and back finds everything as it was, unsaved
// edits included; nothing is read from disk. Every change the panel makes
// must therefore update the store at once.
//
// Rules for implementers:
// - attachScene(s): disconnect from the previous scene, connect s's
//   currentSelectItem and deleteSelectItem, rebuild the panel's list and
//   controls from s's store (items no longer on s are dropped from it).
//   attachScene(nullptr) leaves the panel inert.
// - pointAtScene(s): only make s the scene that clearTheme, writeThemeRecord
//   and readThemeRecord act on (no signals, no rebuild). The home page does
//   this before clearing the panels of a device that goes away; an
//   attachScene always follows before the user sees the panel again.
// - clearTheme, writeThemeRecord, readThemeRecord act on the scene pointed
//   at; readThemeRecord stores the result in that scene's store.
// - After each change of an item's attribute, call the scene's
//   startDeselectCountdown().
// - The optional roles below (device size, rotation, active, media) are
//   separate small interfaces; EditorPanels hands them to the home page.
class EditorPanel : public ThemePanel
{
public:
    ~EditorPanel() override = default;

    virtual void attachScene(DispScene* scene) = 0;
    virtual void pointAtScene(DispScene* scene) = 0;
    virtual DispScene* scene() const = 0;

    // The editor shown in the home page's panel stack; null when the panel
    // has none yet (the home page shows its title instead).
    virtual QWidget* editor() = 0;
};

// A panel that needs the device's panel size (not the scene's, which turns
// with the rotation): the icon and background panels.
class DeviceSizeRole
{
public:
    virtual ~DeviceSizeRole() = default;
    // Called with every attachScene of a device's scene; 0, 0 for the
    // placeholder scene.
    virtual void setDeviceSize(int width, int height) = 0;
};

// Quarter turns 0..3. The background panel keeps the theme's rotation (it
// resizes the scene for 1 and 3); the icon panel only follows it.
class RotationRole
{
public:
    virtual ~RotationRole() = default;
    virtual void setRotation(int quarterTurns) = 0;
    virtual int rotation() const = 0;
};

// The background and capture panels: exactly one of them is active (shown)
// at a time; the home page decides which.
class ActiveRole
{
public:
    virtual ~ActiveRole() = default;
    virtual void setActive(bool active) = 0;
};

// Panels that play media files on the scene (icon, background).
class MediaRole
{
public:
    virtual ~MediaRole() = default;
    // Stops the decoder threads of the panel's widgets on its scene: before
    // the scene goes away and before a theme replaces its content.
    virtual void stopMedia() = 0;
    // After a save as a new theme under stem: the panel refers to the copies
    // in that theme's res folder from now on. Most panels need nothing.
    virtual void pointMediaAt(const QString& stem) { Q_UNUSED(stem) }
};

// The capture panel: its widget follows the scene rectangle.
class SceneFitRole
{
public:
    virtual ~SceneFitRole() = default;
    virtual void fitToScene() = 0;
};
