#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// The most recent sources, newest first, mirrored in a text file of one path per line. Each entry
// keeps the bytes it was read or recorded as, so a line the program did not change is written
// back exactly, whatever its encoding. A path is listed when its file-system name is an entry's
// bytes. An empty list is the absence of the file.
class RecentFileList
{
public:
    static constexpr int kMaxRecorded = 10;
    // Ten paths of the longest a path can be, with room to spare.
    static constexpr qint64 kMaxFileBytes = 64 * 1024;

    // The entries as text, for the menu and for opening.
    QStringList Paths() const;

    // Replaces the list with the file's lines; empty lines are skipped and no limit applies to
    // their number. A file that is no regular file or larger than kMaxFileBytes is an empty list.
    void Load(const QString &file);

    // Puts a path not yet listed at the front, drops one entry when the list then holds more
    // than ten, and rewrites the file. Returns false, changing neither the list nor the file,
    // when the path is listed already or cannot be kept as one line (empty, or holding a line
    // break): it still plays, it is only not remembered.
    bool Record(const QString &path, const QString &file);

    // Empties the list and deletes the file.
    void Clear(const QString &file);

private:
    struct Entry
    {
        QByteArray stored; // the line's bytes, without the line end
        QString path;
    };

    QVector<Entry> m_entries;
};

// Where the recent list is kept: RecentConfig.txt in the per-user folder.
QString RecentFilePath();
