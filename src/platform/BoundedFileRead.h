#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Reads a whole regular file of at most maxBytes bytes, without ever waiting on it: a path that
// is no regular file, links followed, is not opened at all; the file is opened without blocking,
// checked again once open, and read with one bounded read, which must give exactly the size the
// file states. A file that states no size (as those under /proc do) is taken as empty, unread.
// False, with the contents emptied, for a file that is missing, no regular file, larger than
// maxBytes (nothing of it is read) or not readable that way.
bool ReadRegularFile(const QString &path, qint64 maxBytes, QByteArray &contents);

// The same for a file of an open folder (OpenFolder) that its listing has just reported as
// regular: the look-up before opening is left out, the check of what was opened is not.
bool ReadListedFile(int folder, const QByteArray &name, qint64 maxBytes, QByteArray &contents);
