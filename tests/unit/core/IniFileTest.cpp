#include "common/TestMain.h"

#include "app/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

// The parsed file written out as "[name]" followed by its lines, for comparing in one go.
QStringList Flatten(const IniFile &ini)
{
    QStringList flat;
    for (const IniFile::Section &section : ini.Sections()) {
        flat << QLatin1Char('[') + section.name + QLatin1Char(']');
        flat << section.lines;
    }
    return flat;
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QByteArray();
    }
    return file.readAll();
}

bool WriteAll(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(contents) == contents.size();
}

const QByteArray kSample = "; written by hand\n"
                           "orphan=before any section\n"
                           "[DefaultLanguage]\n"
                           "Default=/English\n"
                           "\n"
                           "[Languages]\n"
                           "   /English = English   \n"
                           "# another comment\n"
                           "/German=Deutsch\n"
                           "; /Klingon=tlhIngan\n"
                           "/Odd=A=B\n"
                           "\n"
                           "[ Spaced ]\n"
                           "Plain line\n";

} // namespace

class IniFileTest : public QObject
{
    Q_OBJECT

private slots:
    void parseKeepsSectionAndLineOrder();
    void lineEndingsAndByteOrderMarkReadAlike_data();
    void lineEndingsAndByteOrderMarkReadAlike();
    void sectionLinesIgnoreLetterCase_data();
    void sectionLinesIgnoreLetterCase();
    void value_data();
    void value();
    void splitLine_data();
    void splitLine();
    void whatIsNoSettingsFileReadsAsNoneAndIsKept_data();
    void whatIsNoSettingsFileReadsAsNoneAndIsKept();

    void writeValueCreatesMissingFile();
    void writeValueEditsExistingFile_data();
    void writeValueEditsExistingFile();
    void writeValueAddsMissingSectionAtEnd();
    void writeValueFindsFirstSectionAfterByteOrderMark();
    void writeValueKeepsValueWithEquals();
    void writeValueLeavesReadOnlyFileAlone_data();
    void writeValueLeavesReadOnlyFileAlone();
    void writeValueIntoMissingFolderFails();

private:
    QTemporaryDir m_folder;
};

void IniFileTest::parseKeepsSectionAndLineOrder()
{
    const IniFile ini = IniFile::Parse(kSample);
    const QStringList expected = {
        QStringLiteral("[DefaultLanguage]"), QStringLiteral("Default=/English"),
        QStringLiteral("[Languages]"),       QStringLiteral("/English = English"),
        QStringLiteral("/German=Deutsch"),   QStringLiteral("/Odd=A=B"),
        QStringLiteral("[Spaced]"),          QStringLiteral("Plain line"),
    };
    QCOMPARE(Flatten(ini), expected);
}

void IniFileTest::lineEndingsAndByteOrderMarkReadAlike_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QByteArray>("reference");

    const QByteArray bom = "\xEF\xBB\xBF";
    const QByteArray headerFirst =
        "[DefaultLanguage]\nDefault=/German\n[Languages]\n/German=Deutsch\n";
    QByteArray crlf = kSample;
    crlf.replace("\n", "\r\n");
    QByteArray headerFirstCrlf = headerFirst;
    headerFirstCrlf.replace("\n", "\r\n");

    QTest::newRow("crlf") << crlf << kSample;
    QTest::newRow("bom and lf") << bom + kSample << kSample;
    QTest::newRow("bom and crlf") << bom + crlf << kSample;
    QTest::newRow("no final newline") << kSample.chopped(1) << kSample;
    QTest::newRow("bom before first header") << bom + headerFirst << headerFirst;
    QTest::newRow("bom and crlf before first header") << bom + headerFirstCrlf << headerFirst;
}

void IniFileTest::lineEndingsAndByteOrderMarkReadAlike()
{
    QFETCH(QByteArray, contents);
    QFETCH(QByteArray, reference);
    QVERIFY(!IniFile::Parse(reference).Sections().isEmpty());
    QCOMPARE(Flatten(IniFile::Parse(contents)), Flatten(IniFile::Parse(reference)));
}

