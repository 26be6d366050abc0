#include "themestorage.h"

#include "baseinfo.h"
#include "datadir.h"
#include "dispthemelist.h"
#include "themedialogs.h"
#include "themefilereader.h"
#include "themelogging.h"
#include "thememedia.h"
#include "themerecordreader.h"
#include "themerecordwriter.h"
#include "themestoragehost.h"
#include "themetags.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

// The name of a theme saved under stem: its last path component, without a
// ".theme" the user may have typed in a file dialog.
QString themeNameOfStem(const QString& stem)
{
    QString name = QFileInfo(stem).fileName();
    if (name.endsWith(QLatin1String(".theme")))
        name.chop(6);
    return name;
}

bool isInside(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

ThemeStorage::ThemeStorage(ThemeDialogs* dialogs, QObject* parent)
    : QObject(parent), m_dialogs(dialogs), m_defaultHost(std::make_unique<ThemeStorageHost>())
{
    m_host = m_defaultHost.get();
}

ThemeStorage::~ThemeStorage() = default;

void ThemeStorage::setPanel(ThemePanel* panel)
{
    if (panel == nullptr ||
        std::find(kThemeTagOrder.begin(), kThemeTagOrder.end(), panel->themeTag()) == kThemeTagOrder.end()) {
        qCWarning(lcThemes) << "ThemeStorage::setPanel: no record for tag" << (panel ? panel->themeTag() : 0);
        return;
    }
    m_panels.insert(panel->themeTag(), panel);
}

ThemePanel* ThemeStorage::panel(qint32 tag) const
{
    return m_panels.value(tag, nullptr);
}

bool ThemeStorage::hasAllPanels() const
{
    return std::all_of(kThemeTagOrder.begin(), kThemeTagOrder.end(),
                       [this](qint32 tag) { return m_panels.value(tag, nullptr) != nullptr; });
}

void ThemeStorage::setHost(ThemeStorageHost* host)
{
    m_host = host != nullptr ? host : m_defaultHost.get();
}

void ThemeStorage::setThemeLists(DispThemeList* official, DispThemeList* personal)
{
    m_officialList = official;
    m_personalList = personal;
}

void ThemeStorage::setDevice(int width, int height, const QString& currentThemePath)
{
    m_width = width;
    m_height = height;
    m_currentThemePath = currentThemePath;
    refreshThemeLists();
}

void ThemeStorage::clearDevice()
{
    m_width = 0;
    m_height = 0;
    m_currentThemePath.clear();
}

QString ThemeStorage::resolutionFolder(int width, int height)
{
    return Panelcast::dataDirectory() + QLatin1String("/themes/") + QString::number(width) +
           QString::number(height);
}

QString ThemeStorage::libraryFolder(int width, int height, bool personal)
{
    return resolutionFolder(width, height) +
           (personal ? QLatin1String("/personal") : QLatin1String("/official"));
}

bool ThemeStorage::saveTheme(const QString& stem)
{
    if (!hasAllPanels()) {
        // A file without every record would lose what the missing panel holds.
        qCWarning(lcThemes).noquote() << "ThemeStorage::saveTheme: a panel is missing, nothing saved";
        return false;
    }
    const QFileInfo stemInfo(stem);
    const QString name = themeNameOfStem(stem);
    if (!ThemeMedia::isPlainName(name)) {
        qCDebug(lcThemes).noquote() << "ThemeStorage::saveTheme: no theme name in" << stem;
        return false;
    }
    const QString folder = stemInfo.absolutePath() + QLatin1String("/theme_") + name;
    const QString resFolder = folder + QLatin1String("/res");
    if (!QDir().mkpath(resFolder) || QFileInfo(resFolder).isSymLink()) {
        // A linked res folder would let the panels' media copies land outside the theme.
        qCDebug(lcThemes).noquote() << "ThemeStorage::saveTheme: no res folder in" << folder;
        return false;
    }

    QByteArray bytes;
    for (qint32 tag : kThemeTagOrder) {
        ThemeRecordWriter record(tag);
        m_panels.value(tag)->writeThemeRecord(record.stream(),
                                              themeTagUsesResources(tag) ? resFolder : QString());
        bytes += record.finish();
    }

    QSaveFile file(folder + QLatin1Char('/') + name + QLatin1String(".theme"));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        qCDebug(lcThemes).noquote() << "ThemeStorage::saveTheme: cannot write" << file.fileName() << ":"
                                    << file.errorString();
        return false;
    }
    qCDebug(lcThemes).noquote() << "save done: " << bytes.size() << "bytes=>" << folder;
    return true;
}

