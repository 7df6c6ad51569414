#include "util/LanguageName.h"

#include <QLocale>

QString LanguageName(const QString &code)
{
    const QLocale::Language language = QLocale::codeToLanguage(
        code.trimmed().toLower(),
        QLocale::ISO639Part1 | QLocale::ISO639Part2B | QLocale::ISO639Part2T);
    if (language == QLocale::AnyLanguage || language == QLocale::C) {
        return code;
    }
    // English alone names itself after a country ("American English"); the language is meant.
    QString name = language == QLocale::English ? QLocale::languageToString(language)
                                                : QLocale(language).nativeLanguageName();
    if (name.isEmpty()) {
        return code;
    }
    name[0] = name[0].toUpper();
    return name;
}
