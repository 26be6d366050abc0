#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Bounded reads of sysfs and procfs files: a missing or unreadable file
// gives an empty result, never an error.
namespace SysfsFiles {

// sysfs and procfs attributes are small; anything longer is not ours.
constexpr qint64 kAttributeBytes = 4096;
constexpr qint64 kProcFileBytes = 1024 * 1024;

QByteArray readFile(const QString& path, qint64 limit = kAttributeBytes);
QString readText(const QString& path);
bool readNumber(const QString& path, qint64* value);
bool canOpen(const QString& path);
QString canonical(const QString& path);
// Entries of a folder (files, folders, links) sorted by name.
QStringList sortedEntries(const QString& dir, const QString& pattern = QString());
// Numbers N of files named <prefix>N<suffix>, ascending.
QList<int> numberedAttributes(const QString& dir, const QString& prefix, const QString& suffix);
// The target of a symbolic link as stored, and its last component.
QByteArray symlinkTarget(const QString& path);
QString symlinkName(const QString& path);

} // namespace SysfsFiles