void ThemeStorage::readPass(const QString& file, bool backgroundPass)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        qCDebug(lcThemes).noquote() << "ThemeStorage::loadTheme: cannot read" << file << ":"
                                    << in.errorString();
        return;
    }
    const QString themeFolder = QFileInfo(file).absolutePath();
    ThemeFileReader records(&in);
    QByteArray bytes;
    while (records.next(bytes)) {
        ThemeRecordReader record(bytes);
        const qint32 tag = record.tag();
        if (!record.ok() || (tag == BackgroundTag) != backgroundPass)
            continue;
        ThemePanel* panel = m_panels.value(tag, nullptr);
        if (panel == nullptr)
            continue; // unused tags up to 143 and unknown values
        panel->readThemeRecord(record, themeTagUsesResources(tag) ? themeFolder : QString());
    }
}

bool ThemeStorage::loadTheme(const QString& file)
{
    if (!QFileInfo(file).isFile()) {
        m_dialogs->warning(tr("Error"), tr("file %1 not found").arg(file));
        return false;
    }
    m_host->clearSceneForLoad();
    for (qint32 tag : kThemeTagOrder) {
        if (ThemePanel* panel = m_panels.value(tag, nullptr))
            panel->clearTheme();
    }
    // The background first, so that its widget exists, lowest in the stack,
    // before the other panels add theirs.
    readPass(file, true);
    readPass(file, false);
    m_host->finishLoad();
    return true;
}

bool ThemeStorage::copyThemeFolder(const QString& source, const QString& destination)
{
    QDir target(destination);
    if (!target.exists() && !target.mkpath(QStringLiteral("."))) {
        qCDebug(lcThemes).noquote() << "Cannot create directory:" << destination;
        return false;
    }
    // A destination inside the source would be copied into itself without end.
    const QString sourceCanonical = QFileInfo(source).canonicalFilePath();
    const QString targetCanonical = QFileInfo(destination).canonicalFilePath();
    if (sourceCanonical.isEmpty() || isInside(targetCanonical, sourceCanonical)) {
        qCDebug(lcThemes).noquote() << "ThemeStorage::copyThemeFolder: cannot copy" << source << "into"
                                    << destination;
        return false;
    }
    const QFileInfoList entries =
        QDir(source).entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo& entry : entries) {
        const QString destPath = destination + QLatin1Char('/') + entry.fileName();
        const QFileInfo dest(destPath);
        if (entry.isSymLink() || dest.isSymLink()) {
            // Links in a shared theme could read or write anywhere.
            qCDebug(lcThemes).noquote() << "ThemeStorage::copyThemeFolder: link skipped:" << entry.filePath();
            continue;
        }
        if (entry.isDir()) {
            if (!copyThemeFolder(entry.filePath(), destPath))
                return false;
        } else if (dest.exists()) {
            // Files already in the destination are kept, the others still copied.
            qCDebug(lcThemes).noquote() << "ThemeStorage::copyThemeFolder: kept existing" << destPath;
        } else if (!QFile::copy(entry.filePath(), destPath)) {
            qCDebug(lcThemes).noquote() << "Cannot copy file to " << destPath;
            return false;
        }
    }
    return true;
}

void ThemeStorage::removeStrayFiles(const QString& folder)
{
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return;
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir())
            continue;
        if (!QFile::remove(entry.absoluteFilePath()))
            qCDebug(lcThemes).noquote()
                << "ThemeStorage::removeStrayFiles: cannot remove" << entry.absoluteFilePath();
    }
}

void ThemeStorage::setCurrentThemePath(const QString& themeFile)
{
    m_currentThemePath = themeFile;
    updateOpenThemeNames();
}

void ThemeStorage::makeCurrent(const QString& themeFile)
{
    setCurrentThemePath(themeFile);
    BaseInfo::setThemePath(BaseInfo::sizeGroup(m_width, m_height), themeFile);
    emit currentThemePathChanged(themeFile);
}

void ThemeStorage::updateOpenThemeNames()
{
    // Each list refuses to delete the open theme when it is one of its own.
    const QString openName = QFileInfo(m_currentThemePath).completeBaseName();
    const QString openFolder = QFileInfo(m_currentThemePath).absolutePath();
    if (m_officialList)
        m_officialList->setOpenThemeName(isInside(openFolder, officialLibrary()) ? openName : QString());
    if (m_personalList)
        m_personalList->setOpenThemeName(isInside(openFolder, personalLibrary()) ? openName : QString());
}

void ThemeStorage::refreshThemeLists()
{
    if (!hasDevice())
        return;
    if (m_officialList)
        m_officialList->updateThemeList(officialLibrary());
    if (m_personalList)
        m_personalList->updateThemeList(personalLibrary());
    updateOpenThemeNames();
}

bool ThemeStorage::personalHasThemeFile(const QString& file) const
{
    if (m_personalList)
        return m_personalList->containsThemeFile(file);
    const QString wanted = QFileInfo(file).fileName();
    const QFileInfoList folders =
        QDir(personalLibrary()).entryInfoList(QStringList{QStringLiteral("theme_*")}, QDir::Dirs);
    for (const QFileInfo& folder : folders) {
        const QString name = folder.fileName().mid(6);
        if (name + QLatin1String(".theme") == wanted &&
            QFileInfo::exists(folder.absoluteFilePath() + QLatin1Char('/') + wanted))
            return true;
    }
    return false;
}

