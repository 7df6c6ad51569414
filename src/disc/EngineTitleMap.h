#pragma once

#include "disc/MoviePlaylistReader.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <map>
#include <optional>

// The engine numbers a disc's titles its own way (the order its Blu-ray library lists the
// playlists in), not the way the title scan counts them. This map lets a picked title be
// handed to the engine under the engine's number.

// Playlist number ("00004") to the engine's title number, from the engine's identify output
// (lines "ID_BLURAY_TITLE_<n>_PLAYLIST=<playlist>").
std::map<QString, int> ParseEngineTitleList(const QByteArray &identifyOutput);

// The engine's number for a playlist: its own when the engine lists it, else that of a listed
// playlist that plays the same content (the same clips with the same in and out times), which
// the engine's library takes for a copy and leaves out; nothing when there is neither.
// playItems holds the scanned playlists' items by playlist number.
std::optional<int> EngineTitleFor(const QString &playlist,
                                  const std::map<QString, int> &engineTitles,
                                  const std::map<QString, QVector<PlayItemRecord>> &playItems);

// The engine's arguments that make it list a disc's titles and end, without playing. Run in a
// process of its own, so that a disc that makes the engine hang or crash only costs the time
// limit.
QStringList EngineTitleListArguments(const QString &discFolder);

// The playlist number a title key names: "00004" for ".../PLAYLIST/00004.mpls".
QString PlaylistNumber(const QString &titleKey);

inline constexpr int kEngineTitleListTimeLimitMs = 10000;
