#include "ui/DRUI.h"

#include "dialogs/PlayListModel.h"
#include "ui/Look.h"

#include <QTableWidget>

void DRUI::AddPlayListRows(const QVector<PLAY_LIST_INFO> &entries)
{
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
        ++row;
    }
}

void DRUI::ShowMeasuredDuration(int row, const PLAY_LIST_INFO &entry)
{
    if (QTableWidgetItem *name = m_playListTable->item(row, 0)) {
        name->setData(Qt::UserRole, QVariant::fromValue(entry));
    }
    if (QTableWidgetItem *duration = m_playListTable->item(row, 1)) {
        duration->setText(entry.strDuration);
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
    m_currentPath.clear();
    m_whatPlays->PlayEntry(entry);
}
