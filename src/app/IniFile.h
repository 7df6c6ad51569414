#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// A small ini reader that keeps sections and their lines in file order, which the language
// tables depend on. Files are UTF-8. Lines are trimmed; blank lines and lines starting with ";"
// or "#" are skipped; lines before the first section belong to none and are skipped.
class IniFile
{
public:
    struct Section
    {
        QString name;
        QStringList lines; // "name=value" lines as written, trimmed
    };

    // Far above any settings or language file.
    static constexpr qint64 kMaxFileBytes = 1024 * 1024;

    // A missing or unreadable file reads as one without sections, and so does one that is no
    // regular file (a FIFO would never end) or is larger than kMaxFileBytes.
    static IniFile Load(const QString &path);
    static IniFile Parse(const QByteArray &contents);

    const QVector<Section> &Sections() const { return m_sections; }

    // The lines of the first section of that name; section names match regardless of case.
    QStringList SectionLines(const QString &section) const;

    // The value of the first line of the section whose name (before the first "=", trimmed)
    // matches the key regardless of case; the fallback when there is none.
    QString Value(const QString &section, const QString &key, const QString &fallback) const;

    // Sets one value in the file, changing no other byte: other lines keep their encoding and
    // line ends, and an added line ends the way the file's lines do. Creates the file, the
    // section or the line as needed. A write-protected file is left alone and gives false.
    static bool WriteValue(const QString &path, const QString &section, const QString &key,
                           const QString &value);

private:
    QVector<Section> m_sections;
};

// Splits an ini line at its first "=". A line without one gives the whole line as both parts.
struct IniLine
{
    QString name;
    QString value;
    static IniLine Split(const QString &line);
};
