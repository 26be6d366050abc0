#pragma once

#include <QObject>
#include <QString>

class QTranslator;

// Keeps the one installed interface translator. Switching removes and deletes
// the old translator, then installs a new one only when its file loads, so a
// missing or broken file leaves the built-in English texts.
class LanguageLoader
{
public:
    // New translators are children of owner (the settings page).
    explicit LanguageLoader(QObject* owner);

    // Returns true when a translation was installed.
    bool switchLanguage(int index);

    // The file loaded by the last switch, empty when none.
    QString loadedFile() const { return m_loadedFile; }

private:
    QObject* m_owner = nullptr;
    QTranslator* m_translator = nullptr;
    QString m_loadedFile;
};
