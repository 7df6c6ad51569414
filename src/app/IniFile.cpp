#include "app/IniFile.h"

#include "platform/BoundedFileRead.h"

#include <QFileInfo>
#include <QSaveFile>

namespace {

bool IsSectionHeader(const QString &line)
{
    return line.size() >= 2 && line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'));
}

QString SectionName(const QString &header)
{
    return header.mid(1, header.size() - 2).trimmed();
}

bool IsComment(const QString &line)
{
    return line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#'));
}

// One line as the file holds it: its bytes and its own line end ("\r\n", "\n", or nothing for a
// last line without one). Writing these back gives the file's bytes unchanged.
struct StoredLine
{
    QByteArray content;
    QByteArray ending;
};

QVector<StoredLine> SplitStoredLines(const QByteArray &contents)
{
    QVector<StoredLine> lines;
    qsizetype start = 0;
    while (start < contents.size()) {
        const qsizetype newline = contents.indexOf('\n', start);
        const qsizetype end = newline < 0 ? contents.size() : newline;
        StoredLine line{contents.mid(start, end - start), QByteArray()};
        if (newline >= 0) {
            line.ending = "\n";
            if (line.content.endsWith('\r')) {
                line.content.chop(1);
                line.ending.prepend('\r');
            }
        }
        lines.append(line);
        start = end + 1;
    }
    return lines;
}

// Each line as the reader sees it: decoded, without a byte order mark, trimmed.
QStringList LineTexts(const QVector<StoredLine> &lines)
{
    QStringList texts;
    texts.reserve(lines.size());
    for (const StoredLine &line : lines) {
        QString text = QString::fromUtf8(line.content);
        if (texts.isEmpty() && text.startsWith(QChar(0xFEFF))) {
            text.remove(0, 1);
        }
        texts.append(text.trimmed());
    }
    return texts;
}

// A line added to the file ends the way the file's first line does.
QByteArray LineEndingOf(const QVector<StoredLine> &lines)
{
    return lines.isEmpty() || lines.first().ending.isEmpty() ? QByteArray("\n")
                                                             : lines.first().ending;
}

void InsertLine(QVector<StoredLine> &lines, qsizetype at, const QByteArray &content,
                const QByteArray &ending)
{
    // Only the last line may lack a line end; one gets a line after it now.
    if (at > 0 && lines[at - 1].ending.isEmpty()) {
        lines[at - 1].ending = ending;
    }
    lines.insert(at, StoredLine{content, ending});
}

bool IsBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The line with the value after its first "=" replaced; the blanks around the value stay.
QByteArray WithValue(const QByteArray &content, const QByteArray &value)
{
    qsizetype start = content.indexOf('=') + 1;
    while (start < content.size() && IsBlank(content[start])) {
        ++start;
    }
    qsizetype end = content.size();
    while (end > start && IsBlank(content[end - 1])) {
        --end;
    }
    return content.left(start) + value + content.mid(end);
}

bool IsWriteProtected(const QString &path)
{
    const QFileInfo info(path);
    // The owner's write bit is what marks a file read-only here, also for the superuser.
    return info.exists() && !(info.permissions() & QFileDevice::WriteOwner);
}

} // namespace

IniLine IniLine::Split(const QString &line)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0) {
        return {line, line};
    }
    return {line.left(equals).trimmed(), line.mid(equals + 1).trimmed()};
}

IniFile IniFile::Load(const QString &path)
{
    QByteArray contents;
    ReadRegularFile(path, kMaxFileBytes, contents);
    return Parse(contents);
}

IniFile IniFile::Parse(const QByteArray &contents)
{
    IniFile ini;
    Section *current = nullptr;
    for (const QString &line : LineTexts(SplitStoredLines(contents))) {
        if (line.isEmpty() || IsComment(line)) {
            continue;
        }
        if (IsSectionHeader(line)) {
            ini.m_sections.append(Section{SectionName(line), {}});
            current = &ini.m_sections.last();
        } else if (current != nullptr) {
            current->lines.append(line);
        }
    }
    return ini;
}

QStringList IniFile::SectionLines(const QString &section) const
{
    for (const Section &candidate : m_sections) {
        if (candidate.name.compare(section, Qt::CaseInsensitive) == 0) {
            return candidate.lines;
        }
    }
    return {};
}

QString IniFile::Value(const QString &section, const QString &key, const QString &fallback) const
{
    for (const QString &line : SectionLines(section)) {
        const IniLine parts = IniLine::Split(line);
        if (line.contains(QLatin1Char('=')) && parts.name.compare(key, Qt::CaseInsensitive) == 0) {
            return parts.value;
        }
    }
    return fallback;
}

bool IniFile::WriteValue(const QString &path, const QString &section, const QString &key,
                         const QString &value)
{
    if (IsWriteProtected(path)) {
        return false;
    }
    QVector<StoredLine> lines;
    if (QFileInfo::exists(path)) {
        // A file that cannot be read is not replaced by one that lost its other lines.
        QByteArray contents;
        if (!ReadRegularFile(path, kMaxFileBytes, contents)) {
            return false;
        }
        lines = SplitStoredLines(contents);
    }
    const QStringList texts = LineTexts(lines);
    const QByteArray ending = LineEndingOf(lines);
    const QByteArray encodedValue = value.toUtf8();

    qsizetype sectionStart = -1;
    qsizetype insertAt = -1;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QString &line = texts[i];
        if (IsSectionHeader(line)) {
            if (sectionStart >= 0) {
                break;
            }
            if (SectionName(line).compare(section, Qt::CaseInsensitive) == 0) {
                sectionStart = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionStart < 0 || line.isEmpty() || IsComment(line)) {
            continue;
        }
        if (line.contains(QLatin1Char('=')) &&
            IniLine::Split(line).name.compare(key, Qt::CaseInsensitive) == 0) {
            lines[i].content = WithValue(lines[i].content, encodedValue);
            insertAt = -1;
            break;
        }
        insertAt = i + 1;
    }
    const QByteArray newLine = key.toUtf8() + '=' + encodedValue;
    if (sectionStart < 0) {
        qsizetype at = lines.size();
        if (at > 0) {
            InsertLine(lines, at++, QByteArray(), ending);
        }
        InsertLine(lines, at++, '[' + section.toUtf8() + ']', ending);
        InsertLine(lines, at, newLine, ending);
    } else if (insertAt >= 0) {
        InsertLine(lines, insertAt, newLine, ending);
    }

    QByteArray contents;
    for (const StoredLine &line : lines) {
        contents += line.content + line.ending;
    }
    // Replaced whole, so a crash leaves the old file; QSaveFile gives the new file the old one's
    // permission bits before moving it into place, so the mode stays as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(contents);
    return file.commit();
}
