#pragma once

#include <QString>

// What theme storage asks of the page that shows the scene (the home page):
// the steps of the theme actions that touch the scene, the widgets, the angle
// chooser and the theme-name edit. Every step does nothing by default.
class ThemeStorageHost
{
public:
    virtual ~ThemeStorageHost() = default;

    // Load, before the panels are cleared: clear the scene's selection, then its widgets.
    virtual void clearSceneForLoad() {}
    // Load, after both passes: background or capture active, the panel tab, clear the selection.
    virtual void finishLoad() {}
    // Save over an existing theme: stop the decoders of every "image_ico" and
    // "image_mask" widget and of "image_background"; their res files are rewritten.
    virtual void stopDecodersForSave() {}
    // Save over an existing theme: the angle chooser's index becomes the background rotation.
    virtual void storeRotation() {}
    // After a save, import or open: the scene's rotation, the angle chooser and
    // the icon panel's angle follow the background panel's rotation.
    virtual void applyRotation() {}
    // Save as a new theme: the background panel points its media at the copy
    // in the res folder of the theme saved under stem.
    virtual void pointMediaAt(const QString& stem) { Q_UNUSED(stem) }
    // Import and open: the icon and background panels stop their media playback.
    virtual void stopMediaPlayback() {}
    // The theme-name edit shows name.
    virtual void setThemeName(const QString& name) { Q_UNUSED(name) }
};
