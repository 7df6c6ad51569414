#include "playing/WhatPlays.h"

#include "disc/SourceClassification.h"

#include <QFileInfo>

#include <algorithm>

QVector<PLAY_LIST_INFO> WhatPlays::EntriesToOpen(const QStringList &paths)
{
    QVector<PLAY_LIST_INFO> entries;
    QStringList notFound;
    const auto add = [&entries](int kind, const QString &path) {
        PLAY_LIST_INFO entry;
        entry.nType = kind;
        entry.strPath = path;
        entries.append(entry);
    };
    for (const QString &path : paths) {
        if (!M3uList::IsListFile(path)) {
            if (IsPlayableFile(path)) {
                add(kSourceFile, path);
            } else {
                notFound.append(path);
            }
            continue;
        }
        const std::optional<QStringList> listed = M3uList::Read(path);
        if (!listed) {
            notFound.append(path);
            continue;
        }
        // A list names what it likes: only files and disc folders that are there join, and no
        // list is opened from within another.
        for (const QString &entry : *listed) {
            const QFileInfo info(entry);
            const DiscFolderKind disc =
                info.isDir() ? ClassifyDiscFolder(entry) : DiscFolderKind::NotRecognised;
            if (IsPlayableFile(entry) && !M3uList::IsListFile(entry)) {
                add(kSourceFile, entry);
            } else if (disc != DiscFolderKind::NotRecognised) {
                add(disc == DiscFolderKind::Dvd ? kSourceDvd : kSourceBluRay, entry);
            } else {
                notFound.append(entry);
            }
        }
    }
    if (!notFound.isEmpty()) {
        emit NotFound(notFound);
    }
    return entries;
}

void WhatPlays::RemoveRows(const QVector<int> &rows)
{
    QVector<int> doomed;
    for (const int row : rows) {
        if (row >= 0 && row < m_playList.size()) {
            doomed.append(row);
        }
    }
    std::sort(doomed.begin(), doomed.end());
    doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
    if (doomed.isEmpty()) {
        return;
    }
    const auto goneBefore = [&doomed](int row) {
        return int(std::lower_bound(doomed.begin(), doomed.end(), row) - doomed.begin());
    };
    const auto playing = m_playListRows.constFind(m_source.path);
    if (playing != m_playListRows.constEnd() &&
        std::binary_search(doomed.begin(), doomed.end(), *playing)) {
        m_removedPlayingRow = *playing - goneBefore(*playing);
    } else if (m_removedPlayingRow) {
        m_removedPlayingRow = *m_removedPlayingRow - goneBefore(*m_removedPlayingRow);
    }
    for (auto row = doomed.crbegin(); row != doomed.crend(); ++row) {
        m_playList.removeAt(*row);
    }
    RowsEdited();
}

void WhatPlays::MoveRow(int from, int to)
{
    const int size = int(m_playList.size());
    if (from < 0 || from >= size || to < 0 || to >= size || from == to) {
        return;
    }
    // The place of a removed playing row moves as if it were a row of its own.
    if (m_removedPlayingRow) {
        const int place = *m_removedPlayingRow - (from < *m_removedPlayingRow ? 1 : 0);
        m_removedPlayingRow = place + (to < place ? 1 : 0);
    }
    m_playList.move(from, to);
    RowsEdited();
}

void WhatPlays::RowsEdited()
{
    m_playListRows.clear();
    // Backwards, so that a path listed twice keeps its first row.
    for (int row = int(m_playList.size()) - 1; row >= 0; --row) {
        m_playListRows.insert(m_playList[row].strPath, row);
    }
    // The window shows the whole list again.
    m_rowsShown = int(m_playList.size());
    emit RowsChanged();
}

bool WhatPlays::SavePlayList(const QString &listPath) const
{
    QStringList paths;
    paths.reserve(m_playList.size());
    for (const PLAY_LIST_INFO &entry : m_playList) {
        paths.append(entry.strPath);
    }
    return M3uList::Save(listPath, paths);
}
