// The program's texts in the user's language.
#pragma once

#include <QString>

// Installs the program's catalogue from translationsDir and Qt's own (standard buttons, the
// command line's --help and --version lines) for the system locale, which LANGUAGE and LANG
// decide; English, or a language without a catalogue, stays as written. Needs the
// application object.
void installTranslations(const QString &translationsDir);
