#include "engine/EngineSession.h"

#include "engine/EngineOutput.h"
#include "engine/EngineVocabulary.h"
#include "engine/Snapshots.h"
#include "platform/ChildProcess.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <utility>

namespace {

// The clock advances by this much per poll between the engine's answers.
constexpr qint64 kClockStepMs = 507;
// Questions not answered yet are counted up to this many; more would only let strangers' lines
// pass for answers.
constexpr int kMaxDue = 4;
// The first question after the engine's start line waits this long.
constexpr int kFirstQuestionDelayMs = 100;
// An engine told to quit gets this long to go before it is ended.
constexpr int kEngineExitWaitMs = 2000;

} // namespace

EngineSession::EngineSession(QObject *parent) : QObject(parent) {}

EngineSession::~EngineSession()
{
    ShutDown();
}

int EngineSession::CountUp(int due)
{
    return std::min(due + 1, kMaxDue);
}

void EngineSession::Start(const QString &program, const QStringList &arguments,
                          const QString &workingFolder, const MediumFacts &facts)
{
    Release();
    m_output.Clear();
    m_saidEndOfFile = false;
    m_playbackStarted = false;
    m_videoStarted = false;
    m_positionAnswered = false;
    m_clockMs = 0;
    m_startTimeMs = facts.startTimeMs.value_or(0);
    m_lengthAnswersDue = m_positionAnswersDue = m_stalePositionAnswers = 0;
    m_audioAnswersDue = m_subtitleAnswersDue = m_snapshotsDue = 0;
    m_subtitleFileAnswersDue = m_subtitleFilesLoaded = 0;
    m_audioStreams = facts.streams ? facts.streams->audio : QVector<MediumStream>();
    m_subtitleStreams = facts.streams ? facts.streams->subtitles : QVector<MediumStream>();
    m_streamsKnown = facts.streams.has_value();
    m_dvdTitleLengthsMs.clear();
    m_chapterStartsMs.clear();
    m_workingFolder = workingFolder;

    auto *process = new QProcess(this);
    m_process = process;
    // The engine's screenshots land in its working folder.
    process->setWorkingDirectory(workingFolder);
    // Only standard output is read; what the engine says on standard error must not pile up.
    process->setStandardErrorFile(QProcess::nullDevice());
    EndWithPlayer(*process);
    connect(process, &QProcess::readyReadStandardOutput, this, [this, process] {
        if (process == m_process) {
            ReadOutput();
        }
    });
    connect(process, &QProcess::finished, this, [this, process] { OnFinished(process); });
    // Queued, so that the failure reaches the window after it has shown the playing state.
    // Guarded, since a later engine may be made where a released one was.
    connect(
        process, &QProcess::errorOccurred, this,
        [this, guarded = QPointer<QProcess>(process)](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart && guarded != nullptr && guarded == m_process) {
                DropProcess();
                SetState(State::Stopped);
                emit FailedToStart();
            }
        },
        Qt::QueuedConnection);
    SetState(State::Playing);
    process->start(program, arguments, QIODevice::ReadWrite);
}

bool EngineSession::Send(const char *format, ...)
{
    if (m_process == nullptr || m_process->state() == QProcess::NotRunning ||
        m_state == State::Stopped) {
        // An engine still starting gets what is written once it runs.
        return false;
    }
    char command[Engine::kCommandBufferSize];
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(command, sizeof command, format, arguments);
    va_end(arguments);
    if (length < 0 || length >= static_cast<int>(sizeof command)) {
        return false;
    }
    return m_process->write(command, length) == length;
}

void EngineSession::Pause()
{
    if (m_state != State::Playing) {
        return;
    }
    Send(Engine::kPause);
    SetState(State::Paused);
}

void EngineSession::Resume()
{
    if (m_state != State::Paused) {
        return;
    }
    SetState(State::Playing);
}

