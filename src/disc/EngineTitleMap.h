#pragma once

#include <QByteArray>
#include <QString>

#include <map>

// The engine numbers a disc's titles its own way (the order its Blu-ray library lists the
// playlists in), not the way the title scan counts them. This map lets a picked title be
// handed to the engine under the engine's number.

// Playlist number ("00004") to the engine's title number, from the engine's identify output
// (lines "ID_BLURAY_TITLE_<n>_PLAYLIST=<playlist>").
std::map<QString, int> ParseEngineTitleList(const QByteArray &identifyOutput);

// Asks the engine for a disc's title list in a process of its own, so that a disc that makes
// the engine hang or crash only costs the time limit. Empty when the engine gives none.
std::map<QString, int> QueryEngineTitleList(const QString &discFolder, int timeLimitMs);

// The playlist number a title key names: "00004" for ".../PLAYLIST/00004.mpls".
QString PlaylistNumber(const QString &titleKey);

inline constexpr int kEngineTitleListTimeLimitMs = 10000;
