#pragma once

#include "disc/DiscMetadata.h"
#include "disc/MoviePlaylistReader.h"

#include <QString>
#include <QVector>

// One title of a disc: a movie playlist with play items.
struct ScannedTitle
{
    QString key;    // the playlist file's full path
    int number = 0; // counts playlists with play items in listing order, copies included
    qint64 durationSec = 0;
    QString durationText; // clock text of durationSec
    PlaylistContents contents;
};

struct DiscScan
{
    DiscMetadata metadata;
    QString thumbnailPath;        // the thumbnail file to show, or empty (see ThumbnailPath)
    QVector<ScannedTitle> titles; // longest first; equal lengths keep the listing order
};

// Reads a Blu-ray folder (or drive) into its titles: every regular file of BDMV/PLAYLIST is
// read as a movie playlist, once, with one read of at most MoviePlaylistReader::kMaxFileSize
// bytes that never waits; playlists without play items are not titles, and byte-identical
// copies of an earlier playlist are not titles either but use up a number.
DiscScan ScanBluRayFolder(const QString &discFolder);

// A title's length: each play item cut to whole seconds, then added up.
qint64 TitleDurationSeconds(const QVector<PlayItemRecord> &playItems);
