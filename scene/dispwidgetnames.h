#pragma once

#include <QString>

// The naming table of the display widgets: each class has a type word (or a
// pattern holding "%1") and its own counter that starts at 0 in each run.
class DispWidgetNames
{
public:
    enum Kind
    {
        Text,
        Number,
        Date,
        Time,
        Weekday,
        Image,
        Arc,
        ProgressBar,
        Gauge,
        ThreeD,
        AnalogClock,
        Chart,
        ScreenCapture,
        KindCount
    };

    DispWidgetNames() = delete;

    // An empty suffix, or a pattern that holds "%1", takes the next number
    // of the kind's counter ("data_0", "arc_3"); any other suffix is appended
    // to the type word unchanged ("date" + "_home_datetime").
    static QString next(Kind kind, const QString& suffix = QString());
    // "text", "data", ..., "arc_%1", "progress_bar_%1", "gauge_%1" ...
    static QString word(Kind kind);
    // The number the next unnamed widget of the kind gets.
    static int peekCounter(Kind kind);
};

// The grouping object of a dropped "DateTime" tool.
inline constexpr const char* kDateTimeCompName = "data_time_comp";