void EngineSession::Poll()
{
    // Before the medium plays, the engine prints the medium's own tags and names: nothing is
    // asked then, so no line of theirs can pass for an answer.
    if (m_state != State::Playing || !m_playbackStarted) {
        return;
    }
    m_clockMs += kClockStepMs;
    emit ClockChanged(m_clockMs);
    if (Send(Engine::kGetLength)) {
        m_lengthAnswersDue = CountUp(m_lengthAnswersDue);
    }
    if (Send(Engine::kGetPosition)) {
        m_positionAnswersDue = CountUp(m_positionAnswersDue);
    }
}

void EngineSession::Learn(const MediumFacts &facts)
{
    if (facts.startTimeMs) {
        m_startTimeMs = *facts.startTimeMs;
    }
    if (facts.streams) {
        m_audioStreams = facts.streams->audio;
        m_subtitleStreams = facts.streams->subtitles;
        m_streamsKnown = true;
        // Before the video starts the menus wait for it anyway.
        if (m_videoStarted) {
            emit StreamsLearnt();
        }
    }
}

void EngineSession::Seek(int seconds)
{
    // The engine's absolute seek counts from the medium's start; only its position answers are
    // on the medium's own clock.
    if (!IsLive() || !Send(Engine::kSeekAbsolute, std::max(0, seconds))) {
        return;
    }
    // Answers to questions asked before the seek tell the old position: the engine answers in
    // order, so they are the ones now due.
    m_stalePositionAnswers = m_positionAnswersDue;
    m_clockMs = static_cast<qint64>(std::max(0, seconds)) * 1000;
    emit ClockChanged(m_clockMs);
}

void EngineSession::RequestSnapshot()
{
    if (IsLive() && Send(Engine::kScreenshot)) {
        m_snapshotsDue = CountUp(m_snapshotsDue);
    }
}

void EngineSession::ShowOnScreen(const QString &text)
{
    QByteArray note = text.toUtf8();
    note.replace('"', "").replace('\\', "").replace('\n', ' ').replace('\r', ' ');
    // The command's own words take the rest of the buffer ("%s" is replaced, the end byte kept).
    const qsizetype room =
        Engine::kCommandBufferSize - 1 - (qsizetype(qstrlen(Engine::kShowText)) - 2);
    if (note.size() > room) {
        note.truncate(room);
        // Never end inside a character: drop a last character that lost some of its bytes.
        qsizetype last = note.size() - 1;
        while (last > 0 && (uchar(note.at(last)) & 0xC0) == 0x80) {
            --last;
        }
        const uchar lead = uchar(note.at(last));
        const qsizetype length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if (note.size() - last < length) {
            note.truncate(last);
        }
    }
    Send(Engine::kShowText, note.constData());
}

void EngineSession::AskForCurrentTracks()
{
    if (Send(Engine::kAskAudioTrack)) {
        m_audioAnswersDue = CountUp(m_audioAnswersDue);
    }
    if (Send(Engine::kAskSubtitleTrack)) {
        m_subtitleAnswersDue = CountUp(m_subtitleAnswersDue);
    }
    if (m_subtitleFilesLoaded > 0 && Send(Engine::kAskSubtitleFile)) {
        m_subtitleFileAnswersDue = CountUp(m_subtitleFileAnswersDue);
    }
}

int EngineSession::LoadSubtitleFile(const QString &nameInWorkingFolder)
{
    // The name goes between quotes: one that holds a quote, a backslash or a folder is not sent.
    const QByteArray name = QFile::encodeName(nameInWorkingFolder);
    if (!IsLive() || name.contains('"') || name.contains('\\') || name.contains('/') ||
        !Send(Engine::kSubtitleLoad, name.constData())) {
        return -1;
    }
    const int index = m_subtitleFilesLoaded++;
    Send(Engine::kSubtitleFile, index);
    return index;
}

