#pragma once

#include "engine/EngineSession.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <functional>
#include <map>

class QTimer;
class WhatPlays;

// The one owner of playback: the engine session, its poll and every fact of the medium that
// plays (what it is, what it is called, where it is remembered, its length, speed, delays, aspect
// ratio, audio channel, volume and mute, the track choices). It starts the engine when the owner
// of what plays asks for it and offers typed verbs; the window and the desktop's media controls
// call the same verbs and draw what this object signals, so they cannot disagree with it. Engine
// command words are written here and in the engine session only.
class Playback : public QObject
{
    Q_OBJECT

public:
    enum class Aspect
    {
        Auto,
        FourToThree,
        SixteenToNine,
        Wide,
    };
    enum class Channel
    {
        Stereo,
        Left,
        Right,
    };
    // The loudest volume level; 0 is silence.
    static constexpr int kLoudest = 100;

    // videoWindow: the native window the engine draws into, asked at each start.
    Playback(WhatPlays *whatPlays, std::function<unsigned long long()> videoWindow,
             QObject *parent = nullptr);
    ~Playback() override;

    // What plays; an empty path when nothing does.
    EngineSession::State State() const { return m_engine->CurrentState(); }
    bool IsLive() const { return m_engine->IsLive(); }
    const QString &Path() const { return m_path; }
    int Kind() const { return m_kind; }
    const QString &TitleKey() const { return m_titleKey; }
    // What the title bar calls it: its own title, else its file or disc name.
    const QString &Name() const { return m_name; }
    // Measured, read from the disc or answered by the engine; 0 when unknown.
    qint64 LengthSec() const { return m_lengthSec; }
    // The engine's clock, never past a known length.
    qint64 ClockMs() const;
    qint64 ClockSec() const { return ClockMs() / 1000; }

    // What the volume slider shows: 0 while muted.
    int Volume() const { return m_muted ? 0 : m_volume; }
    bool IsMuted() const { return m_muted; }
    // The level the user set, kept through a mute by the mute control.
    int Level() const { return m_volume; }
    double Speed() const { return m_speed; }
    int AudioDelayMs() const { return m_audioDelayMs; }
    int SubtitleDelayMs() const { return m_subtitleDelayMs; }
    Aspect AspectRatio() const { return m_aspect; }
    Channel AudioChannel() const { return m_channel; }

    const QVector<MediumStream> &AudioStreams() const { return m_engine->AudioStreams(); }
    const QVector<MediumStream> &SubtitleStreams() const { return m_engine->SubtitleStreams(); }
    // The engine's own stream id of a track menu entry (0: none, k: the k-th stream).
    int AudioStreamId(int entry) const;
    int SubtitleStreamId(int entry) const;
    // A DVD's titles and the chapters of what plays, as the engine lists them.
    const std::map<int, qint64> &DvdTitleLengths() const { return m_engine->DvdTitleLengths(); }
    const QVector<qint64> &ChapterStarts() const { return m_engine->ChapterStarts(); }

    // Settings the window keeps between runs.
    void SetPlayWholeList(bool on) { m_playWholeList = on; }
    void SetSnapshotFormat(const QString &format) { m_snapshotFormat = format; }
    const QString &SnapshotFormat() const { return m_snapshotFormat; }
    // The volume of the last run, before anything plays.
    void RestoreVolume(int level, bool muted);

    // Starts the engine on what the owner of what plays chose; the medium that plays already
    // pauses or goes on instead.
    void Start();
    // The play control: pause or go on with what plays, else start what is chosen.
    void PlayOrPause();
    void Pause();
    void Resume();
    // Ends the engine, remembers where it was and forgets the medium at once.
    void Stop();
    // The window closes: as Stop, ends all background work, and never waits on a hung engine.
    void Close();
    // One poll of the engine: a clock step and the length and position questions; an episode
    // within a longer title ends here once the clock reaches its end.
    void Poll();

