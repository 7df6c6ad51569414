#pragma once

#include "desktop/MprisInterfaces.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <optional>

class Playback;
class WhatPlays;

// The desktop's media controls: the player offered on the session bus as an MPRIS 2 media
// player, so that the desktop's panels, media keys and playerctl see and steer it. The calls go
// to the verbs the window's controls call; PropertiesChanged tells of each change of what the
// owners say.
class MediaControls : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *kBusName = "org.mpris.MediaPlayer2.tavrix-bluray-player";
    static constexpr const char *kObjectPath = "/org/mpris/MediaPlayer2";

    MediaControls(Playback *playback, WhatPlays *whatPlays, const WindowCalls &window,
                  QObject *parent = nullptr);
    ~MediaControls() override;

    // Offers the controls on the bus under the player's name, or, when another program holds
    // that, under one with this process's own instance suffix. False when there is no bus or
    // the controls could not be offered; the player runs on without them.
    bool Publish(const QDBusConnection &bus);

private:
    // One verb can change the owners several times over (Next stops one medium and starts the
    // next): the desktop is told what it ends up with, once.
    void TellChangesSoon();
    // Sends PropertiesChanged for the announced properties that differ from what was last said.
    void TellChanges();

    MprisPlayer *m_player;
    std::optional<QDBusConnection> m_bus;
    QString m_busName;
    QVariantMap m_told;
    bool m_changesPending = false;
};
