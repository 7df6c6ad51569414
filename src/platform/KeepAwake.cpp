#include "platform/KeepAwake.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>

namespace {

const QString kApplicationName = QStringLiteral("Tavrix BluRay Player");
const QString kReason = QStringLiteral("Playing video");
// A desktop service that does not answer soon must not hold up the window.
constexpr int kCallTimeoutMs = 2000;

QDBusMessage Call(QDBusConnection bus, const QString &service, const QString &path,
                  const QString &interface, const QVariantList &arguments)
{
    if (!bus.isConnected()) {
        return QDBusMessage();
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Inhibit"));
    call.setArguments(arguments);
    return bus.call(call, QDBus::Block, kCallTimeoutMs);
}

} // namespace

void KeepSystemAndDisplayAwake()
{
    // The screen saver's inhibition lasts until this process leaves the bus.
    Call(QDBusConnection::sessionBus(), QStringLiteral("org.freedesktop.ScreenSaver"),
         QStringLiteral("/org/freedesktop/ScreenSaver"),
         QStringLiteral("org.freedesktop.ScreenSaver"), {kApplicationName, kReason});

    const QDBusMessage sleep = Call(
        QDBusConnection::systemBus(), QStringLiteral("org.freedesktop.login1"),
        QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
        {QStringLiteral("sleep:idle"), kApplicationName, kReason, QStringLiteral("block")});
    if (sleep.type() == QDBusMessage::ReplyMessage && !sleep.arguments().isEmpty()) {
        // The lock holds while this descriptor is open: keep it for the life of the process.
        static QDBusUnixFileDescriptor held;
        held = sleep.arguments().first().value<QDBusUnixFileDescriptor>();
    }
}
