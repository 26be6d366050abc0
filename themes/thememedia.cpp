#include "thememedia.h"

#include "themelogging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ThemeMedia {

bool isPlainName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name.contains(QLatin1String("..")))
        return false;
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QChar(0)))
        return false;
    // A drive letter ("C:x") names another folder on the system the theme came from.
    return !name.contains(QLatin1Char(':'));
}

QString resourcePath(const QString& themeFolder, const QString& name)
{
    if (name.isEmpty())
        return QString();
    if (!isPlainName(name)) {
        qCDebug(lcThemes).noquote() << "ThemeMedia::resourcePath: media name refused:" << name;
        return QString();
    }
    return themeFolder + QLatin1String("/res/") + name;
}

QString storeInResources(const QString& sourcePath, const QString& resourceFolder)
{
    const QFileInfo source(sourcePath);
    const QString name = source.fileName();
    if (!isPlainName(name) || resourceFolder.isEmpty())
        return QString();
    const QString target = resourceFolder + QLatin1Char('/') + name;
    const QFileInfo targetInfo(target);
    if (source.exists() && targetInfo.exists() &&
        source.canonicalFilePath() == targetInfo.canonicalFilePath())
        return name; // already in place: never copied onto itself
    if (!source.isFile()) {
        qCDebug(lcThemes).noquote() << "ThemeMedia::storeInResources: no media file" << sourcePath;
        return name;
    }
    if (targetInfo.isSymLink() || targetInfo.exists())
        QFile::remove(target); // removes a link itself, never what it points to
    if (!QFile::copy(sourcePath, target))
        qCDebug(lcThemes).noquote() << "ThemeMedia::storeInResources: cannot copy" << sourcePath << "to"
                                    << target;
    return name;
}

} // namespace ThemeMedia
