#pragma once

#include "dialogs/DraggableDialog.h"

class QLabel;
class QPixmap;

// The program's own frameless message window: one text, a picture that says what kind it is,
// and OK.
// Moved by dragging it with the left button; closed by OK, Escape or a right click.
class CMessageBox : public DraggableDialog
{
    Q_OBJECT

public:
    explicit CMessageBox(QWidget *parent = nullptr);

    // Builds the content around the message: a note, or the report of a failure, which says
    // so in its title and picture.
    void ShowInformation(const QString &message);
    void ShowFailure(const QString &message);

    int Result() const { return m_nResult; }

public slots:
    void btnSlotOK();
    void btnSlotNO();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    friend class MessageBoxTestAccess;

    void BuildContent(const QString &title, const QPixmap &picture, const QString &message);

    int m_nResult = 1;
    QLabel *m_pMessageLabel = nullptr;
};

// Shows the report of a failure modally, its corner placed a third of the way into the owner
// window.
void ShowMessageBox(const QWidget *owner, const QString &message);
