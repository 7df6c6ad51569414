#pragma once

#include <QByteArray>
#include <QVector>

// What one line of engine output means to the player.
enum class EngineLine
{
    Other,
    TimePosition,
    Length,
    PercentPosition,
    Playing,
    EndOfFile,
    Quit,
    Screenshot,
    AudioStream,
    SubtitleStream,
    VideoStarted,
    PlaybackStarted,
    DvdTitleLength, // a DVD title's number and length, from the engine's identify output
    Chapters,       // the chapter starts of what plays
    AudioAnswer,    // the engine's current audio stream id; -2 for none
    SubtitleAnswer, // the engine's current subtitle stream id; -1 for none
    SubtitleFileAnswer, // the loaded subtitle file the engine shows; -1 for none
};

struct EngineEvent
{
    EngineLine kind = EngineLine::Other;
    int lengthSeconds = 0;  // for Length: the value, truncated toward zero; 0 when unreadable
    qint64 positionMs = -1; // for TimePosition: the value in milliseconds; -1 when unreadable
    QByteArray engineFile;  // for Screenshot: the file name between the quotes
    int streamId = 0;       // for streams: the engine's id; for the track answers: the value
    QByteArray language;    // for streams: the language code, when the medium names one
    QByteArray title;       // for streams: the stream's own title, when it has one
    int titleNumber = 0;    // for DvdTitleLength: the title (its length is in positionMs)
    QVector<qint64> chapterStartsMs; // for Chapters: ascending, at most kMaxChapters
};

// What the player takes of a disc's lists at most: more is no real disc.
inline constexpr int kMaxDvdTitles = 99;
inline constexpr int kMaxChapters = 999;

// Classifies one line (its line break included or not) by its whole shape as the engine prints
// it; a line that merely contains a marker is Other. A medium's tags and file name reach the
// engine's output too, so a line of the right shape may still not be the engine's own: the
// caller acts on answers and screenshot lines only while it waits for them.
EngineEvent ClassifyEngineLine(const QByteArray &line);
