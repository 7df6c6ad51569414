#include "app/LogHandler.h"
#include "platform/KeepAwake.h"
#include "platform/SingleInstance.h"
#include "platform/WindowRaiser.h"
#include "ui/DRUI.h"

#include <QApplication>

namespace {

// The title a running copy's window is found by; the window takes its own title from the
// language file, so a translated title is not found.
const char *const kRunningWindowTitle = "Tavrix BluRay Player";

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    // Only the main window's close handling ends the program.
    application.setQuitOnLastWindowClosed(false);
    qInstallMessageHandler(LogMessageHandler);

    if (IsAnotherInstanceRunning()) {
        RestoreWindowWithTitle(QString::fromLatin1(kRunningWindowTitle));
        return 0;
    }
    KeepSystemAndDisplayAwake();

    DRUI window;
    window.SetUpWindow();
    window.show();
    application.exec();
    return 0;
}