    void SeekTo(int seconds);
    // From the engine's clock, never before the start nor past a known length.
    void SeekBy(int seconds);
    // Forward and Backward: a minute from the clock, short of a known end.
    void Jump(bool forward);
    // Previous and Next: chapters within a Blu-ray title that plays, else the play list.
    void Step(bool forward);
    // Whether Step has somewhere to go: a Blu-ray title that plays has chapters, else the play
    // list has an entry on that side.
    bool CanStep(bool forward) const;
    void StepThroughPlayList(bool forward);
    void StartOver();

    void SetVolume(int level);
    // Volume keys: from the level before a mute, which they end.
    void StepVolume(int delta);
    void ToggleMute();
    // steps: faster (+) or slower (-) by a tenth each; 0 is the normal speed.
    void ChangeSpeed(int steps);
    // Steps of 100 ms.
    void ShiftAudioDelay(int steps);
    void ShiftSubtitleDelay(int steps);
    void SetAspect(Aspect aspect);
    void NextAspect();
    void SetChannel(Channel channel);
    // A short note on the picture, of one line.
    void ShowNote(const QString &text);
    // Track menu entries: 0 none, k the k-th stream. False when nothing was sent.
    bool ChooseAudio(int entry);
    bool ChooseSubtitle(int entry);
    bool ChooseSubtitleFile(int index);
    // Adds a subtitle file to what plays and shows it; its number among the files loaded, -1
    // when it could not be loaded.
    int LoadSubtitleFile(const QString &path);
    void TakeSnapshot();
    // A DVD title of the engine's list, with the length that list gives it.
    void PickDvdTitle(int title);

signals:
    void StateChanged(EngineSession::State state);
    void ClockChanged(qint64 clockMs);
    // A seek the player made: the clock jumped there.
    void Sought(int seconds);
    void PositionAnswered();
    // The engine told where it is in the medium for the first time: the medium plays.
    void MediumPlays();
    void LengthChanged(qint64 seconds);
    // Another medium plays, or none does any more (its length is left shown after an end).
    void MediumChanged();
    // The engine ended by itself or after Stop; unplayable when it could not play `path` at all.
    void Ended(const QString &path, bool unplayable);
    void FailedToStart();
    void VolumeChanged();
    void AdjustmentsChanged();
    // The stream lists are complete (replaced: they replace what the engine announced).
    void TracksKnown(bool replaced);
    void PlaybackStarted();
    void AudioTrackAnswered(int streamId);
    void SubtitleTrackAnswered(int streamId);
    void SubtitleFileAnswered(int fileIndex);
    // A snapshot could not be saved: the message's text key.
    void SnapshotNotSaved(const char *messageKey);

private:
    void StartEngine();
    void ForgetMedium();
    void EndPoll();
    void OnEnded(bool endOfFile, bool unplayable);
    void ApplyTrackChoices(bool replaced);
    void StepThroughChapters(bool forward);
    void ShiftDelay(int &delayMs, int steps, const char *command, const char *textKey);
    void ShowVolume();
    void SaveSnapshot(const QString &enginePicture, bool writtenThroughLink);
    QString ResumeKeyOfSource() const;
    void RememberWherePlaybackIs();
    void ForgetWherePlaybackWas();

    WhatPlays *m_whatPlays;
    std::function<unsigned long long()> m_videoWindow;
    EngineSession *m_engine;
    QTimer *m_pollTimer;

    // The medium that plays, as it was when it started: another choice may be waiting.
    QString m_path;
    int m_kind = 0;
    QString m_titleKey;
    int m_dvdTitle = 0;
    QString m_name;
    QString m_resumeKey;
    qint64 m_lengthSec = 0;
    // An episode within a longer title: where it ends, until played or sought past; 0 for none.
    qint64 m_episodeEndMs = 0;
    int m_audioIndex = -1;
    int m_subtitleIndex = -1;
    // Each medium starts with the engine's own speed, delays, aspect ratio and channels.
    double m_speed = 1.0;
    int m_audioDelayMs = 0;
    int m_subtitleDelayMs = 0;
    Aspect m_aspect = Aspect::Auto;
    Channel m_channel = Channel::Stereo;

    int m_volume = 50;
    bool m_muted = false;
    bool m_playWholeList = false;
    bool m_toldItPlays = false; // MediumPlays was said for the medium that plays
    QString m_snapshotFormat = QStringLiteral("JPG");
};
