#pragma once

#include "dialogs/DraggableDialog.h"

class QLabel;
class QPixmap;

// What a message tells: that something failed (could not play, could not save, no engine),
// that a choice was refused (not a disc, a title not offered), or just something to know.
enum class MessageKind
{
    Failure,
    Warning,
    Information
};

// The kind of the message of the language files under this key ("Messages/MSG0102").
MessageKind KindOfMessage(const char *messageKey);

// The program's own frameless message window: one text, a picture that says what kind it is,
// and OK.
// Moved by dragging it with the left button; closed by OK, Escape or a right click.
class CMessageBox : public DraggableDialog
{
    Q_OBJECT

public:
    explicit CMessageBox(QWidget *parent = nullptr);

    // Builds the content around the message, whose kind its title and picture say.
    void Show(MessageKind kind, const QString &message);

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

// Shows the message of the language files under this key, with the detail (names, paths) on a
// line of its own, modally, its corner placed a third of the way into the owner window.
void ShowMessageBox(const QWidget *owner, const char *messageKey, const QString &detail = {});
