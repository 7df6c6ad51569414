#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Play lists kept as M3U files: one entry a line, lines starting with '#' are comments.
namespace M3uList {

// Far above any real list; a file larger than this is not read.
constexpr qint64 kMaxBytes = 4 * 1024 * 1024;
// Entries past this many are left out, so that no list can flood the play list.
constexpr int kMaxEntries = 10000;

// A path whose name ends in .m3u or .m3u8, in any letter case.
bool IsListFile(const QString &path);

// The entries of a list, in order, as absolute paths: a UTF-8 byte order mark, line ends of
// either kind, blank lines and comments left out; file:// URLs made paths; relative entries
// taken from the list's own folder. Other URLs stay as written.
QStringList Parse(const QByteArray &contents, const QString &listFolder);

// The list file's entries; none when it cannot be read (missing, no regular file, too large).
std::optional<QStringList> Read(const QString &listPath);

// The text of a list holding these paths, UTF-8. A path with a control character in it is
// written as a file:// URL, so that no name can start a line of its own.
QByteArray Write(const QStringList &paths);

// Writes the list whole into a new file beside the list's name and renames it over that name:
// a reader never meets half a list, and whatever had the name (a file, a link) is replaced,
// never written through. A list file the user may not write is left alone; one replaced keeps
// its mode. False when nothing was saved.
bool Save(const QString &listPath, const QStringList &paths);

} // namespace M3uList