void IniFileTest::sectionLinesIgnoreLetterCase_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QStringList>("expected");

    const QStringList defaultLines = {QStringLiteral("Default=/English")};
    QTest::newRow("exact") << QStringLiteral("DefaultLanguage") << defaultLines;
    QTest::newRow("lower case") << QStringLiteral("defaultlanguage") << defaultLines;
    QTest::newRow("upper case") << QStringLiteral("DEFAULTLANGUAGE") << defaultLines;
    QTest::newRow("header with spaces")
        << QStringLiteral("spaced") << QStringList{QStringLiteral("Plain line")};
    QTest::newRow("missing") << QStringLiteral("Nowhere") << QStringList();
}

void IniFileTest::sectionLinesIgnoreLetterCase()
{
    QFETCH(QString, section);
    QFETCH(QStringList, expected);
    QCOMPARE(IniFile::Parse(kSample).SectionLines(section), expected);
}

void IniFileTest::value_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QString fallback = QStringLiteral("<fallback>");
    QTest::newRow("exact") << kSample << "DefaultLanguage"
                           << "Default"
                           << "/English";
    QTest::newRow("key in other case") << kSample << "DefaultLanguage"
                                       << "DEFAULT"
                                       << "/English";
    QTest::newRow("section in other case") << kSample << "defaultlanguage"
                                           << "default"
                                           << "/English";
    QTest::newRow("spaces around equals") << kSample << "Languages"
                                          << "/english"
                                          << "English";
    QTest::newRow("value keeps later equals") << kSample << "Languages"
                                              << "/Odd"
                                              << "A=B";
    QTest::newRow("missing key") << kSample << "Languages"
                                 << "/French" << fallback;
    QTest::newRow("commented-out key") << kSample << "Languages"
                                       << "/Klingon" << fallback;
    QTest::newRow("missing section") << kSample << "Nowhere"
                                     << "Default" << fallback;
    QTest::newRow("key of another section") << kSample << "Languages"
                                            << "Default" << fallback;
    QTest::newRow("line before any section") << kSample << ""
                                             << "orphan" << fallback;
    QTest::newRow("line without equals") << kSample << "Spaced"
                                         << "Plain line" << fallback;
    QTest::newRow("first of two") << QByteArray("[S]\nk=first\nK=second\n") << "s"
                                  << "k"
                                  << "first";
    QTest::newRow("first section of two") << QByteArray("[S]\nk=first\n[s]\nk=second\n") << "S"
                                          << "k"
                                          << "first";
    QTest::newRow("empty value is not missing") << QByteArray("[S]\nk=\n") << "S"
                                                << "k"
                                                << "";
    QTest::newRow("utf-8 value") << QByteArray("[S]\nk=Fran\xc3\xa7"
                                               "ais\n")
                                 << "S"
                                 << "k" << QString(QStringLiteral("Fran") + QChar(0xE7) + "ais");
}

void IniFileTest::value()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(IniFile::Parse(contents).Value(section, key, QStringLiteral("<fallback>")), expected);
}

void IniFileTest::splitLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");

    QTest::newRow("plain") << "a=b"
                           << "a"
                           << "b";
    QTest::newRow("at the first equals") << "a=b=c"
                                         << "a"
                                         << "b=c";
    QTest::newRow("spaces trimmed") << " a = b c "
                                    << "a"
                                    << "b c";
    QTest::newRow("empty value") << "a="
                                 << "a"
                                 << "";
    QTest::newRow("empty name") << "=b"
                                << ""
                                << "b";
    QTest::newRow("no equals") << "whole line"
                               << "whole line"
                               << "whole line";
}

void IniFileTest::splitLine()
{
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(QString, value);
    const IniLine parts = IniLine::Split(line);
    QCOMPARE(parts.name, name);
    QCOMPARE(parts.value, value);
}

void IniFileTest::whatIsNoSettingsFileReadsAsNoneAndIsKept_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    // A FIFO would never end, a huge file would hold the start up.
    QTest::newRow("a FIFO") << "fifo";
    QTest::newRow("larger than any settings file") << "huge";
}

