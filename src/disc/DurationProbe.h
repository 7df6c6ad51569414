#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The duration text a probe reported on its standard error: the eight characters after the
// first "Duration: " (hh:mm:ss without the fraction), fewer when the output ends sooner, empty
// when there is no such report.
QString DurationTextFromProbeOutput(const QByteArray &standardError);

// Measures each file with the probe program, several at once, and returns the duration texts in
// the order of the paths. Only the first kProbeReportLimit bytes of a report count. The calling
// thread keeps handling timers, repaints and other non-input events while it waits. A probe that
// cannot start, or that runs past the time limit and is stopped, yields an empty text.
QStringList ProbeDurations(const QStringList &paths, int probesAtOnce, int timeLimitMs);

// One file, as above.
QString ProbeDuration(const QString &path);

// The time one probe may take before it is given up.
inline constexpr int kProbeTimeLimitMs = 30000;

// How much of a probe's report is kept; the rest is read and dropped, so a probe that floods its
// standard error costs no memory. ffmpeg writes its "Duration: " line after its banner and the
// file's header and tags, a few KiB in all; a file whose tags alone fill this goes unmeasured.
inline constexpr qsizetype kProbeReportLimit = 64 * 1024;
