#include "common/TestMain.h"

#include "app/IniFile.h"
#include "app/LanguageManager.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

bool WriteAll(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(contents) == contents.size();
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QByteArray();
    }
    return file.readAll();
}

QStringList Names(const std::vector<LanguageEntry> &list)
{
    QStringList names;
    for (const LanguageEntry &entry : list) {
        names << entry.name;
    }
    return names;
}

QStringList Displays(const std::vector<LanguageEntry> &list)
{
    QStringList displays;
    for (const LanguageEntry &entry : list) {
        displays << entry.display;
    }
    return displays;
}

const QByteArray kConfig = "[DefaultLanguage]\n"
                           "Default=/English\n"
                           "\n"
                           "[Languages]\n"
                           "/English=English\n"
                           "/German=Deutsch\n"
                           "/Odd=Odd=Even\n";

const QByteArray kEnglish = "[MainWnd]\n"
                            "OpenFile=Open File\n"
                            "Dup=First\n"
                            "Dup=Second\n"
                            "Formula=a=b=c\n"
                            "Umlaut=\xc3\x96\x66\x66nen\n"
                            "\n"
                            "[A/B]\n"
                            "C=Deep\n"
                            "\n"
                            "[Messages]\n"
                            "MSG0403=Information\n";

const QByteArray kGerman = "[MainWnd]\n"
                           "OpenFile=Datei \xc3\xb6\x66\x66nen\n"
                           "[Messages]\n"
                           "MSG0403=Hinweis\n";

// Every text the windows and dialogs look up; each shipped language has to give all of them.
const char *const kRequiredKeys[] = {
    "MainWnd/Audio",
    "MainWnd/AudioChannel",
    "MainWnd/AudioTrack",
    "MainWnd/Backward",
    "MainWnd/Browse",
    "MainWnd/Cancel",
    "MainWnd/Chapter",
    "MainWnd/ClearMenu",
    "MainWnd/Close",
    "MainWnd/Controls",
    "MainWnd/DoubleSize",
    "MainWnd/Eject",
    "MainWnd/File",
    "MainWnd/Fit2Screen",
    "MainWnd/Forward",
    "MainWnd/FreeTitle",
    "MainWnd/FullScreen",
    "MainWnd/HalfSize",
    "MainWnd/Help",
    "MainWnd/Language",
    "MainWnd/Left",
    "MainWnd/NavigationPanel",
    "MainWnd/Next",
    "MainWnd/NormalSize",
    "MainWnd/OK",
    "MainWnd/Open",
    "MainWnd/OpenDisc",
    "MainWnd/OpenFile",
    "MainWnd/OtherTitles",
    "MainWnd/Pause",
    "MainWnd/Play",
    "MainWnd/PlayList",
    "MainWnd/PlayMovie",
    "MainWnd/PlayWholeList",
    "MainWnd/Preferences",
    "MainWnd/Previous",
    "MainWnd/ProTitle",
    "MainWnd/RecentFiles",
    "MainWnd/RegisterTitle",
    "MainWnd/ResumedAt",
    "MainWnd/Resume",
    "MainWnd/Right",
    "MainWnd/Snapshot",
    "MainWnd/StartOver",
    "MainWnd/SnapshotFolder",
    "MainWnd/SnapshotFormat",
    "MainWnd/Stereo",
    "MainWnd/Stop",
    "MainWnd/Subtitle",
    "MainWnd/SubtitleTrack",
    "MainWnd/Support",
    "MainWnd/Title",
    "MainWnd/Tools",
    "MainWnd/Video",
    "MainWnd/VideoTrack",
    "MainWnd/VolumeDown",
    "MainWnd/VolumeUp",
    "MainWnd/Volume",
    "MainWnd/Muted",
    "MainWnd/NextAudioTrack",
    "MainWnd/NextSubtitleTrack",
    "MainWnd/SnapshotSaved",
    "Messages/MSG0102",
    "Messages/MSG0403",
    "Messages/MSG0404",
    "Messages/MSG0405",
    "Messages/MSG0501",
    "Messages/MSG0502",
    "Messages/MSG0503",
    "Messages/MSG0504",
    "Messages/MSG0505",
    "Messages/MSG0506",
};