void IniFileTest::whatIsNoSettingsFileReadsAsNoneAndIsKept()
{
    QFETCH(QString, kind);
    const QString path = m_folder.filePath(kind + QStringLiteral(".ini"));
    const QByteArray huge = kSample + QByteArray(2 * 1024 * 1024, '\n');
    if (kind == QLatin1String("fifo")) {
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else if (kind == QLatin1String("huge")) {
        QVERIFY(WriteAll(path, huge));
    }
    QVERIFY(IniFile::Load(path).Sections().isEmpty());
    if (kind != QLatin1String("missing")) {
        QVERIFY(!IniFile::WriteValue(path, QStringLiteral("S"), QStringLiteral("k"),
                                     QStringLiteral("v")));
        QCOMPARE(QFileInfo(path).isFile(), kind == QLatin1String("huge"));
        QCOMPARE(QFileInfo(path).size(), kind == QLatin1String("huge") ? huge.size() : 0);
    }
}

void IniFileTest::writeValueCreatesMissingFile()
{
    const QString path = m_folder.filePath(QStringLiteral("created.ini"));
    QVERIFY(!QFile::exists(path));

    QVERIFY(IniFile::WriteValue(path, QStringLiteral("DefaultLanguage"), QStringLiteral("Default"),
                                QStringLiteral("/German")));

    const IniFile ini = IniFile::Load(path);
    QCOMPARE(Flatten(ini),
             (QStringList{QStringLiteral("[DefaultLanguage]"), QStringLiteral("Default=/German")}));
}

void IniFileTest::writeValueEditsExistingFile_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("after");

    const QByteArray twoSections = "; top comment\n"
                                   "[A]\n"
                                   "k=old\n"
                                   "  indented = kept as is  \n"
                                   "; inner comment\n"
                                   "\n"
                                   "[B]\n"
                                   "k=b\n";

    QTest::newRow("replace in first section")
        << twoSections << "A"
        << "k"
        << QByteArray("; top comment\n[A]\nk=new\n  indented = kept as is  \n; inner comment\n"
                      "\n[B]\nk=b\n");
    QTest::newRow("replace in second section")
        << twoSections << "B"
        << "k"
        << QByteArray("; top comment\n[A]\nk=old\n  indented = kept as is  \n; inner comment\n"
                      "\n[B]\nk=new\n");
    QTest::newRow("replace found regardless of case")
        << QByteArray("[Alpha]\nkey=old\nz=1\n") << "alpha"
        << "KEY" << QByteArray("[Alpha]\nkey=new\nz=1\n");
    QTest::newRow("replace line with spaces") << QByteArray("[A]\n  k = old  \nz=1\n") << "A"
                                              << "k" << QByteArray("[A]\n  k = new  \nz=1\n");
    QTest::newRow("crlf and latin-1 lines kept")
        << QByteArray("[Languages]\r\n/French=Fran\xe7"
                      "ais\r\n\r\n[DefaultLanguage]\r\nDefault=/English\r\n; \xe9t\xe9\r\n")
        << "DefaultLanguage"
        << "Default"
        << QByteArray("[Languages]\r\n/French=Fran\xe7"
                      "ais\r\n\r\n[DefaultLanguage]\r\nDefault=new\r\n; \xe9t\xe9\r\n");
    QTest::newRow("added line ends like the file's lines")
        << QByteArray("[A]\r\nx=1") << "A"
        << "k" << QByteArray("[A]\r\nx=1\r\nk=new\r\n");
    QTest::newRow("add key before next section")
        << QByteArray("[A]\nx=1\ny=2\n\n[B]\nz=3\n") << "A"
        << "k" << QByteArray("[A]\nx=1\ny=2\nk=new\n\n[B]\nz=3\n");
    QTest::newRow("add key to last section") << QByteArray("[A]\nx=1\n[B]\nz=3\n") << "B"
                                             << "k" << QByteArray("[A]\nx=1\n[B]\nz=3\nk=new\n");
    QTest::newRow("add key to empty section") << QByteArray("[A]\n[B]\nz=3\n") << "A"
                                              << "k" << QByteArray("[A]\nk=new\n[B]\nz=3\n");
    QTest::newRow("add key after last line, not after comment")
        << QByteArray("[A]\nx=1\n; about B\n[B]\n") << "A"
        << "k" << QByteArray("[A]\nx=1\nk=new\n; about B\n[B]\n");
    QTest::newRow("commented-out key is not replaced")
        << QByteArray("[A]\nx=1\n;k=old\n") << "A"
        << "k" << QByteArray("[A]\nx=1\nk=new\n;k=old\n");
    QTest::newRow("key of another section is not replaced")
        << QByteArray("[A]\nk=a\n[B]\nx=1\n") << "B"
        << "k" << QByteArray("[A]\nk=a\n[B]\nx=1\nk=new\n");
    QTest::newRow("no final newline") << QByteArray("[A]\nx=1") << "A"
                                      << "k" << QByteArray("[A]\nx=1\nk=new\n");
}

