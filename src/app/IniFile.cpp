#include "app/IniFile.h"

#include <QFile>
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

QStringList SplitLines(const QByteArray &contents)
{
    QString text = QString::fromUtf8(contents);
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.split(QLatin1Char('\n'));
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return IniFile();
    }
    return Parse(file.readAll());
}

IniFile IniFile::Parse(const QByteArray &contents)
{
    IniFile ini;
    Section *current = nullptr;
    for (const QString &rawLine : SplitLines(contents)) {
        const QString line = rawLine.trimmed();
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
    QStringList lines;
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly)) {
        lines = SplitLines(existing.readAll());
        existing.close();
        if (!lines.isEmpty() && lines.last().isEmpty()) {
            lines.removeLast();
        }
    }

    const QString newLine = key + QLatin1Char('=') + value;
    qsizetype sectionStart = -1;
    qsizetype insertAt = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
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
            lines[i] = newLine;
            insertAt = -1;
            break;
        }
        insertAt = i + 1;
    }
    if (sectionStart < 0) {
        if (!lines.isEmpty()) {
            lines.append(QString());
        }
        lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        lines.append(newLine);
    } else if (insertAt >= 0) {
        lines.insert(insertAt, newLine);
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    return file.commit();
}
