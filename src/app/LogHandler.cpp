#include "app/LogHandler.h"

#include "platform/AppDataFolder.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Opens the log for appending only as a regular file of this user's, never through a link and
// never waiting on a special file: the current folder may be shared with strangers.
int OpenOwnLog(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                          0600);
    struct stat status
    {
    };
    if (fd >= 0 && (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
                    status.st_uid != ::geteuid())) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

void LogMessageHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg) {
        return;
    }
    int fd = OpenOwnLog(QStringLiteral("Log.txt"));
    // A log that is not ours goes to the per-user state folder instead.
    if (fd < 0 && EnsureFolderExists(StateFolder())) {
        fd = OpenOwnLog(StateFolder() + QStringLiteral("Log.txt"));
    }
    if (fd < 0) {
        return;
    }
    // In the locale's encoding, like every other text file of the player.
    const QByteArray line = QStringLiteral("Debug: %1\n").arg(message).toLocal8Bit();
    const ssize_t written = ::write(fd, line.constData(), size_t(line.size()));
    Q_UNUSED(written);
    ::close(fd);
}
