#include "sysfsfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <unistd.h>

#include <algorithm>

namespace SysfsFiles {

QByteArray readFile(const QString& path, qint64 limit)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        return {};
    }
    return file.read(limit);
}

QString readText(const QString& path)
{
    return QString::fromUtf8(readFile(path).trimmed());
}

bool readNumber(const QString& path, qint64* value)
{
    const QByteArray text = readFile(path).trimmed();
    bool ok = false;
    const qint64 parsed = text.toLongLong(&ok);
    if (ok) {
        *value = parsed;
    }
    return ok;
}

bool canOpen(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

QString canonical(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

QStringList sortedEntries(const QString& dir, const QString& pattern)
{
    QDir d(dir);
    if (!pattern.isEmpty()) {
        d.setNameFilters({pattern});
    }
    return d.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Numbers N of files named <prefix>N<suffix>, ascending.
QList<int> numberedAttributes(const QString& dir, const QString& prefix, const QString& suffix)
{
    QList<int> numbers;
    const QRegularExpression pattern(
        QStringLiteral("^%1(\\d+)%2$")
            .arg(QRegularExpression::escape(prefix), QRegularExpression::escape(suffix)));
    for (const QString& entry : sortedEntries(dir)) {
        const QRegularExpressionMatch match = pattern.match(entry);
        if (match.hasMatch()) {
            numbers.append(match.captured(1).toInt());
        }
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

QString symlinkName(const QString& path)
{
    char target[4096];
    const ssize_t length = ::readlink(QFile::encodeName(path).constData(), target, sizeof(target) - 1);
    if (length <= 0) {
        return {};
    }
    return QFileInfo(QString::fromUtf8(target, int(length))).fileName();
}

QByteArray symlinkTarget(const QString& path)
{
    char target[4096];
    const ssize_t length = ::readlink(QFile::encodeName(path).constData(), target, sizeof(target) - 1);
    return length > 0 ? QByteArray(target, int(length)) : QByteArray();
}

} // namespace SysfsFiles
