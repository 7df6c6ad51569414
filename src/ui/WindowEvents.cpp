#include "ui/DRUI.h"

#include <QApplication>
#include <QCloseEvent>
#include <QResizeEvent>

void DRUI::resizeEvent(QResizeEvent *event)
{
    centralWidget->resize(event->size());
    QMainWindow::resizeEvent(event);
}

void DRUI::closeEvent(QCloseEvent *event)
{
    event->accept();
    QApplication::quit();
}
