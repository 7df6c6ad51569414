#pragma once

#include "playing/Playback.h"
#include "playing/WhatPlays.h"
#include "ui/DRUI.h"

#include <QTest>
#include <QTimer>

// The window's two owners, found through the window's public object tree, and what the tests
// ask of them through their public interfaces.
namespace Owners {

inline WhatPlays &Plays(DRUI &window) { return *window.findChild<WhatPlays *>(); }
inline Playback &Player(DRUI &window) { return *window.findChild<Playback *>(); }
inline EngineSession &Session(DRUI &window) { return *Player(window).findChild<EngineSession *>(); }
// The poll's timer, the one timer of the owner of playback.
inline QTimer *PollTimer(DRUI &window) { return Player(window).findChild<QTimer *>(); }
// What the owner of what plays chose.
inline const WhatPlays::Source &Chosen(DRUI &window) { return Plays(window).Current(); }
inline const QVector<PLAY_LIST_INFO> &PlayList(DRUI &window) { return Plays(window).PlayList(); }
inline qint64 ElapsedMs(DRUI &window) { return Player(window).ClockMs(); }
inline bool IsPlaying(DRUI &window) { return Player(window).State() == EngineSession::State::Playing; }
inline bool IsStopped(DRUI &window) { return !Player(window).IsLive(); }
// The engine process's id; 0 when none runs.
inline qint64 EnginePid(DRUI &window) { return Session(window).ProcessId(); }
// Has the engine double print the line as if it were its own.
inline bool Say(DRUI &window, const QByteArray &line)
{
    return Session(window).Send("say %s\n", line.constData());
}

// Opens as the File menu does and returns once the open has settled: the first file started
// and every new row measured (or the probes given up).
inline void OpenFiles(DRUI &window, const QStringList &paths)
{
    Plays(window).OpenFiles(paths);
    if (!QTest::qWaitFor([&window] { return !Plays(window).WaitsForAFirstDuration() &&
                                            !Plays(window).Measuring(); },
                         40000)) {
        qWarning("the open did not settle");
    }
}
// Waits until the disc scan and the engine's title list have come.
inline void SettleDisc(DRUI &window)
{
    if (!QTest::qWaitFor([&window] { return !Plays(window).ReadingDisc(); }, 20000)) {
        qWarning("the disc did not settle");
    }
}
// Opens as the File menu does and returns once the disc has been read.
inline void OpenDiscFolder(DRUI &window, const QString &path)
{
    Player(window).Stop();
    Plays(window).OpenDisc(path);
    SettleDisc(window);
}

// The engine's last length answer, whole seconds; 0 before one came.
class LengthAnswers
{
public:
    explicit LengthAnswers(DRUI &window)
    {
        QObject::connect(&Session(window), &EngineSession::LengthAnswered, &m_context,
                         [this](int seconds) { m_last = seconds; });
    }
    int Last() const { return m_last; }

private:
    QObject m_context;
    int m_last = 0;
};

} // namespace Owners
