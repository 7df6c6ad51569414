#pragma once

#include <QString>
#include <QStringList>

// The most recent sources, newest first, mirrored in a text file of one path per line. Paths are
// compared as exact text. An empty list is the absence of the file.
class RecentFileList
{
public:
    static constexpr int kMaxRecorded = 10;

    const QStringList &Paths() const { return m_paths; }

    // Replaces the list with the file's lines; empty lines are skipped and no limit applies.
    void Load(const QString &file);

    // Puts a path not yet listed at the front, drops one entry when the list then holds more
    // than ten, and rewrites the file. Returns false when the path was listed already, in which
    // case neither the list nor the file changes.
    bool Record(const QString &path, const QString &file);

    // Empties the list and deletes the file.
    void Clear(const QString &file);

private:
    QStringList m_paths;
};
