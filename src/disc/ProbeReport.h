#pragma once

#include "disc/MediumFacts.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// What the probe's report on its standard error tells about a file. The probed file's own name
// is taken out of the report first, so that a name cannot pass for a line of the report; ffmpeg
// marks the continuation lines of a tag, so no tag can start a line of its own.

// The duration: hh:mm:ss, without the fraction, from the first line that starts (after its
// indent) with "Duration: " and a clock; empty when there is none.
QString DurationTextFromProbeOutput(const QByteArray &standardError,
                                    const QString &probedPath = QString());

// Where the medium's own clock starts, in milliseconds, from the "start: " figure of that same
// line; -1 when the line or the figure is missing.
qint64 StartTimeMsFromProbeOutput(const QByteArray &standardError,
                                  const QString &probedPath = QString());

// The audio and subtitle streams, numbered per kind in the file's order, as the engine's track
// commands count them when it reads the file with the same library. A report that names one
// stream twice in two ways has been tampered with: it yields no streams.
MediumStreams StreamsFromProbeOutput(const QByteArray &standardError,
                                     const QString &probedPath = QString());

// The medium's own title tag, its first line only; empty when it has none.
QString MediumTitleFromProbeOutput(const QByteArray &standardError,
                                   const QString &probedPath = QString());
