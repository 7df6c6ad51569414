#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// The playback engine: $TAVRIX_ENGINE when set, else "Player" beside the program when present,
// else mplayer from PATH.
QString EngineProgram();

// The duration probe: $TAVRIX_PROBE when set, else the copy "tool" in the application data
// folder when the program has one beside it to copy, else ffprobe from PATH.
QString ProbeProgram();
// The probe's arguments before the path of the file, which goes last: its JSON report of the
// file's format and streams, and a "--" so that a path is never taken for an option.
QStringList ProbeOptions();

// Where the probe is installed from: "tool" beside the program.
QString ProbeSource();
// Copies the probe beside the program into the per-user folder: a copy of the same size is kept,
// an earlier copy of another probe is replaced, a link is left alone; an installed player has
// none to copy.
void InstallProbe();

// The user guide shipped beside the program, at the named section (its top when empty).
QUrl UserGuideUrl(const QString &section);
