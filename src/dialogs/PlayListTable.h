#pragma once

#include <QTableWidget>
#include <QVector>

// The table that shows the play list beside the video area, each entry's name and duration: no
// header line, whole rows selected, nothing editable. It edits nothing itself: Delete, its
// context menu and dragging a row say what the user wants, and the list's owner decides.
class PlayListTable : public QTableWidget
{
    Q_OBJECT

public:
    explicit PlayListTable(QWidget *parent = nullptr);

    // A fifth of the window's width, until it is given another.
    QSize sizeHint() const override;

    // The selected rows, in order.
    QVector<int> SelectedRows() const;

signals:
    void DeleteWanted();
    void ClearWanted();
    void SaveWanted();
    // The row at from is to end up at to.
    void MoveWanted(int from, int to);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dropEvent(QDropEvent *event) override;
};
