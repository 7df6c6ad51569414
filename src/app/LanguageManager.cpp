#include "app/LanguageManager.h"

#include "app/IniFile.h"
#include "platform/AppDataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kDefaultLanguage = QStringLiteral("/English");
const QString kDefaultLanguageSection = QStringLiteral("DefaultLanguage");
const QString kDefaultLanguageKey = QStringLiteral("Default");
const QString kLanguagesSection = QStringLiteral("Languages");

} // namespace

std::unique_ptr<CLanguageManager> CLanguageManager::s_instance;

CLanguageManager &CLanguageManager::Instance()
{
    if (!s_instance) {
        s_instance = std::make_unique<CLanguageManager>(QCoreApplication::applicationDirPath(),
                                                        LanguageChoiceFolder());
    }
    return *s_instance;
}

CLanguageManager::CLanguageManager(const QString &programFolder, const QString &choiceFolder)
    : m_configFilePath(QDir(programFolder).filePath(QStringLiteral("config.ini"))),
      m_choiceFilePath(choiceFolder.isEmpty()
                           ? m_configFilePath
                           : QDir(choiceFolder).filePath(QStringLiteral("config.ini"))),
      m_languageFolderPath(QDir(programFolder).filePath(QStringLiteral("Languages")) +
                           QLatin1Char('/'))
{
    ReadCurrentLanguage();
    ReadLanguageList();
    LoadTextTable();
}

void CLanguageManager::ReadCurrentLanguage()
{
    const QString shipped =
        IniFile::Load(m_configFilePath)
            .Value(kDefaultLanguageSection, kDefaultLanguageKey, kDefaultLanguage);
    const QString chosen =
        m_choiceFilePath == m_configFilePath
            ? QString()
            : IniFile::Load(m_choiceFilePath)
                  .Value(kDefaultLanguageSection, kDefaultLanguageKey, QString());
    m_currentLanguage = chosen.isEmpty() ? shipped : chosen;
}

void CLanguageManager::ReadLanguageList()
{
    for (const QString &line : IniFile::Load(m_configFilePath).SectionLines(kLanguagesSection)) {
        const IniLine parts = IniLine::Split(line);
        m_languageList.push_back(LanguageEntry{parts.name, parts.value});
    }
}

void CLanguageManager::LoadTextTable()
{
    m_textTable.clear();
    // The name keeps its leading "/", so the default gives ".../Languages//English.ini".
    const IniFile file =
        IniFile::Load(m_languageFolderPath + m_currentLanguage + QStringLiteral(".ini"));
    for (const IniFile::Section &section : file.Sections()) {
        auto &entries = m_textTable[section.name];
        for (const QString &line : section.lines) {
            const IniLine parts = IniLine::Split(line);
            // emplace keeps the first text when an entry name comes twice.
            entries.emplace(parts.name, parts.value);
        }
    }
}

QString CLanguageManager::GetText(const char *key) const
{
    const QString wideKey = QString::fromLocal8Bit(key);
    const qsizetype slash = wideKey.lastIndexOf(QLatin1Char('/'));
    const QString sectionName = slash < 0 ? wideKey : wideKey.left(slash);
    const QString entryName = slash < 0 ? QString() : wideKey.mid(slash + 1);
    const auto section = m_textTable.find(sectionName);
    if (section == m_textTable.end()) {
        return QString();
    }
    const auto entry = section->second.find(entryName);
    return entry == section->second.end() ? QString() : entry->second;
}

int CLanguageManager::SetLanguage(const QString &name)
{
    EnsureFolderExists(QFileInfo(m_choiceFilePath).path());
    IniFile::WriteValue(m_choiceFilePath, kDefaultLanguageSection, kDefaultLanguageKey, name);
    ReadCurrentLanguage();
    LoadTextTable();
    return 1;
}
