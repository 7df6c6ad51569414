#pragma once

#include <QString>

// The path to hand the engine for a medium. The engine prints the paths it is given as they
// are, so a line break or another control character in one starts a line of any shape in its
// output. Such a path is handed over as a link of a fixed name in `folder` (the per-user
// folder) instead; the cost: subtitle files beside the medium, which the engine finds by the
// medium's name, are not found then. Empty when the link cannot be made.
QString EnginePathFor(const QString &path, const QString &folder);

// A link named `name` (plus the path's extension when that is clean) in `folder` to `path`,
// replacing only a link of that name made earlier; empty when it cannot be made. The engine then
// reads the file by a name that needs no quoting and fits its short commands.
QString EngineLinkTo(const QString &path, const QString &folder, const char *name);

// The fixed name of that link, without the medium's extension.
inline constexpr char kEngineLinkName[] = "medium-link";
// The fixed name of the link to a subtitle file the user loads.
inline constexpr char kSubtitleLinkName[] = "subtitle-link";
