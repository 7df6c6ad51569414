#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "dialogs/MessageBox.h"
#include "look/Look.h"
#include "playing/PlayListModel.h"

#include <QFileDialog>
#include <QStyle>

#include <algorithm>

namespace {

// A name from the disk is shown as it is written, never as markup.
QString PlainToolTip(const QString &path)
{
    return QStringLiteral("<p style='white-space:pre'>%1</p>").arg(path.toHtmlEscaped());
}

} // namespace

void DRUI::ConnectPlayListTable()
{
    connect(m_playListTable, &PlayListTable::cellDoubleClicked, this,
            &DRUI::PlayListItemDoubleClick);
    connect(m_playListTable, &PlayListTable::DeleteWanted, this, &DRUI::DeleteSelectedPlayListRows);
    connect(m_playListTable, &PlayListTable::ClearWanted, m_whatPlays, &WhatPlays::ClearPlayList);
    connect(m_playListTable, &PlayListTable::SaveWanted, this, &DRUI::SavePlayList);
    connect(m_playListTable, &PlayListTable::MoveWanted, this, &DRUI::MovePlayListRow);
}

void DRUI::AddPlayListRows(const QVector<PLAY_LIST_INFO> &entries)
{
    int row = m_playListTable->rowCount();
    m_playListTable->setRowCount(row + entries.size());
    const QFont font = CalibriFont(10);
    for (const PLAY_LIST_INFO &entry : entries) {
        const QString toolTip = PlainToolTip(entry.strPath);
        auto *name = new QTableWidgetItem(PlayListModel::RowText(entry.strPath));
        name->setFont(font);
        name->setForeground(Qt::white);
        name->setToolTip(toolTip);
        name->setData(Qt::UserRole, QVariant::fromValue(entry));
        if (m_whatPlays->IsUnplayable(entry.strPath)) {
            name->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
        }
        m_playListTable->setItem(row, 0, name);
        // Empty until the duration is known.
        auto *duration = new QTableWidgetItem(entry.strDuration);
        duration->setFont(font);
        duration->setForeground(Qt::white);
        duration->setToolTip(toolTip);
        duration->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_playListTable->setItem(row, 1, duration);
        ++row;
    }
}

void DRUI::ShowAddedPlayListRows(const QVector<PLAY_LIST_INFO> &entries)
{
    AddPlayListRows(entries);
    // The rows of a long list come after the engine has started on the first of them, which
    // then gets the mark it would have had.
    const QString &playing = m_playback->Path();
    const bool playingArrived =
        !playing.isEmpty() &&
        std::any_of(entries.begin(), entries.end(),
                    [&playing](const PLAY_LIST_INFO &entry) { return entry.strPath == playing; });
    if (playingArrived) {
        MarkPlayingRow();
    }
}

void DRUI::ShowPlayList()
{
    m_playListTable->setRowCount(0);
    AddPlayListRows(m_whatPlays->PlayList());
    // What the engine was last started on keeps its mark, wherever its row went.
    const std::optional<int> playing =
        PlayListModel::Find(m_whatPlays->PlayList(), m_playback->Path());
    if (playing && !m_playback->Path().isEmpty()) {
        m_playListTable->item(*playing, 0)
            ->setIcon(QIcon(QString::fromLatin1(Images::kPlayStatus)));
    }
}

void DRUI::DeleteSelectedPlayListRows()
{
    const QVector<int> rows = m_playListTable->SelectedRows();
    if (rows.isEmpty()) {
        return;
    }
    m_whatPlays->RemoveRows(rows);
    // The row that came after the first one gone takes the selection, so Delete can go on.
    const int next = std::min(rows.first(), m_playListTable->rowCount() - 1);
    if (next >= 0) {
        m_playListTable->selectRow(next);
    }
}

void DRUI::MovePlayListRow(int from, int to)
{
    m_whatPlays->MoveRow(from, to);
    m_playListTable->selectRow(to);
}

void DRUI::SavePlayList()
{
    // The chooser adds the extension itself, so that it asks before a list of the whole name
    // is replaced.
    QFileDialog chooser(this, QString(), ChooserStartFolder(m_settings.fileFolder),
                        QStringLiteral("M3U8 (*.m3u8)"));
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setDefaultSuffix(QStringLiteral("m3u8"));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
        return;
    }
    if (!m_whatPlays->SavePlayList(chooser.selectedFiles().constFirst())) {
        ShowMessageBox(this, "Messages/MSG0510");
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
    m_whatPlays->PlayEntry(name->data(Qt::UserRole).value<PLAY_LIST_INFO>());
}
