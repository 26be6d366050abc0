#include "languagetable.h"

#include "datadir.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

struct Row
{
    const char* text;
    bool translatable;
    const char* file;
};

// QT_TRANSLATE_NOOP keeps the texts in the settings page's translation context.
const Row kRows[LanguageTable::kCount] = {
    {QT_TRANSLATE_NOOP("dispsettingwidget", "English"), true, "/zh_EN.qm"},
    {"Simplified Chinese", false, "/zh_CH.qm"},
    {"Traditional Chinese", false, "/zh_TW.qm"},
    {QT_TRANSLATE_NOOP("dispsettingwidget", "Arabic"), true, "/zh_Arabic.qm"},
    {QT_TRANSLATE_NOOP("dispsettingwidget", "Spanish"), true, "/es_ES.qm"},
    {QT_TRANSLATE_NOOP("dispsettingwidget", "German"), true, "/de_DE.qm"},
    {QT_TRANSLATE_NOOP("dispsettingwidget", "French"), true, "/fr_FR.qm"},
    {QT_TRANSLATE_NOOP("dispsettingwidget", "Italian"), true, "/it_IT.qm"},
    {QT_TRANSLATE_NOOP("dispsettingwidget", "Portuguese"), true, "/pt_PT.qm"},
    {QT_TRANSLATE_NOOP("dispsettingwidget", "Polish"), true, "/pl_PL.qm"},
    {QT_TRANSLATE_NOOP("dispsettingwidget", "Turkish"), true, "/tr_TR.qm"},
    {QT_TRANSLATE_NOOP("dispsettingwidget", "Japanese"), true, "/ja_JP.qm"},
    {QT_TRANSLATE_NOOP("dispsettingwidget", "Korean"), true, "/ko_KR.qm"},
};

bool inRange(int index)
{
    return index >= 0 && index < LanguageTable::kCount;
}

} // namespace

namespace LanguageTable {

const char* comboText(int index)
{
    return inRange(index) ? kRows[index].text : "";
}

bool isTranslatable(int index)
{
    return inRange(index) && kRows[index].translatable;
}

QString fileName(int index)
{
    return inRange(index) ? QString::fromLatin1(kRows[index].file) : QString();
}

QString resolveFile(int index)
{
    const QString name = fileName(index);
    if (name.isEmpty()) {
        return QString();
    }
    QStringList folders{Panelcast::dataDirectory()};
    if (QCoreApplication::instance()) {
        folders << QCoreApplication::applicationDirPath();
    }
    folders << Panelcast::installedShareDirectory();
    for (const QString& folder : folders) {
        const QString path = folder + name;
        if (QFileInfo(path).isFile()) {
            return path;
        }
    }
    return QString();
}

} // namespace LanguageTable
