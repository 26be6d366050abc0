#include "baseinfo.h"

#include "datadir.h"

#include <QSettings>
#include <QVariant>

namespace {

QVariant readValue(const QString& group, const QString& key, const QVariant& fallback)
{
    QSettings settings(BaseInfo::filePath(), QSettings::IniFormat);
    settings.beginGroup(group);
    const QVariant value = settings.value(key, fallback);
    settings.endGroup();
    return value;
}

void writeValue(const QString& group, const QString& key, const QVariant& value)
{
    QSettings settings(BaseInfo::filePath(), QSettings::IniFormat);
    settings.beginGroup(group);
    settings.setValue(key, value);
    settings.endGroup();
    settings.sync();
}

int readInt(const QString& group, const QString& key)
{
    bool ok = false;
    const int value = readValue(group, key, 0).toInt(&ok);
    return ok ? value : 0;
}

} // namespace

QString BaseInfo::filePath()
{
    return Panelcast::dataDirectory() + QStringLiteral("/baseInfo.cfg");
}

bool BaseInfo::autoRunState()
{
    return readValue(QStringLiteral("autoRun"), QStringLiteral("state"), false).toBool();
}

void BaseInfo::setAutoRunState(bool on)
{
    writeValue(QStringLiteral("autoRun"), QStringLiteral("state"), on);
}

int BaseInfo::brightness()
{
    return readInt(QStringLiteral("brightness"), QStringLiteral("value"));
}

void BaseInfo::setBrightness(int percent)
{
    writeValue(QStringLiteral("brightness"), QStringLiteral("value"), percent);
}

int BaseInfo::languageType()
{
    return readInt(QStringLiteral("language"), QStringLiteral("type"));
}

void BaseInfo::setLanguageType(int index)
{
    writeValue(QStringLiteral("language"), QStringLiteral("type"), index);
}

bool BaseInfo::minimizeState()
{
    return readValue(QStringLiteral("minimize"), QStringLiteral("state"), false).toBool();
}

void BaseInfo::setMinimizeState(bool on)
{
    writeValue(QStringLiteral("minimize"), QStringLiteral("state"), on);
}

int BaseInfo::tempUnit()
{
    return readInt(QStringLiteral("temp"), QStringLiteral("uint"));
}

void BaseInfo::setTempUnit(int unit)
{
    writeValue(QStringLiteral("temp"), QStringLiteral("uint"), unit);
}

QString BaseInfo::themePath(const QString& group)
{
    return readValue(group, QStringLiteral("path"), QString()).toString();
}

void BaseInfo::setThemePath(const QString& group, const QString& path)
{
    writeValue(group, QStringLiteral("path"), path);
}

QString BaseInfo::sizeGroup(int width, int height)
{
    return QString::number(width) + QString::number(height);
}