// The single-instance search finds the running player's window by this title.
const QString kProgramTitle = QStringLiteral("Tavrix BluRay Player");

} // namespace

class LanguageManagerTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void getText_data();
    void getText();
    void configNamesTheLanguageFile();
    void withoutConfigEnglishIsRead();
    void languageListKeepsFileOrder();
    void missingLanguageFileGivesEmptyTextsUntilSwitchedBack();
    void readOnlyConfigKeepsLanguage_data();
    void readOnlyConfigKeepsLanguage();
    void choiceInItsOwnFolderOverridesTheShippedOne();
    void setLanguageDoesNotRereadList();

    void shippedLanguagesOffered();
    void shippedLanguageHasEveryText_data();
    void shippedLanguageHasEveryText();

private:
    QString ConfigPath() const { return m_folder->filePath(QStringLiteral("config.ini")); }
    QString LanguagePath(const QString &file) const
    {
        return m_folder->filePath(QStringLiteral("Languages/") + file);
    }
    std::vector<LanguageEntry> ShippedLanguages() const;

    // A program folder of its own for every test.
    std::unique_ptr<QTemporaryDir> m_folder;
    // A copy of the shipped config.ini and Languages, which choosing a language writes to.
    QTemporaryDir m_shipped;
};

void LanguageManagerTest::initTestCase()
{
    QVERIFY(m_shipped.isValid());
    const QDir source(QStringLiteral(TAVRIX_SOURCE_DIR "/src/resources"));
    QVERIFY2(source.exists(QStringLiteral("config.ini")), qPrintable(source.path()));
    QVERIFY(QFile::copy(source.filePath(QStringLiteral("config.ini")),
                        m_shipped.filePath(QStringLiteral("config.ini"))));
    QVERIFY(QDir(m_shipped.path()).mkdir(QStringLiteral("Languages")));
    const QDir languages(source.filePath(QStringLiteral("Languages")));
    const QStringList files = languages.entryList({QStringLiteral("*.ini")}, QDir::Files);
    QVERIFY(!files.isEmpty());
    for (const QString &file : files) {
        QVERIFY(QFile::copy(languages.filePath(file),
                            m_shipped.filePath(QStringLiteral("Languages/") + file)));
    }
}

void LanguageManagerTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("Languages")));
    QVERIFY(WriteAll(ConfigPath(), kConfig));
    QVERIFY(WriteAll(LanguagePath(QStringLiteral("English.ini")), kEnglish));
    QVERIFY(WriteAll(LanguagePath(QStringLiteral("German.ini")), kGerman));
}

void LanguageManagerTest::cleanup()
{
    m_folder.reset();
}

void LanguageManagerTest::getText_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("existing") << QByteArray("MainWnd/OpenFile") << QStringLiteral("Open File");
    QTest::newRow("other section")
        << QByteArray("Messages/MSG0403") << QStringLiteral("Information");
    QTest::newRow("missing entry") << QByteArray("MainWnd/Missing") << QString();
    QTest::newRow("missing section") << QByteArray("Nowhere/OpenFile") << QString();
    QTest::newRow("entry in the wrong section") << QByteArray("Messages/OpenFile") << QString();
    QTest::newRow("lower-case key") << QByteArray("mainwnd/openfile") << QString();
    QTest::newRow("lower-case entry") << QByteArray("MainWnd/openfile") << QString();
    QTest::newRow("lower-case section") << QByteArray("mainwnd/OpenFile") << QString();
    QTest::newRow("first of two wins") << QByteArray("MainWnd/Dup") << QStringLiteral("First");
    QTest::newRow("text keeps later equals")
        << QByteArray("MainWnd/Formula") << QStringLiteral("a=b=c");
    QTest::newRow("section name with slash") << QByteArray("A/B/C") << QStringLiteral("Deep");
    QTest::newRow("utf-8 text") << QByteArray("MainWnd/Umlaut")
                                << QString(QChar(0xD6) + QStringLiteral("ffnen"));
    QTest::newRow("no slash") << QByteArray("MainWnd") << QString();
    QTest::newRow("empty key") << QByteArray("") << QString();
}

void LanguageManagerTest::getText()
{
    QFETCH(QByteArray, key);
    QFETCH(QString, expected);
    const CLanguageManager manager(m_folder->path());
    QCOMPARE(manager.GetText(key.constData()), expected);
}

