#include "disc/TitleScan.h"

#include "platform/BoundedFileRead.h"
#include "platform/OpenFolder.h"
#include "util/TimeText.h"

#include <QCryptographicHash>
#include <QSet>

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
    QSet<QByteArray> seenDigests;
    QByteArray bytes;
    int counter = 1;
    const QVector<RegularFileEntry> &files = playlists.Files();
    const qsizetype read = std::min<qsizetype>(files.size(), kMaxPlaylists);
    for (qsizetype index = 0; index < read; ++index) {
        if (cancelled != nullptr && cancelled->load()) {
            break;
        }
        const RegularFileEntry &file = files[index];
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
        // The digest of the very bytes parsed. BLAKE2b gives a 64-byte collision-resistant
        // digest like SHA-512 does, in a third of the time: SHA-512 took over a third of a
        // 1000-playlist disc's scan.
        const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Blake2b_512);
        if (seenDigests.contains(digest)) {
            // A byte-identical copy is no title of its own, yet it uses up a number.
            ++counter;
            continue;
        }
        seenDigests.insert(digest);
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
