#include "dispthemelist.h"

#include "backgroundrecord.h"
#include "themedialogs.h"
#include "themefilereader.h"
#include "themelogging.h"
#include "thememedia.h"
#include "themerecordreader.h"
#include "themetags.h"
#include "videothumbnail.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QVBoxLayout>

DispThemeList::DispThemeList(QWidget* parent, ThemeDialogs* dialogs) : QWidget(parent), m_dialogs(dialogs)
{
    if (m_dialogs == nullptr) {
        m_ownDialogs = ThemeDialogs::create(this);
        m_dialogs = m_ownDialogs.get();
    }
    m_list = new QListWidget(this);
    m_list->setViewMode(QListView::IconMode);
    m_list->setFlow(QListView::LeftToRight);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setMovement(QListView::Static);
    m_list->setIconSize(QSize(kThumbnailSide, kThumbnailSide));
    QFont font(QStringLiteral("YaHei"));
    font.setPixelSize(16);
    m_list->setFont(font);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);

    m_menu = new QMenu(this);
    m_deleteAction = new QAction(tr("Delete"), this);
    m_menu->addAction(m_deleteAction);

    connect(m_list, &QListWidget::itemDoubleClicked, this, &DispThemeList::importTheme);
    connect(m_list, &QListWidget::customContextMenuRequested, this, &DispThemeList::showMenu);
    connect(m_deleteAction, &QAction::triggered, this, &DispThemeList::onActionDelete);
}

DispThemeList::~DispThemeList() = default;

void DispThemeList::readPreview(const QString& themeFile, QString& preview, QColor& colour)
{
    preview.clear();
    colour = QColor();
    QFile file(themeFile);
    if (!file.open(QIODevice::ReadOnly))
        return;
    ThemeFileReader records(&file);
    QByteArray bytes;
    while (records.next(bytes)) {
        ThemeRecordReader record(bytes);
        if (record.tag() != BackgroundTag)
            continue;
        BackgroundRecord background;
        if (!background.read(record))
            continue;
        if (background.kind == BackgroundRecord::Colour) {
            colour = background.colour;
            continue;
        }
        preview = ThemeMedia::resourcePath(QFileInfo(themeFile).absolutePath(), background.fileName);
        return;
    }
}

