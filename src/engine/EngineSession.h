#pragma once

#include "disc/MediumFacts.h"
#include "engine/EngineLineReader.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <map>
#include <optional>

class QProcess;

// The playback engine of one window: its process, every command written to it and every line
// read from it, and what those lines tell: the state, the engine's clock and length and the
// streams it announced. The window renders what this object says and keeps no copy of it.
//
// A medium's tags and file name reach the engine's output too, so lines of the engine's own
// shapes may come from a stranger: answers and pictures count only while one is awaited, and
// playback ends when the engine process ends, never on a line.
class EngineSession : public QObject
{
    Q_OBJECT

public:
    enum class State
    {
        Stopped, // no engine, or one that has ended
        Playing,
        Paused,
        Ending, // told to quit; Ended follows when the process is gone
    };
    Q_ENUM(State)

    explicit EngineSession(QObject *parent = nullptr);
    ~EngineSession() override;

    // Ends any engine at once (it is not asked to quit) and starts a new one, playing.
    // facts: what readers the medium cannot forge told. Without a start time the medium's clock
    // counts from zero until such a reader tells: the engine's own report of it may be a line
    // of the medium's name. Without streams the ones the engine announces are taken, until such
    // a reader tells.
    void Start(const QString &program, const QStringList &arguments, const QString &workingFolder,
               const MediumFacts &facts = {});
    // What such a reader told after the start; StreamsLearnt follows when it told the streams.
    void Learn(const MediumFacts &facts);

    // Formats one command into the 128-byte buffer and writes it. False when there is no live
    // engine or the command does not fit.
    bool Send(const char *format, ...) Q_ATTRIBUTE_FORMAT_PRINTF(2, 3);

    void Pause();
    // Sends nothing: the next poll, which does not keep the pause, ends it.
    void Resume();
    // One clock step, then the length and position questions.
    void Poll();
    // An absolute seek on the window's clock, which starts at zero, as the engine's seek
    // counts; the clock shows the target until the engine answers.
    void Seek(int seconds);
    // Asks for a picture; SnapshotReported follows when the engine wrote one.
    void RequestSnapshot();
    // Shows a short note on the engine's picture. Quotes, backslashes and line breaks in the
    // text are left out; a note that does not fit one command is cut short.
    void ShowOnScreen(const QString &text);
    // Loads a subtitle file of the engine's working folder, by its name there, and shows it;
    // its number among the files loaded, -1 when it was not sent. A name keeps the command short
    // whatever the folder's path.
    int LoadSubtitleFile(const QString &nameInWorkingFolder);
    // Asks which audio and subtitle streams, and which loaded subtitle file, the engine shows.
    void AskForCurrentTracks();
    // "q\n": the engine leaves by itself and Ended follows; one that has not left a short time
    // later is ended, with everything it started.
    void Quit();
    // Asks the engine to quit and lets go of it at once: one that has not left a short time
    // later is ended in the background, or with the player. No Ended follows.
    void ShutDown();
    // Ends the engine at once. No Ended follows.
    void Release();

    State CurrentState() const { return m_state; }
    bool IsLive() const { return m_state == State::Playing || m_state == State::Paused; }
    // The engine's position as last answered, advanced by the clock steps since.
    qint64 ClockMs() const { return m_clockMs; }
    // The engine said that the medium plays; it answered where it is at least once.
    bool MediumPlays() const { return m_playbackStarted; }
    bool HasAnsweredPosition() const { return m_positionAnswered; }
    // The subtitle files loaded into the engine that plays.
    int SubtitleFilesLoaded() const { return m_subtitleFilesLoaded; }
    // The engine process's id and arguments; 0 and none when none runs.
    qint64 ProcessId() const;
    QStringList Arguments() const;
    const QVector<MediumStream> &AudioStreams() const { return m_audioStreams; }
    const QVector<MediumStream> &SubtitleStreams() const { return m_subtitleStreams; }
    // A DVD's titles and their lengths in milliseconds, as the engine lists them.
    const std::map<int, qint64> &DvdTitleLengths() const { return m_dvdTitleLengthsMs; }
    // The chapter starts of what plays, in milliseconds, as the engine lists them.
    const QVector<qint64> &ChapterStarts() const { return m_chapterStartsMs; }

signals:
    void StateChanged(EngineSession::State state);
    void ClockChanged(qint64 clockMs);
    // Each length answer, whole seconds.
    void LengthAnswered(int seconds);
    // Each position answer, after the clock took it.
    void PositionAnswered();
    // The video started: the stream lists are complete.
    void VideoStarted();
    // After the video started, a reader the medium cannot forge told the streams: the lists
    // are now its own.
    void StreamsLearnt();
    // The medium plays: what the engine lists of titles and chapters is complete.
    void PlaybackStarted();
    // The engine's current tracks, as asked by AskForCurrentTracks (-2 / -1: none).
    void AudioTrackAnswered(int streamId);
    void SubtitleTrackAnswered(int streamId);
    void SubtitleFileAnswered(int fileIndex);
    // A picture asked for is in the engine's working folder, at this path; writtenThroughLink
    // when that name is a link, which the engine wrote through and nobody may read or remove.
    void SnapshotReported(const QString &picture, bool writtenThroughLink);
    // The engine process ended by itself or after Quit; endOfFile when it said it reached the
    // end of the medium, unplayable when it ended by itself without ever telling where it was
    // when asked, unless it reached the end of a medium it had started to play.
    void Ended(bool endOfFile, bool unplayable);
    void FailedToStart();

private:
    void SetState(State state);
    void ReadOutput();
    void HandleLine(const QByteArray &line);
    void OnFinished(QProcess *process);
    void DropProcess();
    static int CountUp(int due);

    QProcess *m_process = nullptr;
    QString m_workingFolder;
    State m_state = State::Stopped;
    EngineLineReader m_output;
    bool m_saidEndOfFile = false;
    bool m_playbackStarted = false;
    bool m_positionAnswered = false; // the engine told where it is when asked

    qint64 m_clockMs = 0;
    // Where the medium's own clock starts: positions and seeks are on that clock, the window's
    // clock starts at zero.
    qint64 m_startTimeMs = 0;
    int m_lengthAnswersDue = 0;
    int m_positionAnswersDue = 0;
    int m_stalePositionAnswers = 0; // due answers that tell the position before a seek
    int m_audioAnswersDue = 0;
    int m_subtitleAnswersDue = 0;
    int m_subtitleFileAnswersDue = 0;
    int m_subtitleFilesLoaded = 0;
    int m_snapshotsDue = 0;
    QVector<MediumStream> m_audioStreams;
    QVector<MediumStream> m_subtitleStreams;
    bool m_streamsKnown = false; // told by a reader the medium cannot forge
    bool m_videoStarted = false;
    std::map<int, qint64> m_dvdTitleLengthsMs;
    QVector<qint64> m_chapterStartsMs;
};
