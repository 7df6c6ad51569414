#include "dialogs/DesktopOpen.h"

#include "app/LanguageManager.h"
#include "dialogs/MessageBox.h"

#include <QDesktopServices>
#include <QUrl>

void OpenWithDesktop(const QWidget *owner, const QUrl &address)
{
    if (!QDesktopServices::openUrl(address)) {
        ShowMessageBox(owner, "Messages/MSG0504");
    }
}
