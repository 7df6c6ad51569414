#include "dialogs/PlayListTable.h"

#include "app/LanguageManager.h"
#include "look/StyleSheets.h"

#include <QContextMenuEvent>
#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

#include <algorithm>

PlayListTable::PlayListTable(QWidget *parent) : QTableWidget(parent)
{
    setMouseTracking(true);
    // The name, and the duration once it is known.
    setColumnCount(2);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    horizontalHeader()->setSectionResizeMode(1, QHeaderView::Fixed);
    setColumnWidth(1, 64);
    horizontalHeader()->setMaximumHeight(0);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setVisible(false);
    // One height for every row, set once: no per-row work when thousands are added.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(20);
    verticalHeader()->setHighlightSections(false);
    setStyleSheet(StyleSheets::PlayListTable());
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDropIndicatorShown(true);
}

QSize PlayListTable::sizeHint() const
{
    const QSize hint = QTableWidget::sizeHint();
    return {std::max(hint.width(), window()->width() / 5), hint.height()};
}

QVector<int> PlayListTable::SelectedRows() const
{
    QVector<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedRows()) {
        rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool PlayListTable::event(QEvent *event)
{
    // While the table has the focus, the keys that move through its rows and Delete are its own:
    // the window's shortcuts on the same keys (volume on Up and Down) wait until it lets go.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool tableKey = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down ||
                              key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown ||
                              key->key() == Qt::Key_Home || key->key() == Qt::Key_End ||
                              key->key() == Qt::Key_Delete;
        if (tableKey && key->modifiers() == Qt::NoModifier) {
            event->accept();
            return true;
        }
    }
    return QTableWidget::event(event);
}

void PlayListTable::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        emit DeleteWanted();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void PlayListTable::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    QAction *remove = menu.addAction(GetText("MainWnd/Delete"), this, &PlayListTable::DeleteWanted);
    remove->setShortcut(QKeySequence(Qt::Key_Delete));
    remove->setEnabled(selectionModel()->hasSelection());
    menu.addAction(GetText("MainWnd/ClearPlayList"), this, &PlayListTable::ClearWanted)
        ->setEnabled(rowCount() > 0);
    menu.addAction(GetText("MainWnd/SavePlayList") + QStringLiteral("..."), this,
                   &PlayListTable::SaveWanted)
        ->setEnabled(rowCount() > 0);
    menu.exec(event->globalPos());
}

void PlayListTable::startDrag(Qt::DropActions supportedActions)
{
    // The rows stay where they are until the owner moves them: the table's own drag would
    // remove them once dropped.
    auto *drag = new QDrag(this);
    drag->setMimeData(model()->mimeData(selectedIndexes()));
    drag->exec(supportedActions & Qt::MoveAction);
}

void PlayListTable::dropEvent(QDropEvent *event)
{
    // A row dragged within the table: the owner moves it and the table is drawn again. The
    // table's own move would write rows over others.
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
    if (event->source() != this || currentRow() < 0) {
        event->ignore();
        return;
    }
    const QModelIndex onto = indexAt(event->position().toPoint());
    int before = rowCount();
    if (onto.isValid()) {
        before = onto.row() + (dropIndicatorPosition() == BelowItem ? 1 : 0);
    }
    const int from = currentRow();
    event->acceptProposedAction();
    emit MoveWanted(from, before > from ? before - 1 : before);
}
