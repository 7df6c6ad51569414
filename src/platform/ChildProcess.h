#pragma once

class QProcess;

// Makes the system end the process's program when the player itself ends, however it ends
// (a crash or a kill included), so that no engine or probe is left behind. Call before start.
void EndWithPlayer(QProcess &process);