void LanguageManagerTest::configNamesTheLanguageFile()
{
    QVERIFY(IniFile::WriteValue(ConfigPath(), QStringLiteral("DefaultLanguage"),
                                QStringLiteral("Default"), QStringLiteral("/German")));
    const CLanguageManager manager(m_folder->path());
    QCOMPARE(manager.GetCurrentLanguage(), QStringLiteral("/German"));
    QCOMPARE(manager.GetText("MainWnd/OpenFile"),
             QString(QStringLiteral("Datei ") + QChar(0xF6) + QStringLiteral("ffnen")));
    QCOMPARE(manager.GetText("MainWnd/Dup"), QString());
}

void LanguageManagerTest::withoutConfigEnglishIsRead()
{
    QVERIFY(QFile::remove(ConfigPath()));
    const CLanguageManager manager(m_folder->path());
    QCOMPARE(manager.GetCurrentLanguage(), QStringLiteral("/English"));
    QCOMPARE(manager.GetText("MainWnd/OpenFile"), QStringLiteral("Open File"));
    QVERIFY(manager.GetLanguageList().empty());
    QVERIFY(!QFile::exists(ConfigPath()));
}

void LanguageManagerTest::languageListKeepsFileOrder()
{
    QVERIFY(WriteAll(ConfigPath(), "[Languages]\n"
                                   "/Zulu=isiZulu\n"
                                   "; /Hidden=Hidden\n"
                                   "/English=English\n"
                                   "/Odd=Odd=Even\n"
                                   "[DefaultLanguage]\n"
                                   "Default=/English\n"));
    const CLanguageManager manager(m_folder->path());
    QCOMPARE(
        Names(manager.GetLanguageList()),
        (QStringList{QStringLiteral("/Zulu"), QStringLiteral("/English"), QStringLiteral("/Odd")}));
    QCOMPARE(Displays(manager.GetLanguageList()),
             (QStringList{QStringLiteral("isiZulu"), QStringLiteral("English"),
                          QStringLiteral("Odd=Even")}));
}

void LanguageManagerTest::missingLanguageFileGivesEmptyTextsUntilSwitchedBack()
{
    CLanguageManager manager(m_folder->path());
    QCOMPARE(manager.GetText("MainWnd/OpenFile"), QStringLiteral("Open File"));

    QCOMPARE(manager.SetLanguage(QStringLiteral("/Klingon")), 1);
    QCOMPARE(manager.GetCurrentLanguage(), QStringLiteral("/Klingon"));
    QCOMPARE(manager.GetText("MainWnd/OpenFile"), QString());
    QCOMPARE(manager.GetText("Messages/MSG0403"), QString());
    QCOMPARE(manager.GetText("A/B/C"), QString());

    QCOMPARE(manager.SetLanguage(QStringLiteral("/English")), 1);
    QCOMPARE(manager.GetCurrentLanguage(), QStringLiteral("/English"));
    QCOMPARE(manager.GetText("MainWnd/OpenFile"), QStringLiteral("Open File"));
    QCOMPARE(manager.GetText("A/B/C"), QStringLiteral("Deep"));

    // Switching away and back gives config.ini its bytes back.
    QCOMPARE(ReadAll(ConfigPath()), kConfig);
}

void LanguageManagerTest::readOnlyConfigKeepsLanguage_data()
{
    QTest::addColumn<bool>("ownFolder"); // the choice kept apart from the program, as installed
    QTest::newRow("beside the program") << false;
    QTest::newRow("in the choice folder") << true;
}

