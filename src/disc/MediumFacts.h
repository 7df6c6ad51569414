#pragma once

#include <QString>
#include <QVector>
#include <QtGlobal>

#include <optional>

// One audio or subtitle stream of a medium.
struct MediumStream
{
    int id = 0;       // the engine's own id, what its track commands take
    QString language; // as the medium names it, may be empty
    QString title;    // the stream's own title, may be empty
};

struct MediumStreams
{
    QVector<MediumStream> audio;
    QVector<MediumStream> subtitles;
};

// What readers a medium cannot forge (our playlist reader, the probe's report) told about it;
// what they did not tell is left empty.
struct MediumFacts
{
    std::optional<qint64> startTimeMs; // where the medium's own clock starts
    std::optional<MediumStreams> streams;
};
