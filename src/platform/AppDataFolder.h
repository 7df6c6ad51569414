#pragma once

#include <QString>

// The per-user folder that holds the player's own files (recent list, snapshot folder choice,
// probe copy, the engine's snapshot files). Always ends with the path separator, so callers
// append a bare file name. This is the one place that decides where it is.
QString AppDataFolder();

// The per-user folder for what the player remembers between runs (where playback was left):
// $XDG_STATE_HOME, else ~/.local/state, then "Tavrix BluRay Player/". Ends with the separator.
QString StateFolder();

// Creates a folder with any missing parents when it does not exist yet. Returns whether the
// folder exists afterwards.
bool EnsureFolderExists(const QString &folder);
