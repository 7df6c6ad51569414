#include "dialogs/DraggableDialog.h"

#include <QMouseEvent>

void DraggableDialog::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
        event->accept();
    }
}

void DraggableDialog::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::LeftButton) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        event->accept();
    }
}

void DraggableDialog::MakeFramelessWindow()
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
}
