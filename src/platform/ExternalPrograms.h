#pragma once

#include <QString>

// The playback engine: $TAVRIX_ENGINE when set, else "Player" beside the program when present,
// else mplayer from PATH.
QString EngineProgram();