void ThemeStorage::save(const QString& name)
{
    if (!hasDevice())
        return;
    if (name.isEmpty()) {
        m_dialogs->warning(tr("Warning"), tr("Theme Name Is Empty"));
        return;
    }
    if (!ThemeMedia::isPlainName(name)) {
        m_dialogs->warning(tr("Warning"), tr("Theme Name Is Invalid"));
        return;
    }
    const QString personal = personalLibrary();
    const QString folder = personal + QLatin1String("/theme_") + name;
    if (QFileInfo::exists(folder)) {
        if (!m_dialogs->askOkCancel(tr("Info"), tr("Theme Name Is Exist, Overlay?")))
            return;
        const QString file = folder + QLatin1Char('/') + name + QLatin1String(".theme");
        m_host->stopDecodersForSave();
        m_host->storeRotation();
        saveTheme(QFileInfo(folder).absolutePath() + QLatin1Char('/') + name);
        if (file != m_currentThemePath)
            makeCurrent(file);
        loadTheme(m_currentThemePath);
        m_host->applyRotation();
    } else {
        const QString file = folder + QLatin1Char('/') + name + QLatin1String(".theme");
        const QString stem = personal + QLatin1Char('/') + name;
        saveTheme(stem);
        m_host->pointMediaAt(stem);
        makeCurrent(file);
        m_dialogs->information(tr("Information"), tr("Save Finish"));
    }
    removeStrayFiles(resolutionFolder());
    refreshThemeLists();
}

void ThemeStorage::exportTheme()
{
    if (!hasDevice())
        return;
    const QString answer = m_dialogs->saveFileName(tr("Export"), personalLibrary(), tr("theme folder(*)"));
    if (!answer.isEmpty())
        exportThemeTo(answer);
}

void ThemeStorage::exportThemeTo(const QString& answer)
{
    if (!hasDevice() || answer.isEmpty())
        return;
    const QString name = themeNameOfStem(answer);
    if (!ThemeMedia::isPlainName(name)) {
        m_dialogs->warning(tr("Warning"), tr("Theme Name Is Invalid"));
        return;
    }
    const QString folder = QFileInfo(answer).absolutePath() + QLatin1String("/theme_") + name;
    if (QFileInfo::exists(folder)) {
        m_dialogs->warning(tr("Warning"), tr("theme name is exist"));
        return;
    }
    const QString stem = QFileInfo(answer).absolutePath() + QLatin1Char('/') + name;
    if (!saveTheme(stem))
        return;
    // The stored path names the exported theme file, so it opens at the next start.
    makeCurrent(folder + QLatin1Char('/') + name + QLatin1String(".theme"));
    refreshThemeLists();
}

void ThemeStorage::importTheme()
{
    if (!hasDevice())
        return;
    const QString chosen =
        m_dialogs->openFileName(tr("Import"), personalLibrary(), QStringLiteral("*.theme"));
    importThemeFrom(chosen);
}

void ThemeStorage::importThemeFrom(const QString& chosenFile)
{
    if (!hasDevice() || chosenFile.isEmpty() || chosenFile == m_currentThemePath)
        return;
    if (personalHasThemeFile(chosenFile)) {
        m_dialogs->warning(tr("Warning"), tr("Import Theme is exist"));
        m_host->applyRotation();
        return;
    }
    const QFileInfo chosen(chosenFile);
    const QString source = chosen.absolutePath();
    const QString sourceName = QFileInfo(source).fileName();
    if (!chosen.isFile() || !ThemeMedia::isPlainName(sourceName)) {
        qCDebug(lcThemes).noquote() << "ThemeStorage::importThemeFrom: not a theme folder:" << source;
        return;
    }
    const QString target = personalLibrary() + QLatin1Char('/') + sourceName;
    const QString targetFile = target + QLatin1Char('/') + chosen.fileName();
    m_host->setThemeName(chosen.completeBaseName());
    QDir().mkpath(target);
    copyThemeFolder(source, target); // what could be copied is loaded all the same
    m_host->stopMediaPlayback();
    makeCurrent(targetFile);
    refreshThemeLists();
    loadTheme(targetFile);
    m_host->applyRotation();
}

void ThemeStorage::openTheme(const QString& themeFile)
{
    if (!hasDevice())
        return;
    if (themeFile != m_currentThemePath) {
        m_host->setThemeName(QFileInfo(themeFile).completeBaseName());
        m_host->stopMediaPlayback();
        makeCurrent(themeFile);
        loadTheme(themeFile);
    }
    m_host->applyRotation();
}
