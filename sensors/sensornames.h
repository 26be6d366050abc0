#pragma once

#include <QString>

#include <memory>

class QSettings;

// Custom names of catalogue records in "sensorName.cfg": one INI group per
// catalogue index ("0", "1", ...) holding the key "group".
class SensorNames
{
public:
    // The file in the data directory.
    SensorNames();
    explicit SensorNames(const QString& path);
    ~SensorNames();
    SensorNames(const SensorNames&) = delete;
    SensorNames& operator=(const SensorNames&) = delete;

    static QString defaultPath();

    bool contains(int index) const;
    QString name(int index) const;
    void setName(int index, const QString& name);
    // The stored name; when there is none, fallback is stored and returned.
    QString nameOrStore(int index, const QString& fallback);
    void sync();

private:
    std::unique_ptr<QSettings> m_settings;
};
