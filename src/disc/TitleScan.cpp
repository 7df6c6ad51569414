#include "disc/TitleScan.h"

#include "disc/PlaylistCopies.h"
#include "platform/BoundedFileRead.h"
#include "platform/OpenFolder.h"
#include "util/TimeText.h"

#include <algorithm>

qint64 TitleDurationSeconds(const QVector<PlayItemRecord> &playItems)
{
    qint64 seconds = 0;
    for (const PlayItemRecord &item : playItems) {
        seconds += item.durationMs / 1000;
    }
    return seconds;
}

DiscScan ScanBluRayFolder(const QString &discFolder, const std::atomic<bool> *cancelled)
{
    DiscScan scan;
    const QString bdmv = discFolder + QStringLiteral("/BDMV/");
    const QString metadataFolder = bdmv + QStringLiteral("META/DL/");
    scan.metadata = ReadDiscMetadata(metadataFolder + QStringLiteral("bdmt_eng.xml"));
    scan.thumbnailPath = ThumbnailPath(metadataFolder, scan.metadata.thumbnail);

    const OpenFolder playlists(bdmv + QStringLiteral("PLAYLIST"));
    PlaylistCopies copies;
    int counter = 1;
    const QVector<RegularFileEntry> &files = playlists.Files();
    const qsizetype read = std::min<qsizetype>(files.size(), kMaxPlaylists);
    for (qsizetype index = 0; index < read; ++index) {
        if (cancelled != nullptr && cancelled->load()) {
            break;
        }
        const RegularFileEntry &file = files[index];
        // A buffer of its own each time: the copy finder may hold on to the last one.
        QByteArray bytes;
        if (!ReadListedFile(playlists.Descriptor(), file.name, MoviePlaylistReader::kMaxFileSize,
                            bytes)) {
            continue;
        }
        ScannedTitle title;
        title.key = file.path;
        MoviePlaylistReader::Parse(bytes, title.contents);
        if (title.contents.playItems.isEmpty()) {
            continue;
        }
        // The very bytes parsed. A byte-identical copy is no title of its own, yet it uses up a
        // number.
        if (copies.IsCopy(bytes)) {
            ++counter;
            continue;
        }
        title.number = counter++;
        title.durationSec = TitleDurationSeconds(title.contents.playItems);
        title.durationText = FormatTime(title.durationSec);
        scan.titles.append(std::move(title));
    }
    // By length, not by its text: a title of 100 hours or more is still the longest.
    std::stable_sort(
        scan.titles.begin(), scan.titles.end(),
        [](const ScannedTitle &a, const ScannedTitle &b) { return a.durationSec > b.durationSec; });
    return scan;
}
