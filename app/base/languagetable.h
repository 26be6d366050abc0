#pragma once

#include <QString>

// The thirteen interface languages. The row is the combo box row and the
// value stored as [language] type.
namespace LanguageTable {

constexpr int kCount = 13;

// English combo text; the two Chinese rows are shown untranslated.
const char* comboText(int index);
bool isTranslatable(int index);

// Translation file name with its leading slash ("/de_DE.qm"); empty when the
// index is outside the table.
QString fileName(int index);

// The file to load for a row: the data directory's copy, else the one next to
// the executable, else the installed share folder. Empty when the index is
// outside the table or no copy exists.
QString resolveFile(int index);

} // namespace LanguageTable
