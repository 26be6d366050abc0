#pragma once

#include "themepanel.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class DispThemeList;
class ThemeDialogs;
class ThemeStorageHost;

// Theme storage of the selected display device: the folder layout under the
// data directory, saving and loading theme files through the eight panels in
// their fixed order, and the Save, Export, Import and Open actions with their
// messages. The home page keeps one and points it at the selected device.
//
// Folder layout: dataDirectory() + "/themes/" + W + H + "/personal", and
// officialThemesDirectory() + "/" + W + H + "/official" (the data directory's
// "themes" too, unless the program runs installed); a theme called name lives in library + "/theme_" + name
// with name + ".theme" and the "res" folder of its media.
class ThemeStorage : public QObject
{
    Q_OBJECT

public:
    // dialogs must outlive the storage.
    explicit ThemeStorage(ThemeDialogs* dialogs, QObject* parent = nullptr);
    ~ThemeStorage() override;

    // The panel of its tag (the home page installs all eight); it must
    // outlive the storage or be replaced before it dies. Without all eight,
    // nothing is saved.
    void setPanel(ThemePanel* panel);
    ThemePanel* panel(qint32 tag) const;
    bool hasAllPanels() const;
    void setHost(ThemeStorageHost* host);
    // The two lists rebuilt after each action; the personal one also answers
    // whether an imported theme is already there.
    void setThemeLists(DispThemeList* official, DispThemeList* personal);

    // The selected device's panel size; the theme actions do nothing without one.
    void setDevice(int width, int height, const QString& currentThemePath);
    void clearDevice();
    bool hasDevice() const { return m_width > 0 && m_height > 0; }

    static QString resolutionFolder(int width, int height);
    static QString libraryFolder(int width, int height, bool personal);
    QString resolutionFolder() const { return resolutionFolder(m_width, m_height); }
    QString officialLibrary() const { return libraryFolder(m_width, m_height, false); }
    QString personalLibrary() const { return libraryFolder(m_width, m_height, true); }

    QString currentThemePath() const { return m_currentThemePath; }
    // The theme the home page chose for the device (not stored in the base settings).
    void setCurrentThemePath(const QString& themeFile);

    // Writes the theme of every panel into (folder of stem) + "/theme_" +
    // name + "/" + name + ".theme", name being the last part of stem.
    bool saveTheme(const QString& stem);
    // Replaces the panels' content by the file's records; false (with the
    // "file %1 not found" error) when there is no such file.
    bool loadTheme(const QString& file);
    // Recursive copy that never overwrites a file and never follows a link.
    static bool copyThemeFolder(const QString& source, const QString& destination);
    // Deletes the plain files directly inside folder; folders stay.
    static void removeStrayFiles(const QString& folder);

    // The save button with the theme-name edit's text.
    void save(const QString& name);
    // The export and import buttons: ask for a path, then act.
    void exportTheme();
    void importTheme();
    void exportThemeTo(const QString& answer);
    void importThemeFrom(const QString& chosenFile);

signals:
    // The selected device's theme changed; the home page keeps it in the device context.
    void currentThemePathChanged(const QString& path);

public slots:
    // A theme list's updateThemeName: open that theme.
    void openTheme(const QString& themeFile);

private:
    void makeCurrent(const QString& themeFile);
    void refreshThemeLists();
    void updateOpenThemeNames();
    bool personalHasThemeFile(const QString& file) const;
    void readPass(const QString& file, bool backgroundPass);

    ThemeDialogs* m_dialogs;
    ThemeStorageHost* m_host = nullptr;
    std::unique_ptr<ThemeStorageHost> m_defaultHost;
    QHash<qint32, ThemePanel*> m_panels;
    QPointer<DispThemeList> m_officialList;
    QPointer<DispThemeList> m_personalList;
    int m_width = 0;
    int m_height = 0;
    QString m_currentThemePath;
    // The message for the last failed saveTheme: the file and the reason.
    QString m_saveFailure;
};
