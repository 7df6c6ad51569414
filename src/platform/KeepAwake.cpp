#include "platform/KeepAwake.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>

namespace {

const char *const kApplicationName = "Tavrix BluRay Player";
const char *const kReason = "Playing video";
constexpr int kCallTimeoutMs = 2000;

void InhibitScreenSaver()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    QDBusInterface screenSaver(QStringLiteral("org.freedesktop.ScreenSaver"),
                               QStringLiteral("/org/freedesktop/ScreenSaver"),
                               QStringLiteral("org.freedesktop.ScreenSaver"), bus);
    if (!screenSaver.isValid()) {
        return;
    }
    screenSaver.setTimeout(kCallTimeoutMs);
    // The inhibition lasts until this process leaves the bus, so the cookie need not be kept.
    screenSaver.call(QStringLiteral("Inhibit"), QString::fromLatin1(kApplicationName),
                     QString::fromLatin1(kReason));
}

void InhibitSleep()
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        return;
    }
    QDBusInterface login(QStringLiteral("org.freedesktop.login1"),
                         QStringLiteral("/org/freedesktop/login1"),
                         QStringLiteral("org.freedesktop.login1.Manager"), bus);
    if (!login.isValid()) {
        return;
    }
    login.setTimeout(kCallTimeoutMs);
    const QDBusReply<QDBusUnixFileDescriptor> reply =
        login.call(QStringLiteral("Inhibit"), QStringLiteral("sleep:idle"),
                   QString::fromLatin1(kApplicationName), QString::fromLatin1(kReason),
                   QStringLiteral("block"));
    if (reply.isValid()) {
        // The lock holds while this descriptor is open: keep it for the life of the process.
        static QDBusUnixFileDescriptor held;
        held = reply.value();
    }
}

} // namespace

void KeepSystemAndDisplayAwake()
{
    InhibitScreenSaver();
    InhibitSleep();
}