void EngineSession::Quit()
{
    if (!IsLive()) {
        return;
    }
    Send(Engine::kQuit);
    SetState(State::Ending);
    // What was asked before is no longer awaited: a late answer must not bring a clock back.
    m_lengthAnswersDue = m_positionAnswersDue = m_stalePositionAnswers = 0;
    // A hung engine never leaves by itself.
    QTimer::singleShot(kEngineExitWaitMs, this, [this, guarded = QPointer<QProcess>(m_process)] {
        if (guarded != nullptr && guarded == m_process && m_state == State::Ending &&
            guarded->state() != QProcess::NotRunning) {
            KillProcessGroup(*guarded);
        }
    });
}

void EngineSession::ShutDown()
{
    if (m_process == nullptr) {
        return;
    }
    // Nobody is told of this end, and nobody waits for it: a hung engine must not hold up the
    // window that closes. It is ended a moment later if it has not gone, or with the player.
    QProcess *process = std::exchange(m_process, nullptr);
    process->disconnect(this);
    if (process->state() == QProcess::NotRunning) {
        delete process;
    } else {
        process->setParent(nullptr);
        connect(process, &QProcess::finished, process, &QObject::deleteLater);
        QTimer::singleShot(kEngineExitWaitMs, process, [process] { KillProcessGroup(*process); });
        process->write(Engine::kQuit);
    }
    SetState(State::Stopped);
}

void EngineSession::Release()
{
    if (m_process != nullptr) {
        QProcess *process = std::exchange(m_process, nullptr);
        process->disconnect(this);
        if (process->state() != QProcess::NotRunning) {
            KillProcessGroup(*process);
            process->waitForFinished(kEngineExitWaitMs);
        }
        delete process;
    }
    SetState(State::Stopped);
}

void EngineSession::DropProcess()
{
    if (m_process == nullptr) {
        return;
    }
    m_process->disconnect(this);
    m_process->deleteLater();
    m_process = nullptr;
}

qint64 EngineSession::ProcessId() const
{
    return m_process != nullptr ? m_process->processId() : 0;
}

QStringList EngineSession::Arguments() const
{
    return m_process != nullptr ? m_process->arguments() : QStringList();
}

void EngineSession::SetState(State state)
{
    if (state == m_state) {
        return;
    }
    m_state = state;
    emit StateChanged(state);
}

void EngineSession::ReadOutput()
{
    // Everything at once, so that the process object's own buffer never grows.
    const QProcess *process = m_process;
    m_output.Append(m_process->readAllStandardOutput());
    // A handler may start another engine; this one's lines then mean nothing any more.
    while (process == m_process) {
        const std::optional<QByteArray> line = m_output.NextLine();
        if (!line) {
            return;
        }
        HandleLine(*line);
    }
}

void EngineSession::OnFinished(QProcess *process)
{
    if (process != m_process) {
        return;
    }
    ReadOutput();
    DropProcess();
    m_snapshotsDue = 0;
    // Decided by what the engine did when asked, not by a line a medium may print: it never
    // told where it was, and did not end a medium it had started by reaching its end.
    const bool unplayable = m_state != State::Ending && !m_positionAnswered &&
                            !(m_playbackStarted && m_saidEndOfFile);
    SetState(State::Stopped);
    emit Ended(m_saidEndOfFile, unplayable);
}

