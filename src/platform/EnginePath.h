#pragma once

#include <QString>

// The path to hand the engine for a medium. The engine prints the paths it is given as they
// are, so a line break or another control character in one starts a line of any shape in its
// output. Such a path is handed over as a link of a fixed name in `folder` (the per-user
// folder) instead; the cost: subtitle files beside the medium, which the engine finds by the
// medium's name, are not found then. Empty when the link cannot be made.
QString EnginePathFor(const QString &path, const QString &folder);

// The fixed name of that link, without the medium's extension.
inline constexpr char kEngineLinkName[] = "medium-link";
