#include "playing/M3uList.h"

#include "platform/BoundedFileRead.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A name made at random meets one in use only by chance, or by someone's planting.
constexpr int kTemporaryNameAttempts = 16;

QString PathOfEntry(const QString &entry, const QDir &listFolder)
{
    static const QRegularExpression otherUrl(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    const bool fileUrl = entry.startsWith(QLatin1String("file:"), Qt::CaseInsensitive);
    if (!fileUrl && !otherUrl.match(entry).hasMatch()) {
        return QDir::cleanPath(listFolder.absoluteFilePath(entry));
    }
    // Only a file of this machine becomes a path; whatever else is named stays as written.
    QUrl url(entry);
    if (url.host() == QLatin1String("localhost")) {
        url.setHost(QString());
    }
    return url.isLocalFile() && url.host().isEmpty() ? QDir::cleanPath(url.toLocalFile()) : entry;
}

bool NeedsUrlForm(const QString &path)
{
    // A reader would split the line there, or trim the name.
    const bool breaksLine = std::any_of(path.begin(), path.end(), [](QChar c) {
        return c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
               c.category() == QChar::Separator_Paragraph;
    });
    return breaksLine || path != path.trimmed();
}

bool WriteAll(int descriptor, const QByteArray &bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t count =
            ::write(descriptor, bytes.constData() + written, size_t(bytes.size() - written));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        written += count;
    }
    return true;
}

} // namespace

namespace M3uList {

bool IsListFile(const QString &path)
{
    return path.endsWith(QLatin1String(".m3u"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".m3u8"), Qt::CaseInsensitive);
}

QStringList Parse(const QByteArray &contents, const QString &listFolder)
{
    const QDir folder(listFolder);
    QStringList entries;
    qsizetype start = 0;
    while (start < contents.size() && entries.size() < kMaxEntries) {
        qsizetype end = contents.indexOf('\n', start);
        if (end < 0) {
            end = contents.size();
        }
        // The decoder drops a byte order mark at the start of the first line.
        const QString line = QString::fromUtf8(contents.mid(start, end - start)).trimmed();
        start = end + 1;
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#'))) {
            entries.append(PathOfEntry(line, folder));
        }
    }
    return entries;
}

std::optional<QStringList> Read(const QString &listPath)
{
    QByteArray contents;
    if (!ReadRegularFile(listPath, kMaxBytes, contents)) {
        return std::nullopt;
    }
    return Parse(contents, QFileInfo(listPath).absolutePath());
}

QByteArray Write(const QStringList &paths)
{
    QByteArray text("#EXTM3U\n");
    for (const QString &path : paths) {
        text += NeedsUrlForm(path) ? QUrl::fromLocalFile(path).toEncoded() : path.toUtf8();
        text += '\n';
    }
    return text;
}

bool Save(const QString &listPath, const QStringList &paths)
{
    const QFileInfo list(listPath);
    const QByteArray finalName = QFile::encodeName(listPath);
    // A list the user may not write is not replaced either; one that is replaced keeps its mode.
    struct stat old = {};
    const bool replacesAList = ::lstat(finalName.constData(), &old) == 0 && S_ISREG(old.st_mode);
    if (replacesAList && ::access(finalName.constData(), W_OK) != 0) {
        return false;
    }
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const QByteArray temporary = QFile::encodeName(
            list.absolutePath() + QStringLiteral("/.") + list.fileName() + QLatin1Char('.') +
            QString::number(QRandomGenerator::global()->generate64(), 36));
        const int descriptor = ::open(temporary.constData(),
                                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (descriptor < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return false;
        }
        const bool written = (!replacesAList || ::fchmod(descriptor, old.st_mode & 07777) == 0) &&
                             WriteAll(descriptor, Write(paths)) && ::fsync(descriptor) == 0;
        const bool closed = ::close(descriptor) == 0;
        if (written && closed && ::rename(temporary.constData(), finalName.constData()) == 0) {
            return true;
        }
        // The file made here goes again, whole or half.
        ::unlink(temporary.constData());
        return false;
    }
    return false;
}

} // namespace M3uList
