#include "engine/Snapshots.h"

#include "platform/BoundedFileRead.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder's name is far shorter; anything longer was not written by this program.
constexpr qint64 kMaxStoredFolderBytes = 64 * 1024;
// A folder holding this many snapshots of one second was filled on purpose.
constexpr int kMaxCopiesOfOneName = 1000;

bool MatchesEngineShape(const QString &name)
{
    // \z, not $: $ also matches before a last line break.
    static const QRegularExpression shape(QStringLiteral("^shot[0-9]{4,9}\\.png\\z"));
    return shape.match(name).hasMatch();
}

enum class Creation
{
    Made,
    NameInUse, // by anything, a dangling link included
    Failed,
};

// Opens a new file at the path: never one that is there, never through a link.
Creation CreateNew(const QString &path, QFile &file)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          0666);
    if (fd < 0) {
        return errno == EEXIST ? Creation::NameInUse : Creation::Failed;
    }
    if (!file.open(fd, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        ::unlink(name.constData());
        return Creation::Failed;
    }
    return Creation::Made;
}

} // namespace

namespace Snapshots {

std::optional<QString> EngineSnapshotFile(const QByteArray &engineFile, const QString &folder)
{
    const QString name = QString::fromLatin1(engineFile);
    if (!MatchesEngineShape(name)) {
        return std::nullopt;
    }
    const QString path = QDir(folder).filePath(name);
    const QFileInfo file(path);
    if (file.isSymLink() || !file.isFile()) {
        return std::nullopt;
    }
    return path;
}

bool EngineSnapshotIsLink(const QByteArray &engineFile, const QString &folder)
{
    const QString name = QString::fromLatin1(engineFile);
    return MatchesEngineShape(name) && QFileInfo(QDir(folder).filePath(name)).isSymLink();
}

QString FileName(const QDateTime &time, const QString &format)
{
    const QDate date = time.date();
    const QTime clock = time.time();
    return QStringLiteral("Snapshot-") +
           QString::asprintf("%04d-%02d-%02d %02d-%02d-%02d.", date.year(), date.month(),
                             date.day(), clock.hour(), clock.minute(), clock.second()) +
           format;
}

const char *ImageFormat(const QString &format)
{
    if (format == QLatin1String("PNG")) {
        return "PNG";
    }
    if (format == QLatin1String("BMP")) {
        return "BMP";
    }
    return "JPEG";
}

QString StoredFolder(const QString &appDataFolder)
{
    QByteArray stored;
    ReadRegularFile(appDataFolder + QStringLiteral("OutputPath.txt"), kMaxStoredFolderBytes, stored);
    // Edited by hand, it ends with a line end; and it names a folder, slash or not.
    while (stored.endsWith('\n') || stored.endsWith('\r')) {
        stored.chop(1);
    }
    if (stored.isEmpty()) {
        return QString();
    }
    if (!stored.endsWith('/') && !stored.endsWith('\\')) {
        stored += '/';
    }
    return QString::fromLocal8Bit(stored);
}

QString DefaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
           QStringLiteral("/Tavrix BluRay Player/");
}

QString Folder(const QString &appDataFolder)
{
    const QString stored = StoredFolder(appDataFolder);
    return stored.isEmpty() ? DefaultFolder() : stored;
}

QString CreateDestination(const QString &folder, const QString &fileName, QFile &file)
{
    const QString destination =
        QString(folder + fileName).replace(QLatin1Char('\\'), QLatin1Char('/'));
    Creation creation = CreateNew(destination, file);
    if (creation == Creation::Made) {
        return destination;
    }
    const qsizetype dot = destination.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot < 0 ? destination : destination.left(dot);
    const QString extension = dot < 0 ? QString() : destination.mid(dot);
    // Only a name in use moves on to the next; a folder that cannot be written to ends the search.
    for (int copy = 2; creation == Creation::NameInUse && copy <= kMaxCopiesOfOneName; ++copy) {
        const QString candidate = QStringLiteral("%1 (%2)%3").arg(stem).arg(copy).arg(extension);
        creation = CreateNew(candidate, file);
        if (creation == Creation::Made) {
            return candidate;
        }
    }
    return QString();
}

void RemoveCreated(QFile &file, const QString &path)
{
    struct stat created;
    struct stat named;
    const bool same = ::fstat(file.handle(), &created) == 0 &&
                      ::lstat(QFile::encodeName(path).constData(), &named) == 0 &&
                      created.st_dev == named.st_dev && created.st_ino == named.st_ino;
    file.close();
    if (same) {
        ::unlink(QFile::encodeName(path).constData());
    }
}

} // namespace Snapshots
