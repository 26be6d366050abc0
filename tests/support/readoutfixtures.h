#pragma once

#include "sensorfixtures.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

// Helpers of the readout widget tests: a manager fed by a one-sensor replay
// file, and colour checks on rendered pixels.
namespace ReadoutFixtures {

// A replay with one AMD CPU whose first reading is a temperature (CPU
// Temperature, display type 0) and its "values" (one per pass).
inline QString writeTemperatureReplay(const QTemporaryDir& dir, const QString& values)
{
    const QString path = dir.filePath(QStringLiteral("replay.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QString();
    }
    file.write(QStringLiteral(R"({"auxiliary":{"cpuName":"AMD Ryzen"},"sensors":[{"name":"CPU [#0]: AMD",)"
                              R"("readings":[{"type":1,"class":11,"subclass":10,"device":"AMD",)"
                              R"("label":"CPU Die","unit":"°C","values":[%1]},)"
                              R"({"type":6,"class":11,"subclass":10,"device":"AMD",)"
                              R"("label":"Core 0 Clock","unit":"MHz","value":4000}]}]})")
                   .arg(values)
                   .toUtf8());
    return path;
}

using SensorFixtures::replayManagerAt;

inline QImage render(QWidget* widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget->render(&image);
    return image;
}

inline bool near(const QColor& a, const QColor& b, int tolerance = 40)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance && std::abs(a.alpha() - b.alpha()) <= tolerance;
}

} // namespace ReadoutFixtures
