#include "app/CommandLine.h"
#include "app/LogHandler.h"
#include "platform/KeepAwake.h"
#include "platform/SingleInstance.h"
#include "platform/WindowRaiser.h"
#include "ui/DRUI.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>

namespace {

// The title a running copy's window is found by; the window takes its own title from the
// language file, so a translated title is not found.
const char *const kRunningWindowTitle = "Tavrix BluRay Player";

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    // Desktops match the window to its desktop entry, and so to its name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tavrix.BluRayPlayer"));
    // Only the main window's close handling ends the program.
    application.setQuitOnLastWindowClosed(false);
    qInstallMessageHandler(LogMessageHandler);

    // Qt has taken its own options out of the arguments by now.
    const CommandLine command =
        CommandLine::Parse(application.arguments().mid(1), QDir::currentPath());
    if (command.action != CommandLine::Action::Run) {
        const bool asked = command.action == CommandLine::Action::ShowUsage;
        std::fputs(qPrintable(CommandLine::Usage()), asked ? stdout : stderr);
        return asked ? 0 : 2;
    }

    SingleInstance instance;
    const SingleInstance::Lock lock = instance.TakeLock();
    if (lock == SingleInstance::Lock::HeldElsewhere) {
        const bool handed = command.paths.isEmpty() || SingleInstance::HandOver(command.paths);
        RestoreWindowWithTitle(QString::fromLatin1(kRunningWindowTitle));
        if (!handed) {
            std::fputs("tavrix-bluray-player: the running player did not take the paths\n", stderr);
            return 1;
        }
        return 0;
    }
    if (lock == SingleInstance::Lock::Unavailable) {
        std::fputs("tavrix-bluray-player: the single-instance lock could not be taken; this copy "
                   "runs on its own\n",
                   stderr);
    }
    // Asked once the window is up: the buses' answers need not hold up its first showing.
    QTimer::singleShot(0, [] { KeepSystemAndDisplayAwake(); });

    DRUI window;
    window.SetUpWindow();
    window.show();
    // A round trip to the session bus, after the window's first showing too.
    QTimer::singleShot(0, &window, [&window] { window.PublishMediaControls(); });
    QObject::connect(&instance, &SingleInstance::PathsHandedOver, &window, &DRUI::OpenFromDesktop);
    if (!command.paths.isEmpty()) {
        QTimer::singleShot(0, &window,
                           [&window, &command] { window.OpenFromDesktop(command.paths); });
    }
    application.exec();
    return 0;
}
