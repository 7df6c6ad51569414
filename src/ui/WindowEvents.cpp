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
    // Closing by the frame's button must not leave the engine running either.
    ShutDownEngine();
    event->accept();
    QApplication::quit();
}
