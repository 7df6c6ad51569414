#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <QtGlobal>

// One play item of a Blu-ray movie playlist. Times are milliseconds.
struct PlayItemRecord
{
    qint64 inMs = 0;       // start in the clip
    qint64 startMs = 0;    // start on the title's time line (sum of the earlier durations)
    qint64 durationMs = 0; // out time minus in time
    QString clipName;      // clip information file name, ".", codec identifier: "00001.M2TS"
};

// One audio or subtitle stream: its packet identifier (0 when the entry names none) and the
// text the menus show, such as "English AC3".
struct StreamRecord
{
    int pid = 0;
    QString text;
};

// What one playlist yields for the title list and the track menus.
struct PlaylistContents
{
    QVector<PlayItemRecord> playItems;
    QVector<StreamRecord> audio;
    QVector<StreamRecord> subtitles; // graphics subtitles, or text ones when there are none
    QVector<qint64> chapters;        // entry marks, on the title's time line
};

// Reads Blu-ray movie playlist files (.mpls). Every address, count and length in the file is
// checked against the bytes actually read; nothing outside them is ever read.
class MoviePlaylistReader
{
public:
    enum Result
    {
        kOk = 0,
        kNotMoviePlaylist = 2,    // the file does not start with "MPLS"
        kTooManyVideoStreams = 3, // the last play item lists more than three primary videos
        kOutsideData = 4,         // an address, count or length points past the bytes read
        kCannotOpen = 5,          // the file cannot be opened
    };

    // The most of a file that is read; playlists are far smaller.
    static constexpr qint64 kMaxFileSize = 10 * 1024 * 1024;

    // Reads one playlist file. On kOk the contents are filled: all of them, or, for a loop-menu
    // playlist (three or more items whose second and third name the same clip), the chapters
    // alone. On any other result the contents are left as they were.
    int Read(const QString &path, PlaylistContents &contents);

    // The same, over bytes already read.
    static int Parse(const QByteArray &data, PlaylistContents &contents);
};
