#include "autorun.h"

#include "logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

QString AutoRun::currentExecutable()
{
    return QCoreApplication::applicationFilePath();
}

#ifdef Q_OS_WIN

namespace {

const char* const kRunKey = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The value name is the file name without its ".exe" suffix.
QString runValueName(const QString& executable)
{
    const QString name = QFileInfo(executable).fileName();
    return name.left(name.size() - 4);
}

} // namespace

bool AutoRun::setRegistered(bool on, const QString& executable)
{
    QSettings run(QString::fromLatin1(kRunKey), QSettings::NativeFormat);
    if (on) {
        run.setValue(runValueName(executable), QDir::toNativeSeparators(executable));
    } else {
        run.remove(runValueName(executable));
    }
    run.sync();
    return run.status() == QSettings::NoError;
}

bool AutoRun::isRegistered(const QString& executable)
{
    QSettings run(QString::fromLatin1(kRunKey), QSettings::NativeFormat);
    return run.value(runValueName(executable)).toString() == QDir::toNativeSeparators(executable);
}

#else

namespace {

// Desktop entries have at most a few hundred bytes; anything bigger is not ours.
constexpr qint64 kMaxEntryBytes = 64 * 1024;

bool needsQuoting(const QString& program)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    for (const QChar c : program) {
        if (reserved.contains(c)) {
            return true;
        }
    }
    return false;
}

} // namespace

QString AutoRun::autostartFilePath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config)) {
        config = QDir::homePath() + QStringLiteral("/.config");
    }
    return config + QStringLiteral("/autostart/panelcast.desktop");
}

QString AutoRun::quoteExec(const QString& program)
{
    QString arg;
    if (needsQuoting(program)) {
        arg = QStringLiteral("\"");
        for (const QChar c : program) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                c == QLatin1Char('\\')) {
                arg += QLatin1Char('\\');
            }
            arg += c;
        }
        arg += QLatin1Char('"');
    } else {
        arg = program;
    }
    // '%' starts a field code in Exec; the string escape then doubles backslashes.
    arg.replace(QLatin1Char('%'), QStringLiteral("%%"));
    arg.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return arg;
}

QString AutoRun::unquoteExec(const QString& value)
{
    // Undo the string escape first.
    QString text;
    for (int i = 0; i < value.size(); ++i) {
        if (value.at(i) == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar next = value.at(++i);
            switch (next.unicode()) {
            case 's':
                text += QLatin1Char(' ');
                break;
            case 'n':
                text += QLatin1Char('\n');
                break;
            case 't':
                text += QLatin1Char('\t');
                break;
            case 'r':
                text += QLatin1Char('\r');
                break;
            default:
                text += next;
                break;
            }
        } else {
            text += value.at(i);
        }
    }

    // Then the first argument of the command line, quoted or bare.
    QString program;
    bool quoted = false;
    bool closed = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (i == 0 && c == QLatin1Char('"')) {
            quoted = true;
            continue;
        }
        if (quoted) {
            if (c == QLatin1Char('\\') && i + 1 < text.size()) {
                program += text.at(++i);
                continue;
            }
            if (c == QLatin1Char('"')) {
                closed = true;
                break;
            }
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            break;
        }
        if (c == QLatin1Char('%') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('%')) {
            ++i;
        }
        program += c;
    }
    // A quote that never closes makes the whole line invalid.
    return quoted && !closed ? QString() : program;
}

bool AutoRun::setRegistered(bool on, const QString& executable)
{
    const QString path = autostartFilePath();
    if (!on) {
        if (!QFileInfo::exists(path)) {
            return true;
        }
        const bool removed = QFile::remove(path);
        qCDebug(lcBase) << "AutoRun::setRegistered: remove" << path << removed;
        return removed;
    }

    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        qCDebug(lcBase) << "AutoRun::setRegistered: cannot create" << QFileInfo(path).absolutePath();
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        qCDebug(lcBase) << "AutoRun::setRegistered: cannot write" << path << file.errorString();
        return false;
    }
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Panelcast\n"
                                         "Comment=Streams themes to USB smart displays\n"
                                         "Exec=%1\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(quoteExec(QFileInfo(executable).absoluteFilePath()));
    file.write(entry.toUtf8());
    return file.commit();
}

bool AutoRun::isRegistered(const QString& executable)
{
    QFile file(autostartFilePath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text) || file.size() > kMaxEntryBytes) {
        return false;
    }
    const QString content = QString::fromUtf8(file.read(kMaxEntryBytes));

    bool inMainGroup = false;
    for (const QString& raw : content.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inMainGroup) {
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0 || line.left(eq).trimmed() != QLatin1String("Exec")) {
            continue;
        }
        return unquoteExec(line.mid(eq + 1).trimmed()) == QFileInfo(executable).absoluteFilePath();
    }
    return false;
}

#endif
