#include "sensornames.h"

#include "datadir.h"

#include <QSettings>

namespace {

QString keyOf(int index)
{
    return QString::number(index) + QStringLiteral("/group");
}

} // namespace

SensorNames::SensorNames() : SensorNames(defaultPath()) {}

SensorNames::SensorNames(const QString& path)
    : m_settings(std::make_unique<QSettings>(path, QSettings::IniFormat))
{
    m_settings->setIniCodec("UTF-8");
}

SensorNames::~SensorNames() = default;

QString SensorNames::defaultPath()
{
    return Panelcast::dataDirectory() + QStringLiteral("/sensorName.cfg");
}

bool SensorNames::contains(int index) const
{
    return m_settings->contains(keyOf(index));
}

QString SensorNames::name(int index) const
{
    return m_settings->value(keyOf(index)).toString();
}

void SensorNames::setName(int index, const QString& name)
{
    m_settings->setValue(keyOf(index), name);
}

QString SensorNames::nameOrStore(int index, const QString& fallback)
{
    if (contains(index)) {
        return name(index);
    }
    setName(index, fallback);
    return fallback;
}

void SensorNames::sync()
{
    m_settings->sync();
}
