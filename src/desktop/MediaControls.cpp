#include "desktop/MediaControls.h"

#include "playing/Playback.h"
#include "playing/WhatPlays.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDebug>
#include <QTimer>

MediaControls::MediaControls(Playback *playback, WhatPlays *whatPlays, const WindowCalls &window,
                             QObject *parent)
    : QObject(parent), m_player(new MprisPlayer(this, playback, whatPlays, window.open))
{
    new MprisRoot(this, window);
    m_told = m_player->Announced();
    connect(playback, &Playback::StateChanged, this, &MediaControls::TellChangesSoon);
    connect(playback, &Playback::MediumChanged, this, &MediaControls::TellChangesSoon);
    connect(playback, &Playback::LengthChanged, this, &MediaControls::TellChangesSoon);
    connect(playback, &Playback::VolumeChanged, this, &MediaControls::TellChangesSoon);
    // The neighbours of what plays.
    connect(whatPlays, &WhatPlays::RowsAdded, this, &MediaControls::TellChangesSoon);
    connect(whatPlays, &WhatPlays::RowsChanged, this, &MediaControls::TellChangesSoon);
}

MediaControls::~MediaControls()
{
    if (m_bus) {
        m_bus->unregisterService(m_busName);
        m_bus->unregisterObject(QString::fromLatin1(kObjectPath));
    }
}

bool MediaControls::Publish(const QDBusConnection &bus)
{
    if (!bus.isConnected()) {
        qDebug("no session bus: the desktop's media controls are not offered");
        return false;
    }
    QDBusConnection connection = bus;
    if (!connection.registerObject(QString::fromLatin1(kObjectPath), this)) {
        qDebug("the media controls' object path is taken on the session bus");
        return false;
    }
    const QString name = QString::fromLatin1(kBusName);
    const QString ownName =
        name + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
    for (const QString &candidate : {name, ownName}) {
        if (connection.registerService(candidate)) {
            m_busName = candidate;
            m_bus = connection;
            m_told = m_player->Announced();
            return true;
        }
    }
    qDebug("no name for the media controls on the session bus");
    connection.unregisterObject(QString::fromLatin1(kObjectPath));
    return false;
}

void MediaControls::TellChangesSoon()
{
    if (!m_changesPending) {
        m_changesPending = true;
        QTimer::singleShot(0, this, &MediaControls::TellChanges);
    }
}

void MediaControls::TellChanges()
{
    m_changesPending = false;
    const QVariantMap now = m_player->Announced();
    QVariantMap changed;
    for (auto property = now.cbegin(); property != now.cend(); ++property) {
        if (m_told.value(property.key()) != property.value()) {
            changed.insert(property.key(), property.value());
        }
    }
    m_told = now;
    if (changed.isEmpty() || !m_bus) {
        return;
    }
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(kObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << QStringLiteral("org.mpris.MediaPlayer2.Player") << changed << QStringList();
    m_bus->send(signal);
}
