#pragma once

#include <QString>

enum class DiscFolderKind
{
    NotRecognised,
    BluRay,
    Dvd,
};

// Decides what a chosen folder or drive holds. A "BDMV" folder is looked for first, then a
// "VIDEO_TS" folder; either is then confirmed by listing: a Blu-ray needs a sub-folder of BDMV
// whose path contains "STREAM", a DVD a sub-folder whose path contains "VIDEO_TS" (both
// letter-case exact).
DiscFolderKind ClassifyDiscFolder(const QString &path);

// The disc a chosen folder belongs to: the folder itself, or the folder above it when the one
// chosen is a disc's own "BDMV" or "VIDEO_TS" folder rather than the disc's root.
QString DiscRootOf(const QString &folder);
