#pragma once

#include <QString>

enum class DiscFolderKind
{
    NotRecognised,
    BluRay,
    Dvd,
};

// Decides what a chosen folder or drive holds, by named entries of the folder itself (letter-case
// exact, links not followed), never by a listing: a Blu-ray holds "BDMV/index.bdmv", or the
// folders "BDMV/PLAYLIST" and "BDMV/STREAM"; a DVD holds "VIDEO_TS/VIDEO_TS.IFO". A Blu-ray is
// looked for first.
DiscFolderKind ClassifyDiscFolder(const QString &path);

// A file the engine may be handed: a regular file, also behind links, that lives outside the
// kernel's own trees (/proc, /sys, /dev), where a "regular file" can be a process's memory.
bool IsPlayableFile(const QString &path);

// The disc a chosen folder belongs to: the folder itself, or the folder above it when the one
// chosen is a disc's own "BDMV" or "VIDEO_TS" folder rather than the disc's root.
QString DiscRootOf(const QString &folder);
