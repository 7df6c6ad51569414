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
        kOutsideData = 4,         // an address, count or length points past the bytes read, a
                                  // play item ends before it starts, a count passes
                                  // kMaxPlayItems or kMaxMarks, or a length declares a record
                                  // shorter than the fields read of it
        kCannotOpen = 5,          // no regular file, larger than kMaxFileSize, or unreadable
    };

    // The most play items and marks a playlist holds: the format allows 999 of each, so a
    // playlist that counts more is malformed and refused whole. Real playlists hold a few
    // hundred items at the most and rarely more than a hundred chapters, so a cap below the
    // format's could refuse a real disc, while this one already keeps one playlist to some
    // 100 KB of items and the chapter menus to 999 entries.
    static constexpr int kMaxPlayItems = 999;
    static constexpr int kMaxMarks = 999;

    // The largest playlist file that is read. Real ones take a few kilobytes, the largest (some
    // hundred items) a few hundred. The format's limit of 999 play items, each with its 34 fixed
    // bytes, nine angles (82 bytes) and a table of a hundred streams (16 + 100 * 16 bytes, more
    // than any disc carries), and 999 marks of 14 bytes come to 1.75 MB, which leaves a third
    // of a megabyte for sub-paths. A larger file is no playlist and is not read at all.
    static constexpr qint64 kMaxFileSize = 2 * 1024 * 1024;

    // Reads one playlist file. On kOk the contents are filled: all of them, or, for a loop-menu
    // playlist (three or more items whose second and third name the same clip), the chapters
    // alone. On any other result the contents are left as they were. Only a regular file is
    // read, and the read never waits (see ReadRegularFile).
    int Read(const QString &path, PlaylistContents &contents);

    // The same, over bytes already read.
    static int Parse(const QByteArray &data, PlaylistContents &contents);
};
