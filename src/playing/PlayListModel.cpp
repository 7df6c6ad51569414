#include "playing/PlayListModel.h"

#include <QFileInfo>
#include <QSet>

namespace PlayListModel {

std::optional<int> Find(const QVector<PLAY_LIST_INFO> &list, const QString &path)
{
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].strPath == path) {
            return i;
        }
    }
    return std::nullopt;
}

QVector<PLAY_LIST_INFO> NotYetListed(const QVector<PLAY_LIST_INFO> &list,
                                     const QVector<PLAY_LIST_INFO> &candidates)
{
    QSet<QString> seen;
    seen.reserve(list.size() + candidates.size());
    for (const PLAY_LIST_INFO &entry : list) {
        seen.insert(entry.strPath);
    }
    QVector<PLAY_LIST_INFO> fresh;
    for (const PLAY_LIST_INFO &candidate : candidates) {
        if (!seen.contains(candidate.strPath)) {
            seen.insert(candidate.strPath);
            fresh.append(candidate);
        }
    }
    return fresh;
}

std::optional<int> Neighbour(const QVector<PLAY_LIST_INFO> &list, const QString &playingPath,
                             Step step)
{
    if (list.size() < 2) {
        return std::nullopt;
    }
    const std::optional<int> current = Find(list, playingPath);
    if (!current) {
        return std::nullopt;
    }
    const int target = *current + (step == Step::Next ? 1 : -1);
    if (target < 0 || target >= list.size()) {
        return std::nullopt;
    }
    return target;
}

QString RowText(const QString &path)
{
    if (path.size() <= 4) {
        return QStringLiteral("    ") + path;
    }
    // A folder chosen with a trailing separator still shows its own name.
    QString withoutTrailingSeparator = path;
    while (withoutTrailingSeparator.size() > 1 &&
           withoutTrailingSeparator.endsWith(QLatin1Char('/'))) {
        withoutTrailingSeparator.chop(1);
    }
    const QString name = QFileInfo(withoutTrailingSeparator).fileName();
    return QStringLiteral("    ") + (name.isEmpty() ? path : name);
}

} // namespace PlayListModel
