#include "dialogs/PlayListTable.h"

#include "ui/StyleSheets.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidget>

namespace {

// While the table has the focus, the keys that move through its rows are its own: the
// window's shortcuts on the same keys (volume on Up and Down) wait until it lets go.
class PlayListTableWidget : public QTableWidget
{
protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::ShortcutOverride) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const bool rowKey = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down ||
                                key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown ||
                                key->key() == Qt::Key_Home || key->key() == Qt::Key_End;
            if (rowKey && key->modifiers() == Qt::NoModifier) {
                event->accept();
                return true;
            }
        }
        return QTableWidget::event(event);
    }
};

} // namespace

QTableWidget *CreatePlayListTable()
{
    auto *table = new PlayListTableWidget;
    table->setMouseTracking(true);
    // The name, and the duration once it is known.
    table->setColumnCount(2);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Fixed);
    table->setColumnWidth(1, 64);
    table->horizontalHeader()->setMaximumHeight(0);
    table->horizontalHeader()->setHighlightSections(false);
    table->verticalHeader()->setVisible(false);
    // One height for every row, set once: no per-row work when thousands are added.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(20);
    table->verticalHeader()->setHighlightSections(false);
    table->setStyleSheet(StyleSheets::PlayListTable());
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return table;
}
