#include "dialogs/PlayListTable.h"

#include "ui/StyleSheets.h"

#include <QHeaderView>
#include <QTableWidget>

QTableWidget *CreatePlayListTable()
{
    auto *table = new QTableWidget;
    table->setMouseTracking(true);
    table->setColumnCount(1);
    table->setColumnWidth(0, 200);
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setMaximumHeight(0);
    table->horizontalHeader()->setHighlightSections(false);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setHighlightSections(false);
    table->setStyleSheet(StyleSheets::PlayListTable());
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return table;
}
