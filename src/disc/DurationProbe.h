#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The duration text a probe reported on its standard error: the eight characters after the
// first "Duration: " (hh:mm:ss without the fraction), fewer when the output ends sooner, empty
// when there is no such report.
QString DurationTextFromProbeOutput(const QByteArray &standardError);

// Measures each file with the probe program, several at once, and returns the duration texts in
// the order of the paths. The calling thread keeps handling timers, repaints and other
// non-input events while it waits. A probe that cannot start, or that runs past the time limit
// and is stopped, yields an empty text.
QStringList ProbeDurations(const QStringList &paths, int probesAtOnce, int timeLimitMs);

// One file, as above.
QString ProbeDuration(const QString &path);

// The time one probe may take before it is given up.
inline constexpr int kProbeTimeLimitMs = 30000;
