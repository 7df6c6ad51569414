#include "disc/TitleScan.h"

#include "disc/DiscImage.h"
#include "disc/PlaylistCopies.h"
#include "disc/PlaylistReadAhead.h"
#include "disc/ThumbnailPicture.h"
#include "platform/BoundedFileRead.h"
#include "platform/OpenFolder.h"
#include "util/TimeText.h"

#include <QDir>
#include <QFile>

#include <algorithm>

qint64 TitleDurationSeconds(const QVector<PlayItemRecord> &playItems)
{
    qint64 seconds = 0;
    for (const PlayItemRecord &item : playItems) {
        seconds += item.durationMs / 1000;
    }
    return seconds;
}

namespace {

// Makes the scan's titles of the playlists, given by their keys in listing order; `take` hands
// over the playlist of an index, read and parsed.
template <typename Take>
void ScanPlaylists(const QStringList &keys, qsizetype count, Take take,
                   const std::atomic<bool> *cancelled, DiscScan &scan)
{
    PlaylistCopies copies;
    QHash<qsizetype, qsizetype> titleOfIndex; // a playlist's index to its title's place
    int counter = 1;
    qsizetype kept = 0; // play items, chapters and streams of the titles kept
    for (qsizetype index = 0; index < count; ++index) {
        if (cancelled != nullptr && cancelled->load()) {
            break;
        }
        LoadedPlaylist playlist = take(index);
        if (!playlist.read || playlist.contents.playItems.isEmpty()) {
            continue;
        }
        // A byte-identical copy of an earlier title is no title of its own, yet it uses up a
        // number, and the engine may list it in the title's place.
        if (const std::optional<qsizetype> original = copies.FirstSeenAt(playlist.bytes, index)) {
            scan.titles[titleOfIndex.value(*original)].copyKeys.append(keys[index]);
            ++counter;
            continue;
        }
        // A title that would pass the disc's budget is dropped with every later one, and nothing
        // more is read (the read-ahead ends with the scan). No real disc comes near the budget,
        // so what is dropped is a hostile disc's.
        const PlaylistContents &contents = playlist.contents;
        kept += contents.playItems.size() + contents.chapters.size() + contents.audio.size() +
                contents.subtitles.size();
        if (kept > kMaxDiscRecords) {
            break;
        }
        ScannedTitle title;
        title.key = keys[index];
        title.contents = std::move(playlist.contents);
        title.number = counter++;
        title.durationSec = TitleDurationSeconds(title.contents.playItems);
        title.durationText = FormatTime(title.durationSec);
        titleOfIndex.insert(index, scan.titles.size());
        scan.titles.append(std::move(title));
    }
    // By length, not by its text: a title of 100 hours or more is still the longest.
    std::stable_sort(
        scan.titles.begin(), scan.titles.end(),
        [](const ScannedTitle &a, const ScannedTitle &b) { return a.durationSec > b.durationSec; });
}

const QString kMetadataFolder = QStringLiteral("BDMV/META/DL/");
const QString kPlaylistFolder = QStringLiteral("BDMV/PLAYLIST");

} // namespace

DiscScan ScanBluRayFolder(const QString &discFolder, const std::atomic<bool> *cancelled)
{
    DiscScan scan;
    const QString metadataFolder = discFolder + QLatin1Char('/') + kMetadataFolder;
    scan.metadata = ReadDiscMetadata(metadataFolder + QStringLiteral("bdmt_eng.xml"));
    const QString thumbnail = ThumbnailPath(metadataFolder, scan.metadata.thumbnail);
    QByteArray picture;
    if (!thumbnail.isEmpty() && ReadRegularFile(thumbnail, kMaxThumbnailFileSize, picture)) {
        scan.thumbnail = DecodeThumbnail(picture);
    }

    const OpenFolder playlists(discFolder + QLatin1Char('/') + kPlaylistFolder);
    const QVector<RegularFileEntry> &files = playlists.Files();
    QStringList keys;
    keys.reserve(files.size());
    for (const RegularFileEntry &file : files) {
        keys.append(file.path);
    }
    const qsizetype count = std::min<qsizetype>(keys.size(), kMaxPlaylists);
    // Opening by name in an open folder is safe from two threads at once.
    PlaylistReadAhead readAhead(
        count,
        [&](qsizetype index, QByteArray &bytes) {
            return ReadListedFile(playlists.Descriptor(), files[index].name,
                                  MoviePlaylistReader::kMaxFileSize, bytes);
        },
        cancelled);
    ScanPlaylists(
        keys, count, [&](qsizetype index) { return readAhead.Take(index); }, cancelled, scan);
    return scan;
}

DiscScan ScanBluRayImage(DiscImage &image, const std::atomic<bool> *cancelled)
{
    DiscScan scan;
    QByteArray bytes;
    if (image.ReadFile(kMetadataFolder + QStringLiteral("bdmt_eng.xml"), kMaxMetadataFileSize,
                       bytes)) {
        scan.metadata = ParseDiscMetadataFile(bytes);
    }
    // Cleaned as a folder's path is resolved: the image's reader takes no "." step.
    if (IsRelativeHrefInside(scan.metadata.thumbnail) &&
        image.ReadFile(kMetadataFolder +
                           QDir::cleanPath(QFile::decodeName(scan.metadata.thumbnail)),
                       kMaxThumbnailFileSize, bytes)) {
        scan.thumbnail = DecodeThumbnail(bytes);
    }

    const QStringList names = image.FileNames(kPlaylistFolder);
    QStringList keys;
    keys.reserve(names.size());
    for (const QString &name : names) {
        keys.append(image.Path() + QLatin1Char('/') + kPlaylistFolder + QLatin1Char('/') + name);
    }
    // An image's reader keeps a place of its own in the file: one thread reads it.
    const PlaylistRead read = [&](qsizetype index, QByteArray &playlist) {
        return image.ReadFile(kPlaylistFolder + QLatin1Char('/') + names[index],
                              MoviePlaylistReader::kMaxFileSize, playlist);
    };
    ScanPlaylists(
        keys, std::min<qsizetype>(keys.size(), kMaxPlaylists),
        [&](qsizetype index) { return LoadPlaylist(read, index); }, cancelled, scan);
    return scan;
}

DiscContents ScanDiscImage(const QString &imagePath, const std::atomic<bool> *cancelled)
{
    DiscImage image(imagePath, cancelled);
    DiscContents read;
    read.kind = image.Kind();
    read.volumeName = image.VolumeName();
    if (read.kind == DiscFolderKind::BluRay) {
        read.scan = ScanBluRayImage(image, cancelled);
    }
    return read;
}