void LanguageManagerTest::readOnlyConfigKeepsLanguage()
{
    QFETCH(bool, ownFolder);
    const QString choiceFolder = m_folder->filePath(QStringLiteral("user"));
    const QString written = ownFolder ? choiceFolder + QStringLiteral("/config.ini") : ConfigPath();
    const QByteArray choice = "[DefaultLanguage]\nDefault=/English\n";
    QVERIFY(QDir().mkpath(choiceFolder));
    if (ownFolder) {
        QVERIFY(WriteAll(written, choice));
    }
    CLanguageManager manager(m_folder->path(), ownFolder ? choiceFolder : QString());
    QVERIFY(QFile::setPermissions(written, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                               QFileDevice::ReadOther));

    const int result = manager.SetLanguage(QStringLiteral("/German"));

    QFile::setPermissions(written, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(result, 1);
    QCOMPARE(manager.GetCurrentLanguage(), QStringLiteral("/English"));
    QCOMPARE(manager.GetText("MainWnd/OpenFile"), QStringLiteral("Open File"));
    QCOMPARE(ReadAll(written), ownFolder ? choice : kConfig);
}

// Installed, the choice goes to a folder of the user's and wins over the shipped default, which
// is never written; a choice file that names no language leaves the shipped default.
void LanguageManagerTest::choiceInItsOwnFolderOverridesTheShippedOne()
{
    const QString choiceFolder = m_folder->filePath(QStringLiteral("user/not yet made"));
    CLanguageManager manager(m_folder->path(), choiceFolder);
    QCOMPARE(manager.SetLanguage(QStringLiteral("/German")), 1);
    QCOMPARE(manager.GetText("Messages/MSG0403"), QStringLiteral("Hinweis"));
    QCOMPARE(ReadAll(ConfigPath()), kConfig);
    QCOMPARE(CLanguageManager(m_folder->path(), choiceFolder).GetCurrentLanguage(),
             QStringLiteral("/German"));

    QVERIFY(
        WriteAll(choiceFolder + QStringLiteral("/config.ini"), "[DefaultLanguage]\nDefault=\n"));
    QCOMPARE(CLanguageManager(m_folder->path(), choiceFolder).GetCurrentLanguage(),
             QStringLiteral("/English"));
}

void LanguageManagerTest::setLanguageDoesNotRereadList()
{
    CLanguageManager manager(m_folder->path());
    const QStringList namesBefore = Names(manager.GetLanguageList());
    const QStringList displaysBefore = Displays(manager.GetLanguageList());
    QCOMPARE(namesBefore.size(), 3);

    QVERIFY(WriteAll(ConfigPath(), "[DefaultLanguage]\n"
                                   "Default=/English\n"
                                   "[Languages]\n"
                                   "/French=Fran\xc3\xa7"
                                   "ais\n"));
    manager.SetLanguage(QStringLiteral("/German"));

    QCOMPARE(manager.GetCurrentLanguage(), QStringLiteral("/German"));
    QCOMPARE(Names(manager.GetLanguageList()), namesBefore);
    QCOMPARE(Displays(manager.GetLanguageList()), displaysBefore);
}

std::vector<LanguageEntry> LanguageManagerTest::ShippedLanguages() const
{
    return CLanguageManager(m_shipped.path()).GetLanguageList();
}

void LanguageManagerTest::shippedLanguagesOffered()
{
    const QStringList displays = Displays(ShippedLanguages());
    const QStringList required = {QStringLiteral("English"), QStringLiteral("Deutsch"),
                                  QStringLiteral("Fran") + QChar(0xE7) + QStringLiteral("ais")};
    for (const QString &display : required) {
        QVERIFY2(displays.contains(display), qPrintable(display + QStringLiteral(" missing from ") +
                                                        displays.join(QStringLiteral(", "))));
    }
}

void LanguageManagerTest::shippedLanguageHasEveryText_data()
{
    QTest::addColumn<QString>("language");

    const std::vector<LanguageEntry> languages = ShippedLanguages();
    for (const LanguageEntry &entry : languages) {
        QTest::newRow(qPrintable(entry.name)) << entry.name;
    }
}

void LanguageManagerTest::shippedLanguageHasEveryText()
{
    QFETCH(QString, language);

    CLanguageManager manager(m_shipped.path());
    manager.SetLanguage(language);
    QCOMPARE(manager.GetCurrentLanguage(), language);

    QStringList missing;
    for (const char *key : kRequiredKeys) {
        if (manager.GetText(key).isEmpty()) {
            missing << QString::fromLatin1(key);
        }
    }
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("no text for ") + missing.join(QStringLiteral(", "))));
    QCOMPARE(manager.GetText("MainWnd/ProTitle"), kProgramTitle);
}

TAVRIX_CORE_TEST_MAIN(LanguageManagerTest)

#include "LanguageManagerTest.moc"
