#pragma once

#include <QLocale>
#include <QString>

// The program's catalogue and Qt's own for the desktop's language. English,
// the language of the source texts, needs none. Returns the language loaded
// ("de"), or an empty string when the texts stay English.
QString LoadTranslations(const QLocale& locale = QLocale::system());
// Back to the source texts (tests switch languages within one run).
void UnloadTranslations();
