#pragma once

#include "disc/MoviePlaylistReader.h"

#include <QByteArray>
#include <QString>

// Contents a caller had before the call; a refused file must leave every field as it was.
inline PlaylistContents Sentinel()
{
    PlaylistContents contents;
    contents.playItems = {PlayItemRecord{7, 8, 9, QStringLiteral("SENTINEL")}};
    contents.audio = {StreamRecord{1, QStringLiteral("earlier audio")}};
    contents.subtitles = {StreamRecord{2, QStringLiteral("earlier subtitle")}};
    contents.chapters = {42};
    return contents;
}

// Whether every field is still the sentinel's.
inline bool IsSentinel(const PlaylistContents &contents)
{
    return contents.playItems.size() == 1 && contents.playItems[0].inMs == 7 &&
           contents.playItems[0].startMs == 8 && contents.playItems[0].durationMs == 9 &&
           contents.playItems[0].clipName == QStringLiteral("SENTINEL") &&
           contents.audio.size() == 1 && contents.audio[0].pid == 1 &&
           contents.audio[0].text == QStringLiteral("earlier audio") &&
           contents.subtitles.size() == 1 && contents.subtitles[0].pid == 2 &&
           contents.subtitles[0].text == QStringLiteral("earlier subtitle") &&
           contents.chapters == QVector<qint64>{42};
}

// The check the fuzzer and the checked test share: parses the bytes into a sentinel and returns
// the result, or -1 (and says why) when the result is none of the reader's, a refused input
// changed the contents, or an accepted one gave more items or chapters than a playlist holds.
inline int ParseIntoSentinel(const QByteArray &bytes, QString *why)
{
    PlaylistContents contents = Sentinel();
    const int result = MoviePlaylistReader::Parse(bytes, contents);
    switch (result) {
    case MoviePlaylistReader::kOk:
        if (contents.playItems.size() <= MoviePlaylistReader::kMaxPlayItems &&
            contents.chapters.size() <= MoviePlaylistReader::kMaxMarks) {
            return result;
        }
        *why = QStringLiteral("%1 items").arg(contents.playItems.size());
        return -1;
    case MoviePlaylistReader::kNotMoviePlaylist:
    case MoviePlaylistReader::kTooManyVideoStreams:
    case MoviePlaylistReader::kOutsideData:
        if (IsSentinel(contents)) {
            return result;
        }
        *why = QStringLiteral("result %1 changed the contents").arg(result);
        return -1;
    default: *why = QStringLiteral("unknown result %1").arg(result); return -1;
    }
}
