#include "dispwidgetnames.h"

#include <array>

namespace {

struct Entry
{
    const char* word;
    int counter;
};

// GUI thread only, like every widget constructor that uses it.
std::array<Entry, DispWidgetNames::KindCount> g_names = {{
    {"text", 0},
    {"data", 0},
    {"date", 0},
    {"time", 0},
    {"weekday", 0},
    {"image", 0},
    {"arc_%1", 0},
    {"progress_bar_%1", 0},
    {"gauge_%1", 0},
    {"gauge_%1", 0}, // the 3D widget shares the word, not the counter
    {"clock_%1", 0},
    {"chart_%1", 0},
    {"screen_capture", 0},
}};

} // namespace

QString DispWidgetNames::next(Kind kind, const QString& suffix)
{
    if (kind < 0 || kind >= KindCount) {
        return QString();
    }
    Entry& entry = g_names[kind];
    QString pattern = QString::fromLatin1(entry.word);
    if (!pattern.contains(QLatin1String("%1"))) {
        if (!suffix.isEmpty()) {
            return pattern + suffix;
        }
        pattern += QLatin1String("_%1");
    }
    return pattern.arg(entry.counter++);
}

QString DispWidgetNames::word(Kind kind)
{
    if (kind < 0 || kind >= KindCount) {
        return QString();
    }
    return QString::fromLatin1(g_names[kind].word);
}

int DispWidgetNames::peekCounter(Kind kind)
{
    if (kind < 0 || kind >= KindCount) {
        return -1;
    }
    return g_names[kind].counter;
}
