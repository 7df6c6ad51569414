#pragma once

#include <QString>

// A language code as media name their streams ("ger", "deu", "fr", "eng") as the language
// calls itself ("Deutsch", "Français", "English"); the code itself when it names no language
// this system knows.
QString LanguageName(const QString &code);
