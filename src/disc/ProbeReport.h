#pragma once

#include "disc/MediumFacts.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

// What one probe found; nothing when it could not start, ran out of time or gave no report of
// the expected form.
struct ProbeFindings
{
    QString durationText;          // hh:mm:ss, without the fraction; empty when not known
    std::optional<qint64> startMs; // where the medium's own clock starts
    std::optional<MediumStreams> streams;
    QString title; // the medium's own title tag, its first line only
};

// The probe's report: ffprobe's JSON (-print_format json -show_format -show_streams) from its
// standard output. Every tag, its name included, comes as an escaped JSON string, so nothing a
// medium holds can pass for a field of the report. Read from it:
//  - the duration (format.duration, seconds) and the start of the medium's own clock
//    (format.start_time);
//  - the audio and subtitle streams (streams[], by codec_type), numbered per kind in the order
//    of their index in the file, as the engine's track commands count them when it reads the
//    file with the same library; a language that is no language code is left out, a title
//    keeps its first line. A list that names one index twice, or a stream without one, is no
//    list of the probe's: no streams are told then.
//  - the medium's title tag (format.tags.title), its first line.
// A report that is no JSON object yields no findings.
ProbeFindings FindingsFromProbeReport(const QByteArray &report);
