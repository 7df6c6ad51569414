#include "ui/RecentFileList.h"

#include "platform/AppDataFolder.h"

#include "platform/BoundedFileRead.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

QStringList RecentFileList::Paths() const
{
    QStringList paths;
    paths.reserve(m_entries.size());
    for (const Entry &entry : m_entries) {
        paths.append(entry.path);
    }
    return paths;
}

void RecentFileList::Load(const QString &file)
{
    m_entries.clear();
    // A list of this program's has ten paths at most; a hand-made one may be longer, but a file
    // beyond this size (or no regular file: a FIFO would never end) is no list.
    QByteArray contents;
    if (!ReadRegularFile(file, kMaxFileBytes, contents)) {
        return;
    }
    for (QByteArray &line : contents.split('\n')) {
        // A list copied from Windows ends its lines with CR LF.
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        if (!line.isEmpty()) {
            m_entries.append(Entry{line, QFile::decodeName(line)});
        }
    }
}

bool RecentFileList::Record(const QString &path, const QString &file)
{
    // The bytes the file system knows the path by; a listed entry, whatever its encoding, is
    // recognised by them.
    const QByteArray stored = QFile::encodeName(path);
    if (stored.isEmpty() || stored.contains('\n') || stored.contains('\r')) {
        return false;
    }
    const bool listed =
        std::any_of(m_entries.cbegin(), m_entries.cend(),
                    [&stored](const Entry &entry) { return entry.stored == stored; });
    if (listed) {
        return false;
    }
    m_entries.prepend(Entry{stored, path});
    if (m_entries.size() > kMaxRecorded) {
        m_entries.removeLast();
    }
    // Written whole and then moved into place, so a crash never leaves half a list behind.
    QSaveFile output(file);
    if (output.open(QIODevice::WriteOnly)) {
        for (const Entry &entry : m_entries) {
            output.write(entry.stored + '\n');
        }
        output.commit();
    }
    return true;
}

void RecentFileList::Clear(const QString &file)
{
    m_entries.clear();
    QFile::remove(file);
}

QString RecentFilePath()
{
    return AppDataFolder() + QStringLiteral("RecentConfig.txt");
}
