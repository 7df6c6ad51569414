#pragma once

#include <QDialog>
#include <QPoint>

// A frameless dialog the user moves by dragging it anywhere with the left mouse button.
class DraggableDialog : public QDialog
{
    Q_OBJECT

public:
    using QDialog::QDialog;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

    // The program's dialogs have no frame, but a taskbar entry of their own.
    void MakeFramelessWindow();

private:
    QPoint m_dragOffset;
};
