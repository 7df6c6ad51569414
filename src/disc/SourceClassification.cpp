#include "disc/SourceClassification.h"

#include "disc/DirectoryListing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool HasSubFolderContaining(const QString &folder, const QString &marker)
{
    QVector<DirEntry> entries;
    ListDirectory(folder, entries);
    for (const DirEntry &entry : entries) {
        if (entry.isDirectory && entry.path.contains(marker, Qt::CaseSensitive)) {
            return true;
        }
    }
    return false;
}

} // namespace

DiscFolderKind ClassifyDiscFolder(const QString &path)
{
    // Joined unchanged: a path that already ends with a separator gets a doubled one, which the
    // file system accepts.
    const QString bdmv = path + QStringLiteral("/BDMV/");
    if (QFile::exists(bdmv)) {
        return HasSubFolderContaining(bdmv, QStringLiteral("STREAM"))
                   ? DiscFolderKind::BluRay
                   : DiscFolderKind::NotRecognised;
    }
    if (QFile::exists(path + QStringLiteral("/VIDEO_TS/"))) {
        return HasSubFolderContaining(path, QStringLiteral("VIDEO_TS"))
                   ? DiscFolderKind::Dvd
                   : DiscFolderKind::NotRecognised;
    }
    return DiscFolderKind::NotRecognised;
}

QString DiscRootOf(const QString &folder)
{
    const QFileInfo chosen(QDir::cleanPath(folder));
    const QString name = chosen.fileName();
    if ((name == QLatin1String("BDMV") || name == QLatin1String("VIDEO_TS")) &&
        ClassifyDiscFolder(folder) == DiscFolderKind::NotRecognised &&
        ClassifyDiscFolder(chosen.path()) != DiscFolderKind::NotRecognised) {
        return chosen.path();
    }
    return folder;
}
