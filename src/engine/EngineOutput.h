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
    EndOfPlayback,
    Screenshot,
    AudioStream,
    SubtitleStream,
    VideoStarted,
};

struct EngineEvent
{
    EngineLine kind = EngineLine::Other;
    int lengthSeconds = 0; // for Length: the value, truncated toward zero; 0 when unreadable
};

// Classifies one raw line (newline included or not). The tests are tried in a fixed order and
// the first that matches wins: answers by prefix, then markers found anywhere in the line.
EngineEvent ClassifyEngineLine(const QByteArray &line);
