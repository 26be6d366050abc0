#include "languageloader.h"

#include "languagetable.h"
#include "logging.h"

#include <QCoreApplication>
#include <QTranslator>

LanguageLoader::LanguageLoader(QObject* owner) : m_owner(owner) {}

bool LanguageLoader::switchLanguage(int index)
{
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator);
        delete m_translator;
        m_translator = nullptr;
    }
    m_translator = new QTranslator(m_owner);
    m_loadedFile.clear();

    const QString path = LanguageTable::resolveFile(index);
    if (path.isEmpty()) {
        qCDebug(lcBase) << "LanguageLoader::switchLanguage: no file for" << index;
        return false;
    }
    if (!m_translator->load(path)) {
        qCDebug(lcBase) << "LanguageLoader::switchLanguage: cannot load" << path;
        return false;
    }
    QCoreApplication::installTranslator(m_translator);
    m_loadedFile = path;
    qCDebug(lcBase) << "LanguageLoader::switchLanguage:" << path;
    return true;
}
