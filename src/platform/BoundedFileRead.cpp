#include "platform/BoundedFileRead.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool ReadOpenedFile(int descriptor, qint64 maxBytes, QByteArray &contents)
{
    struct stat status;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_size > maxBytes) {
        return false;
    }
    const qsizetype size = qsizetype(status.st_size);
    // Files under /proc state no size either, and some of them give away what they are read for
    // (/proc/kmsg takes the kernel's messages from their reader): an empty file is not read.
    if (size == 0) {
        contents.clear();
        return true;
    }
    // One byte more than the stated size, so that a file giving more than it states is caught
    // by the same single read that takes the rest.
    contents.resize(size + 1);
    ssize_t count = 0;
    do {
        count = ::read(descriptor, contents.data(), size_t(size + 1));
    } while (count < 0 && errno == EINTR);
    contents.truncate(size);
    return count == size;
}

// Opens the file (a path, or a name in an open folder) and reads it whole.
bool OpenAndRead(int folder, const char *name, qint64 maxBytes, QByteArray &contents)
{
    // Non-blocking, so that a file swapped for a pipe since it was looked at cannot hold us.
    const int descriptor = ::openat(folder, name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    bool read = false;
    if (descriptor >= 0) {
        read = ReadOpenedFile(descriptor, maxBytes, contents);
        ::close(descriptor);
    }
    if (!read) {
        contents.clear();
    }
    return read;
}

} // namespace

bool ReadRegularFile(const QString &path, qint64 maxBytes, QByteArray &contents)
{
    const QByteArray nativePath = QFile::encodeName(path);
    struct stat status;
    // Opening a device can do things of its own (rewind a tape, start a watchdog): only a path
    // that is a regular file now gets opened.
    if (::stat(nativePath.constData(), &status) != 0 || !S_ISREG(status.st_mode)) {
        contents.clear();
        return false;
    }
    return OpenAndRead(AT_FDCWD, nativePath.constData(), maxBytes, contents);
}

bool ReadListedFile(int folder, const QByteArray &name, qint64 maxBytes, QByteArray &contents)
{
    return OpenAndRead(folder, name.constData(), maxBytes, contents);
}