void IniFileTest::writeValueEditsExistingFile()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QByteArray, after);

    const QString path = m_folder.filePath(QStringLiteral("edit.ini"));
    QVERIFY(WriteAll(path, before));
    // A mode that a newly created file would not get.
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadGroup));
    const QFileDevice::Permissions mode = QFile::permissions(path);
    QVERIFY(IniFile::WriteValue(path, section, key, QStringLiteral("new")));
    QCOMPARE(ReadAll(path), after);
    QCOMPARE(QFile::permissions(path), mode);
}

void IniFileTest::writeValueAddsMissingSectionAtEnd()
{
    const QString path = m_folder.filePath(QStringLiteral("append.ini"));
    const QByteArray before = "[A]\nx=1\n; last comment\n";
    QVERIFY(WriteAll(path, before));

    QVERIFY(
        IniFile::WriteValue(path, QStringLiteral("B"), QStringLiteral("k"), QStringLiteral("v")));

    const QByteArray after = ReadAll(path);
    QVERIFY2(after.startsWith(before), after.constData());
    QCOMPARE(Flatten(IniFile::Parse(after)),
             (QStringList{QStringLiteral("[A]"), QStringLiteral("x=1"), QStringLiteral("[B]"),
                          QStringLiteral("k=v")}));
}

void IniFileTest::writeValueFindsFirstSectionAfterByteOrderMark()
{
    const QString path = m_folder.filePath(QStringLiteral("bom.ini"));
    QVERIFY(WriteAll(path, "\xEF\xBB\xBF[A]\r\nk=old\r\nx=1\r\n"));

    QVERIFY(
        IniFile::WriteValue(path, QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("new")));

    QCOMPARE(Flatten(IniFile::Load(path)),
             (QStringList{QStringLiteral("[A]"), QStringLiteral("k=new"), QStringLiteral("x=1")}));
}

void IniFileTest::writeValueKeepsValueWithEquals()
{
    const QString path = m_folder.filePath(QStringLiteral("equals.ini"));
    QVERIFY(
        IniFile::WriteValue(path, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("a=b")));
    QVERIFY(
        IniFile::WriteValue(path, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("c=d")));
    const IniFile ini = IniFile::Load(path);
    QCOMPARE(ini.SectionLines(QStringLiteral("S")), QStringList{QStringLiteral("k=c=d")});
    QCOMPARE(ini.Value(QStringLiteral("S"), QStringLiteral("k"), QString()), QStringLiteral("c=d"));
}

void IniFileTest::writeValueLeavesReadOnlyFileAlone_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");

    QTest::newRow("existing key") << "DefaultLanguage"
                                  << "Default";
    QTest::newRow("missing key") << "DefaultLanguage"
                                 << "Other";
    QTest::newRow("missing section") << "Nowhere"
                                     << "Default";
}

void IniFileTest::writeValueLeavesReadOnlyFileAlone()
{
    QFETCH(QString, section);
    QFETCH(QString, key);

    const QString path = m_folder.filePath(QStringLiteral("readonly.ini"));
    QFile::remove(path);
    QVERIFY(WriteAll(path, kSample));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                            QFileDevice::ReadOther));

    const bool written = IniFile::WriteValue(path, section, key, QStringLiteral("/German"));

    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY(!written);
    QCOMPARE(ReadAll(path), kSample);
}

void IniFileTest::writeValueIntoMissingFolderFails()
{
    const QString path = m_folder.filePath(QStringLiteral("no/such/folder/config.ini"));
    QVERIFY(
        !IniFile::WriteValue(path, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v")));
    QVERIFY(!QFile::exists(path));
}

TAVRIX_CORE_TEST_MAIN(IniFileTest)

#include "IniFileTest.moc"
