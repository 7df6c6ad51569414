#include "disc/SourceClassification.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool IsFolder(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && !info.isSymLink();
}

bool IsFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && !info.isSymLink();
}

} // namespace

DiscFolderKind ClassifyDiscFolder(const QString &path)
{
    // Named entries looked up on the folder itself: the work is the same for any folder, however
    // much it holds, and nothing above it counts.
    const QString bdmv = path + QStringLiteral("/BDMV/");
    if (IsFile(bdmv + QStringLiteral("index.bdmv")) ||
        (IsFolder(bdmv + QStringLiteral("PLAYLIST")) && IsFolder(bdmv + QStringLiteral("STREAM")))) {
        return DiscFolderKind::BluRay;
    }
    if (IsFile(path + QStringLiteral("/VIDEO_TS/VIDEO_TS.IFO"))) {
        return DiscFolderKind::Dvd;
    }
    return DiscFolderKind::NotRecognised;
}

bool IsPlayableFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile()) {
        return false;
    }
    const QString real = info.canonicalFilePath();
    for (const QLatin1String tree : {QLatin1String("/proc/"), QLatin1String("/sys/"),
                                     QLatin1String("/dev/")}) {
        if (real.isEmpty() || real.startsWith(tree)) {
            return false;
        }
    }
    return true;
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
