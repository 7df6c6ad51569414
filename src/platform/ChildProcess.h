#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

// Starts the process's program in a process group of its own and ends that whole group when the
// program ends, when the player lets go of the process, and when the player itself ends, however
// it ends (a crash or a kill included). So nothing the program started, such as the engine run
// by a wrapper script, is left behind. Call before each start.
void EndWithPlayer(QProcess &process);

// Kills the process's program and every process of its group at once; the way to stop a
// process set up with EndWithPlayer.
void KillProcessGroup(QProcess &process);

// Reads what the process writes on one output channel as it comes and keeps the first `limit`
// bytes, dropping the rest: a program that writes without end neither stalls on a full pipe
// nor fills the player's memory. Call before start; the buffer is complete once the process
// has finished.
std::shared_ptr<const QByteArray> KeepOutput(QProcess &process, QProcess::ProcessChannel channel,
                                             qsizetype limit);
