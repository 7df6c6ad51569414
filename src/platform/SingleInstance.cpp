#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

QString SingleInstanceLockPath()
{
    return QDir::tempPath() + QStringLiteral("/Tavrix_BluRay_Player_2019_For_Windows");
}

bool IsAnotherInstanceRunning()
{
    const QByteArray path = QFile::encodeName(SingleInstanceLockPath());
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    // Every user's copy must contend for the same file, whatever the creator's umask was.
    ::fchmod(fd, 0666);
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        // The descriptor stays open on purpose: the lock lives as long as this process.
        return false;
    }
    const bool heldElsewhere = errno == EWOULDBLOCK;
    ::close(fd);
    return heldElsewhere;
}
