#include "ui/DRUI.h"

#include "dialogs/PlayListModel.h"
#include "disc/DurationProbe.h"
#include "ui/Look.h"
#include "util/TimeText.h"

#include <QTableWidget>

void DRUI::AddToPlayList(const QVector<PLAY_LIST_INFO> &entries)
{
    if (entries.isEmpty()) {
        return;
    }
    int row = m_playListTable->rowCount();
    m_playListTable->setRowCount(row + entries.size());
    const QFont font = CalibriFont(10);
    for (const PLAY_LIST_INFO &entry : entries) {
        auto *name = new QTableWidgetItem(PlayListModel::RowText(entry.strPath));
        name->setFont(font);
        name->setForeground(Qt::white);
        name->setData(Qt::UserRole, QVariant::fromValue(entry));
        m_playListTable->setItem(row, 0, name);
        // Empty until the duration is known.
        auto *duration = new QTableWidgetItem(entry.strDuration);
        duration->setFont(font);
        duration->setForeground(Qt::white);
        duration->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_playListTable->setItem(row, 1, duration);
        if (!m_playListRows.contains(entry.strPath)) {
            m_playListRows.insert(entry.strPath, row);
        }
        m_playList.append(entry);
        ++row;
    }
}

void DRUI::PlayListItemDoubleClick(int row, int column)
{
    // Either cell of a row plays its entry, which the name cell carries.
    const QTableWidgetItem *name = m_playListTable->item(row, 0);
    if (m_playListTable->item(row, column) == nullptr || name == nullptr) {
        return;
    }
    StopBtn();
    PlayPlayListEntry(name->data(Qt::UserRole).value<PLAY_LIST_INFO>());
}

void DRUI::PlayPlayListEntry(const PLAY_LIST_INFO &entry)
{
    if (entry.nType == kSourceDvd || entry.nType == kSourceBluRay) {
        OpenDiscFolder(entry.strPath);
        return;
    }
    // A listed file: the rest of the list goes on being measured behind it.
    m_pathToPlay = entry.strPath;
    m_sourceKind = kSourceFile;
    m_sourceKey.clear();
    m_startPosSec = 0;
    m_durationSec = ParseTime(entry.strDuration.toLatin1().constData());
    if (!entry.strDuration.isEmpty()) {
        VideoPlay();
        return;
    }
    m_unmeasured.insert(entry.strPath);
    m_probes->MeasureFirst(entry.strPath);
    RenderProbesAtWork();
    PlayOnceMeasured(entry.strPath);
}
