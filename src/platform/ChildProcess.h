#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class QProcess;

// Makes the system end the process's program when the player itself ends, however it ends
// (a crash or a kill included), so that no engine or probe is left behind. Call before start.
void EndWithPlayer(QProcess &process);

// Runs a program to its end and returns what it wrote on standard output; nothing when it
// cannot start, crashes, or runs past the time limit (it is then killed). Timers, repaints and
// the engine go on meanwhile; user input waits.
std::optional<QByteArray> RunToEnd(const QString &program, const QStringList &arguments,
                                   int timeLimitMs);
