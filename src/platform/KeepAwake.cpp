#include "platform/KeepAwake.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusUnixFileDescriptor>

#include <functional>

namespace {

const QString kApplicationName = QStringLiteral("Tavrix BluRay Player");
const QString kReason = QStringLiteral("Playing video");
// A desktop service that does not answer soon is given up.
constexpr int kCallTimeoutMs = 2000;

// Asks the service for an inhibition without waiting for it: a slow service must not hold up
// the window. `onReply` gets the answer, if any comes.
void AskToInhibit(QDBusConnection bus, const QString &service, const QString &path,
                  const QString &interface, const QVariantList &arguments,
                  const std::function<void(const QDBusMessage &)> &onReply)
{
    if (!bus.isConnected()) {
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Inhibit"));
    call.setArguments(arguments);
    const QDBusPendingCall pending = bus.asyncCall(call, kCallTimeoutMs);
    // Told once, on the answer, an error or the time limit; it goes then.
    auto *watcher = new QDBusPendingCallWatcher(pending);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [onReply](QDBusPendingCallWatcher *finished) {
                         onReply(finished->reply());
                         finished->deleteLater();
                     });
}

} // namespace

void KeepSystemAndDisplayAwake()
{
    // The screen saver's inhibition lasts until this process leaves the bus.
    AskToInhibit(QDBusConnection::sessionBus(), QStringLiteral("org.freedesktop.ScreenSaver"),
                 QStringLiteral("/org/freedesktop/ScreenSaver"),
                 QStringLiteral("org.freedesktop.ScreenSaver"), {kApplicationName, kReason},
                 [](const QDBusMessage &) {});

    AskToInhibit(
        QDBusConnection::systemBus(), QStringLiteral("org.freedesktop.login1"),
        QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
        {QStringLiteral("sleep:idle"), kApplicationName, kReason, QStringLiteral("block")},
        [](const QDBusMessage &sleep) {
            if (sleep.type() == QDBusMessage::ReplyMessage && !sleep.arguments().isEmpty()) {
                // The lock holds while this descriptor is open: keep it for the life of the
                // process.
                static QDBusUnixFileDescriptor held;
                held = sleep.arguments().first().value<QDBusUnixFileDescriptor>();
            }
        });
}
