#pragma once

#include <QString>

// The per-user folder that holds the player's own files (recent list, snapshot folder choice,
// probe copy, the engine's snapshot files). Always ends with the path separator, so callers
// append a bare file name. This is the one place that decides where it is.
QString AppDataFolder();

// The per-user folder for what the player remembers between runs (where playback was left):
// $XDG_STATE_HOME, else ~/.local/state, then "Tavrix BluRay Player/". Ends with the separator.
QString StateFolder();

// Where the interface language choice is written: the program's own folder when the program
// runs from its build folder (the build leaves a file "portable" beside it), else AppDataFolder().
QString LanguageChoiceFolder();

// Creates a folder with any missing parents when it does not exist yet. Returns whether the
// folder exists afterwards.
bool EnsureFolderExists(const QString &folder);
