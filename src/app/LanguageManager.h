#pragma once

#include <QString>

#include <map>
#include <memory>
#include <vector>

struct LanguageEntry
{
    QString name;    // what "Default" holds once chosen; also names the language file
    QString display; // what the Language menu shows
};

// Every text the user sees comes from here, looked up by a "Section/Entry" key in the language
// file that config.ini names. Missing texts are empty, never an error.
class CLanguageManager
{
public:
    // The one manager of the process, reading config.ini and the Languages folder beside the
    // program, and the choice from LanguageChoiceFolder(). Created on first use; GUI thread only.
    static CLanguageManager &Instance();

    // config.ini in the choice folder, when it names a language, overrides the one beside the
    // program, which is then only read. Without a choice folder the choice is kept beside the
    // program.
    explicit CLanguageManager(const QString &programFolder, const QString &choiceFolder = {});

    QString GetText(const char *key) const;
    const std::vector<LanguageEntry> &GetLanguageList() const { return m_languageList; }
    QString GetCurrentLanguage() const { return m_currentLanguage; }

    // Stores the choice in the choice folder's config.ini and reloads the texts. A config.ini
    // that cannot be written keeps the language that was in force. Always returns 1.
    int SetLanguage(const QString &name);

private:
    friend class LanguageManagerTestAccess;

    void ReadCurrentLanguage();
    void ReadLanguageList();
    void LoadTextTable();

    QString m_configFilePath;
    QString m_choiceFilePath; // the same file when the program keeps its choices beside it
    QString m_languageFolderPath;
    QString m_currentLanguage;
    std::vector<LanguageEntry> m_languageList;
    // Section name -> entry name -> text; both levels compare exactly, letter case included.
    std::map<QString, std::map<QString, QString>> m_textTable;

    static std::unique_ptr<CLanguageManager> s_instance;
};

// Shorthand for the lookup every window and dialog makes.
inline QString GetText(const char *key)
{
    return CLanguageManager::Instance().GetText(key);
}
