#pragma once

#include "disc/DiscMetadata.h"
#include "disc/MoviePlaylistReader.h"
#include "disc/SourceClassification.h"

#include <QImage>
#include <QString>
#include <QVector>

#include <atomic>

class DiscImage;

// One title of a disc: a movie playlist with play items.
struct ScannedTitle
{
    QString key;    // the playlist file's full path
    int number = 0; // counts playlists with play items in listing order, copies included
    qint64 durationSec = 0;
    QString durationText; // clock text of durationSec
    PlaylistContents contents;
    QStringList
        copyKeys; // byte-identical copies of this playlist, which are no titles of their own
};

struct DiscScan
{
    DiscMetadata metadata;
    QImage thumbnail;             // the thumbnail picture (see DecodeThumbnail), or null
    QVector<ScannedTitle> titles; // longest first; equal lengths keep the listing order
};

// The most movie playlists a disc holds: the disc format allows 2000 of them, although their
// five-digit names would count to 100,000. Files past this many, in name order, are not read.
inline constexpr int kMaxPlaylists = 2000;

// The most play items, chapters and streams a scan keeps over all of a disc's titles. A
// playlist holds at most MoviePlaylistReader::kMaxPlayItems items and kMaxMarks marks, and 254
// streams, yet 2000 of them would still keep five million records. Real discs keep a few
// thousand; the largest, with hundreds of look-alike playlists of some dozens of items each,
// some tens of thousands. A quarter of a million is several times that, and at some 100 bytes
// a record at most comes to about 25 MB of titles, and about 20 MB of disc-scan's output. Once
// a title would pass it, the scan keeps no more titles.
inline constexpr qsizetype kMaxDiscRecords = 250000;

// Reads a Blu-ray folder (or drive) into its titles: the regular files of BDMV/PLAYLIST, up to
// kMaxPlaylists, are read as movie playlists, once each, with one read of at most
// MoviePlaylistReader::kMaxFileSize bytes that never waits; playlists without play items are not
// titles, and byte-identical copies of an earlier playlist are not titles either but use up a
// number (each title names its copies). Titles are kept in listing order until they would hold more
// than kMaxDiscRecords play items, chapters and streams. The playlists are read on two threads (see
// PlaylistReadAhead). When `cancelled` becomes true (from another thread), the scan stops after
// the playlists it reads.
// The thumbnail is read the same way, when ThumbnailPath allows it, and decoded here, off the
// window's thread.
DiscScan ScanBluRayFolder(const QString &discFolder, const std::atomic<bool> *cancelled = nullptr);

// The same for a Blu-ray image, its files read through the image's own caps and the same size
// caps as a folder's. A title's key is the image's path followed by the playlist's path inside
// it, as a folder's key is, so a title keeps its resume place and choices the same way.
DiscScan ScanBluRayImage(DiscImage &image, const std::atomic<bool> *cancelled = nullptr);

// What a disc holds and, for a Blu-ray, its titles.
struct DiscContents
{
    DiscFolderKind kind = DiscFolderKind::NotRecognised;
    DiscScan scan;
    QString volumeName; // an image's volume identifier
};
// The same read of an image file: what it holds and, for a Blu-ray image, its titles.
DiscContents ScanDiscImage(const QString &imagePath, const std::atomic<bool> *cancelled = nullptr);

// A title's length: each play item cut to whole seconds, then added up.
qint64 TitleDurationSeconds(const QVector<PlayItemRecord> &playItems);