void DispThemeList::updateThemeList(const QString& folder)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot);
    clearThemeList();
    if (entries.isEmpty())
        return;
    for (const QFileInfo& entry : entries) {
        if (!entry.isDir() || !entry.fileName().startsWith(QLatin1String("theme_")))
            continue;
        ThemeListEntry record;
        record.name = entry.fileName().mid(6);
        record.themeFile =
            entry.absoluteFilePath() + QLatin1Char('/') + record.name + QLatin1String(".theme");
        if (!QFileInfo::exists(record.themeFile))
            continue;
        readPreview(record.themeFile, record.preview, record.colour);
        m_records.append(record);
    }
    const QSize side(kThumbnailSide, kThumbnailSide);
    for (const ThemeListEntry& record : qAsConst(m_records)) {
        const QString ending = record.preview.section(QLatin1Char('.'), -1);
        QPixmap icon;
        if (!record.preview.isEmpty() && (ending == QLatin1String("jpg") || ending == QLatin1String("png"))) {
            icon = QPixmap(record.preview).scaled(side, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        } else if (!record.preview.isEmpty() &&
                   (ending == QLatin1String("mp4") || ending == QLatin1String("gif") ||
                    ending == QLatin1String("h264"))) {
            if (!QFileInfo::exists(record.preview))
                continue;
            icon = QPixmap::fromImage(VideoThumbnail::firstFrame(record.preview))
                       .scaled(side, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        } else {
            icon = QPixmap(side);
            icon.fill(record.colour);
        }
        auto* item = new QListWidgetItem(QIcon(icon), record.name);
        item->setTextAlignment(Qt::AlignHCenter);
        m_list->addItem(item);
    }
}

void DispThemeList::clearThemeList()
{
    m_list->clear();
    m_records.clear();
}

QString DispThemeList::firstThemeFile() const
{
    return m_records.isEmpty() ? QString() : m_records.first().themeFile;
}

bool DispThemeList::containsThemeFile(const QString& path) const
{
    const QString fileName = QFileInfo(path).fileName();
    for (const ThemeListEntry& record : m_records) {
        if (QFileInfo(record.themeFile).fileName() == fileName)
            return true;
    }
    return false;
}

void DispThemeList::importTheme(QListWidgetItem* item)
{
    if (item == nullptr)
        return;
    for (const ThemeListEntry& record : qAsConst(m_records)) {
        if (record.name == item->text()) {
            emit updateThemeName(record.themeFile);
            return;
        }
    }
}

void DispThemeList::showMenu(const QPoint& position)
{
    QListWidgetItem* item = m_list->currentItem();
    if (item == nullptr || !m_list->visualItemRect(item).contains(position))
        return;
    m_menu->popup(m_list->viewport()->mapToGlobal(position));
}

bool DispThemeList::removeThemeFolder(const QString& folder)
{
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : entries) {
        // A linked folder is removed as a link; what it points to is not the theme's.
        const bool removed = entry.isDir() && !entry.isSymLink()
                                 ? QDir(entry.absoluteFilePath()).removeRecursively()
                                 : QFile::remove(entry.absoluteFilePath());
        if (!removed) {
            qCDebug(lcThemes).noquote() << "Failed to delete" << entry.absoluteFilePath();
            return false;
        }
    }
    return true;
}

void DispThemeList::onActionDelete()
{
    QListWidgetItem* item = m_list->currentItem();
    if (item == nullptr)
        return;
    const QString name = item->text();
    if (name == m_openThemeName) {
        m_dialogs->warning(tr("Warning"), tr("Theme is open"));
        return;
    }
    int index = -1;
    for (int i = 0; i < m_records.size() && index < 0; ++i) {
        if (m_records.at(i).name == name)
            index = i;
    }
    if (index < 0)
        return;
    const QFileInfo folderInfo(QFileInfo(m_records.at(index).themeFile).absolutePath());
    const QString folder = folderInfo.absoluteFilePath();
    if (!folderInfo.exists()) {
        qCDebug(lcThemes).noquote() << "Directory does not exist:" << folder;
        return;
    }
    // A theme in a library the user may not change (the installed official
    // themes) is refused with a message instead of failing half-way.
    if (!QFileInfo(folderInfo.absolutePath()).isWritable()) {
        qCDebug(lcThemes).noquote() << "Failed to delete" << folder;
        m_dialogs->warning(tr("Warning"), tr("This theme is part of a library that cannot be changed"));
        return;
    }
    if (folderInfo.isSymLink()) {
        if (!QFile::remove(folder)) {
            qCDebug(lcThemes).noquote() << "Failed to delete" << folder;
            m_dialogs->warning(tr("Warning"), tr("The theme could not be deleted"));
            return;
        }
    } else {
        if (!removeThemeFolder(folder)) {
            m_dialogs->warning(tr("Warning"), tr("The theme could not be deleted"));
            return;
        }
        // The theme folder, then the library and the resolution folder when
        // they became empty; nothing above the resolution folder.
        if (!QDir().rmdir(folder)) {
            qCDebug(lcThemes).noquote() << "Failed to delete directory" << folder;
        } else {
            QString parent = folderInfo.absolutePath();
            for (int level = 0; level < 2; ++level) {
                if (!QDir(parent).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                          QDir::System) ||
                    !QDir().rmdir(parent))
                    break;
                parent = QFileInfo(parent).absolutePath();
            }
        }
    }
    emit deleteHomeTheme(name);
    delete item;
    m_records.removeAt(index);
}
