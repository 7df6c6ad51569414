#include "disc/TitleScan.h"

#include "disc/DirectoryListing.h"
#include "util/TimeText.h"

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

DiscScan ScanBluRayFolder(const QString &discFolder)
{
    DiscScan scan;
    const QString bdmv = discFolder + QStringLiteral("/BDMV/");
    scan.metadataFolder = bdmv + QStringLiteral("META/DL/");
    scan.metadata = ReadDiscMetadata(scan.metadataFolder + QStringLiteral("bdmt_eng.xml"));

    QVector<DirEntry> entries;
    ListDirectory(bdmv + QStringLiteral("PLAYLIST"), entries);
    MoviePlaylistReader reader;
    QSet<QByteArray> seenDigests;
    int counter = 1;
    for (const DirEntry &entry : entries) {
        if (entry.isDirectory) {
            continue;
        }
        ScannedTitle title;
        title.key = entry.path;
        reader.Read(entry.path, title.contents);
        if (title.contents.playItems.isEmpty()) {
            continue;
        }
        QByteArray digest;
        HashFileHex(entry.path, digest);
        if (seenDigests.contains(digest)) {
            // A byte-identical copy is no title of its own, yet it uses up a number.
            ++counter;
            continue;
        }
        seenDigests.insert(digest);
        title.number = counter++;
        title.durationSec = TitleDurationSeconds(title.contents.playItems);
        title.durationText = FormatTime(title.durationSec);
        scan.titles.append(title);
    }
    // By length, not by its text: a title of 100 hours or more is still the longest.
    std::stable_sort(
        scan.titles.begin(), scan.titles.end(),
        [](const ScannedTitle &a, const ScannedTitle &b) { return a.durationSec > b.durationSec; });
    return scan;
}