void EngineSession::HandleLine(const QByteArray &line)
{
    const EngineEvent event = ClassifyEngineLine(line);
    switch (event.kind) {
    case EngineLine::TimePosition:
        if (m_positionAnswersDue == 0) {
            return;
        }
        --m_positionAnswersDue;
        if (m_stalePositionAnswers > 0) {
            --m_stalePositionAnswers;
            return;
        }
        if (event.positionMs >= 0) {
            m_clockMs = std::max<qint64>(0, event.positionMs - m_startTimeMs);
            m_positionAnswered = true;
            emit ClockChanged(m_clockMs);
        }
        emit PositionAnswered();
        return;
    case EngineLine::Length:
        if (m_lengthAnswersDue == 0) {
            return;
        }
        --m_lengthAnswersDue;
        emit LengthAnswered(event.lengthSeconds);
        return;
    case EngineLine::Playing:
        // A new source: the announcements that follow are its own.
        if (!m_streamsKnown) {
            m_audioStreams.clear();
            m_subtitleStreams.clear();
        }
        return;
    case EngineLine::AudioStream:
        // Audio announced after the first subtitle belongs to no menu.
        if (!m_streamsKnown && m_subtitleStreams.isEmpty()) {
            m_audioStreams.append({event.streamId, QString::fromLocal8Bit(event.language),
                                   QString::fromLocal8Bit(event.title)});
        }
        return;
    case EngineLine::SubtitleStream:
        if (m_streamsKnown) {
            return;
        }
        m_subtitleStreams.append({event.streamId, QString::fromLocal8Bit(event.language),
                                  QString::fromLocal8Bit(event.title)});
        return;
    case EngineLine::VideoStarted:
        m_videoStarted = true;
        emit VideoStarted();
        return;
    case EngineLine::PlaybackStarted:
        // A medium may print this line too, ahead of the engine's own: whatever was asked after
        // it counts from the engine's own line on.
        m_playbackStarted = true;
        m_lengthAnswersDue = m_positionAnswersDue = m_stalePositionAnswers = 0;
        // Asked soon, so that even a medium that ends before the first poll tells that it
        // played: an engine that never answers could not play it. Not at once: lines printed
        // together with this one are a medium's, never an answer.
        QTimer::singleShot(kFirstQuestionDelayMs, this,
                           [this, guarded = QPointer<QProcess>(m_process)] {
                               if (guarded != nullptr && guarded == m_process && IsLive() &&
                                   Send(Engine::kGetPositionKeepPause)) {
                                   m_positionAnswersDue = CountUp(m_positionAnswersDue);
                               }
                           });
        emit PlaybackStarted();
        return;
    case EngineLine::DvdTitleLength:
        if (event.positionMs >= 0) {
            m_dvdTitleLengthsMs[event.titleNumber] = event.positionMs;
        }
        return;
    case EngineLine::Chapters: m_chapterStartsMs = event.chapterStartsMs; return;
    case EngineLine::AudioAnswer:
        if (m_audioAnswersDue > 0) {
            --m_audioAnswersDue;
            emit AudioTrackAnswered(event.streamId);
        }
        return;
    case EngineLine::SubtitleAnswer:
        if (m_subtitleAnswersDue > 0) {
            --m_subtitleAnswersDue;
            emit SubtitleTrackAnswered(event.streamId);
        }
        return;
    case EngineLine::SubtitleFileAnswer:
        if (m_subtitleFileAnswersDue > 0) {
            --m_subtitleFileAnswersDue;
            emit SubtitleFileAnswered(event.streamId);
        }
        return;
    case EngineLine::Screenshot:
        if (m_snapshotsDue > 0) {
            // Only a picture of the engine's own naming in its own folder is ever touched.
            if (const std::optional<QString> picture =
                    Snapshots::EngineSnapshotFile(event.engineFile, m_workingFolder)) {
                --m_snapshotsDue;
                emit SnapshotReported(*picture, false);
            } else if (Snapshots::EngineSnapshotIsLink(event.engineFile, m_workingFolder)) {
                --m_snapshotsDue;
                emit SnapshotReported(QDir(m_workingFolder).filePath(
                                          QString::fromLatin1(event.engineFile)),
                                      true);
            }
        }
        return;
    // The engine's own exit line is the last it prints, so the last such line wins.
    case EngineLine::EndOfFile: m_saidEndOfFile = true; return;
    case EngineLine::Quit: m_saidEndOfFile = false; return;
    case EngineLine::PercentPosition:
    case EngineLine::Other: return;
    }
}
