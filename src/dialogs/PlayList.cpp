#include "ui/DRUI.h"

#include "dialogs/PlayListModel.h"
#include "ui/Look.h"

#include <QTableWidget>

void DRUI::AddToPlayList(const QVector<PLAY_LIST_INFO> &entries)
{
    if (entries.isEmpty()) {
        return;
    }
    int row = m_playListTable->rowCount();
    m_playListTable->setRowCount(row + entries.size());
    for (const PLAY_LIST_INFO &entry : entries) {
        auto *item = new QTableWidgetItem(PlayListModel::RowText(entry.strPath));
        item->setFont(CalibriFont(10));
        item->setForeground(Qt::white);
        item->setData(Qt::UserRole, QVariant::fromValue(entry));
        m_playListTable->setItem(row, 0, item);
        m_playListTable->setRowHeight(row, 20);
        m_playList.append(entry);
        ++row;
    }
    m_playListTable->setRowCount(row);
}

void DRUI::PlayListItemDoubleClick(int row, int column)
{
    const QTableWidgetItem *item = m_playListTable->item(row, column);
    if (item == nullptr) {
        return;
    }
    StopBtn();
    PlayPlayListEntry(item->data(Qt::UserRole).value<PLAY_LIST_INFO>());
}

void DRUI::PlayPlayListEntry(const PLAY_LIST_INFO &entry)
{
    if (entry.nType == kSourceDvd || entry.nType == kSourceBluRay) {
        OpenDiscFolder(entry.strPath);
    } else {
        OpenFiles({entry.strPath});
    }
}
