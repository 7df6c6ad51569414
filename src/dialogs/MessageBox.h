#pragma once

#include "dialogs/DraggableDialog.h"

class QLabel;

// The program's own frameless message window: one text, an information picture and OK.
// Moved by dragging it with the left button; closed by OK, Escape or a right click.
class CMessageBox : public DraggableDialog
{
    Q_OBJECT

public:
    explicit CMessageBox(QWidget *parent = nullptr);

    // Builds the content around the message.
    void ShowInformation(const QString &message);

    int Result() const { return m_nResult; }

public slots:
    void btnSlotOK();
    void btnSlotNO();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    friend class MessageBoxTestAccess;

    int m_nResult = 1;
    QLabel *m_pMessageLabel = nullptr;
};

// Shows a message modally, its corner placed a third of the way into the owner window.
void ShowMessageBox(const QWidget *owner, const QString &message);
