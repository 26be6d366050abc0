#pragma once

#include <QString>

// Accessors of the base settings file (dataDirectory() + "/baseInfo.cfg", INI).
// Every call opens the file anew and touches exactly one key, so several
// pages and the user editing the file by hand never see stale values.
class BaseInfo
{
public:
    BaseInfo() = delete;

    static QString filePath();

    // [autoRun] state
    static bool autoRunState();
    static void setAutoRunState(bool on);

    // [brightness] value, percent 0..100
    static int brightness();
    static void setBrightness(int percent);

    // [language] type, row of the language table
    static int languageType();
    static void setLanguageType(int index);

    // [minimize] state: start hidden in the tray
    static bool minimizeState();
    static void setMinimizeState(bool on);

    // [temp] uint: 0 Celsius, 1 Fahrenheit
    static int tempUnit();
    static void setTempUnit(int unit);

    // [<width><height>] path: last theme file of a panel size, e.g. group "4801920"
    static QString themePath(const QString& group);
    static void setThemePath(const QString& group, const QString& path);
    static QString sizeGroup(int width, int height);
};
