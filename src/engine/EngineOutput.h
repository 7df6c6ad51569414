#pragma once

#include <QByteArray>

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
};

struct EngineEvent
{
    EngineLine kind = EngineLine::Other;
    int lengthSeconds = 0; // for Length: the value, truncated toward zero; 0 when unreadable
    QByteArray engineFile; // for Screenshot: the file name between the quotes
};

// Classifies one line (its line break included or not) by its whole shape as the engine prints
// it; a line that merely contains a marker is Other. A medium's tags and file name reach the
// engine's output too, so a line of the right shape may still not be the engine's own: the
// caller acts on answers and screenshot lines only while it waits for them.
EngineEvent ClassifyEngineLine(const QByteArray &line);
