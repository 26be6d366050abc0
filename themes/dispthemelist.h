#pragma once

#include <QColor>
#include <QString>
#include <QVector>
#include <QWidget>

class QAction;
class QListWidget;
class QListWidgetItem;
class QMenu;
class ThemeDialogs;

// One theme of a library as the list shows it.
struct ThemeListEntry
{
    QString name;      // folder name without "theme_"
    QString preview;   // background picture or video in the theme's res folder, or empty
    QString themeFile; // full path of the ".theme" file
    QColor colour;     // background colour; invalid when none was found
};

// One theme library (official or personal) as a grid of thumbnails with
// names. A double click opens a theme; the context menu deletes one.
class DispThemeList : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kThumbnailSide = 123;

    // dialogs answers the "Theme is open" warning; null uses the standard dialogs.
    explicit DispThemeList(QWidget* parent = nullptr, ThemeDialogs* dialogs = nullptr);
    ~DispThemeList() override;

    void updateThemeList(const QString& folder);
    void clearThemeList();
    QString firstThemeFile() const;
    // True when a listed theme file has the same file name as path.
    bool containsThemeFile(const QString& path) const;

    // The theme that may not be deleted (the one open on the device).
    void setOpenThemeName(const QString& name) { m_openThemeName = name; }
    QString openThemeName() const { return m_openThemeName; }

    QListWidget* listWidget() const { return m_list; }
    const QVector<ThemeListEntry>& themeRecords() const { return m_records; }

    // Walks a theme file's records for the background (tag 144): the media
    // path of a picture or video background, and the colour of a colour one.
    static void readPreview(const QString& themeFile, QString& preview, QColor& colour);

signals:
    void updateThemeName(QString name);
    void deleteHomeTheme(QString name);

public slots:
    void importTheme(QListWidgetItem* item);
    void onActionDelete();

private:
    void showMenu(const QPoint& position);
    static bool removeThemeFolder(const QString& folder);

    QListWidget* m_list = nullptr;
    QVector<ThemeListEntry> m_records;
    QString m_openThemeName;
    QMenu* m_menu = nullptr;
    QAction* m_deleteAction = nullptr;
    std::unique_ptr<ThemeDialogs> m_ownDialogs;
    ThemeDialogs* m_dialogs = nullptr;
};
