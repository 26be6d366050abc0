#include "datadir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace Panelcast {

namespace {

bool isWritableDirectory(const QString& path)
{
    if (path.isEmpty()) {
        return false;
    }
    // QFileInfo::isWritable only reads permission bits; a read-only mount
    // says yes there, so probe with a real file.
    QTemporaryFile probe(path + QStringLiteral("/.panelcast-probe-XXXXXX"));
    return probe.open();
}

} // namespace

QString dataDirectory()
{
    const QString fromEnv = qEnvironmentVariable("PANELCAST_DATA_DIR");
    if (!fromEnv.isEmpty()) {
        QDir().mkpath(fromEnv);
        return QDir(fromEnv).absolutePath();
    }

    const QString appDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    if (isWritableDirectory(appDir)) {
        return appDir;
    }

    QString perUser = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (perUser.isEmpty()) {
        perUser = QDir::homePath() + QStringLiteral("/.local/share");
    }
    perUser += QStringLiteral("/panelcast");
    QDir().mkpath(perUser);
    return perUser;
}

QString installedShareDirectory()
{
    const QString appDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    return QDir::cleanPath(appDir + QStringLiteral("/../share/panelcast"));
}

QString officialThemesDirectory()
{
    const QString appDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    return officialThemesDirectory(dataDirectory(), appDir,
                                   installedShareDirectory() + QStringLiteral("/themes"));
}

QString officialThemesDirectory(const QString& dataDir, const QString& appDir, const QString& installedThemes)
{
    const bool portable = QFileInfo(dataDir) == QFileInfo(appDir);
    if (!portable && QFileInfo(installedThemes).isDir()) {
        return QDir::cleanPath(installedThemes);
    }
    return dataDir + QStringLiteral("/themes");
}

} // namespace Panelcast
