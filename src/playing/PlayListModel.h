#pragma once

#include "playing/PlayListInfo.h"

#include <QString>
#include <QVector>

#include <optional>

// The play list's rules, apart from its table. Paths compare as exact text.
namespace PlayListModel {

// The position of the first entry with that path.
std::optional<int> Find(const QVector<PLAY_LIST_INFO> &list, const QString &path);

// The entries whose paths the list does not hold yet, in their order, each path once.
QVector<PLAY_LIST_INFO> NotYetListed(const QVector<PLAY_LIST_INFO> &list,
                                     const QVector<PLAY_LIST_INFO> &candidates);

enum class Step
{
    Previous,
    Next,
};

// The entry before or after the one playing, if there is one to go to: none with fewer than two
// entries, when no entry plays, or at either end.
std::optional<int> Neighbour(const QVector<PLAY_LIST_INFO> &list, const QString &playingPath,
                             Step step);

// The text of an entry's row: four spaces and the file name, or the whole path when it is short
// (a drive root shows whole).
QString RowText(const QString &path);

} // namespace PlayListModel
