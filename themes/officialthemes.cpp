#include "officialthemes.h"

#include "themelogging.h"
#include "themestorage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace OfficialThemes {

QString shippedFolder()
{
    const QString configured = qEnvironmentVariable("PANELCAST_OFFICIAL_THEMES");
    if (!configured.isEmpty()) {
        return QFileInfo(configured).isDir() ? configured : QString();
    }
    const QDir program(QCoreApplication::applicationDirPath());
    for (const char* relative : {"themes", "../share/panelcast/themes"}) {
        const QString candidate = QDir::cleanPath(program.filePath(QLatin1String(relative)));
        if (QFileInfo(candidate).isDir()) {
            return candidate;
        }
    }
    return QString();
}

bool installFor(int width, int height)
{
    const QString shipped = shippedFolder();
    if (shipped.isEmpty()) {
        return false;
    }
    const QString source = shipped + QLatin1Char('/') + QString::number(width) + QString::number(height) +
                           QStringLiteral("/official");
    if (!QFileInfo(source).isDir()) {
        return false;
    }
    const QString library = ThemeStorage::libraryFolder(width, height, false);
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(library).canonicalFilePath()) {
        return true; // the library is the shipped tree itself
    }
    qCDebug(lcThemes).noquote() << "OfficialThemes::installFor" << source << "=>" << library;
    // Only the files missing in the library are copied: a user's edits of an
    // official theme (or a newer copy) stay.
    const QFileInfoList themes = QDir(source).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    bool copied = true;
    for (const QFileInfo& theme : themes) {
        const QString target = library + QLatin1Char('/') + theme.fileName();
        if (!QFileInfo::exists(target)) {
            copied = ThemeStorage::copyThemeFolder(theme.absoluteFilePath(), target) && copied;
        }
    }
    return copied;
}

} // namespace OfficialThemes
