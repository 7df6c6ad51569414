#include "playing/Playback.h"

#include "app/LanguageManager.h"
#include "disc/SourceClassification.h"
#include "engine/EngineCommandLine.h"
#include "engine/EngineVocabulary.h"
#include "engine/ResumeStore.h"
#include "platform/AppDataFolder.h"
#include "platform/EnginePath.h"
#include "platform/ExternalPrograms.h"
#include "playing/WhatPlays.h"
#include "util/TextConversion.h"
#include "util/TimeText.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

constexpr int kPollIntervalMs = 500;
constexpr int kJumpSeconds = 60;
constexpr int kForwardLimitMarginSeconds = 4;
constexpr int kVolumeAfterUnmute = 50;
constexpr double kSpeedStep = 1.1;
constexpr double kSlowestSpeed = 0.25;
constexpr double kFastestSpeed = 4.0;
constexpr int kDelayStepMs = 100;

// A number with a fraction as the engine reads it, whatever the user's locale.
QByteArray EngineNumber(double value)
{
    return QByteArray::number(value, 'f', 3);
}

// The engine's id of a track entry; entries a disc's own stream lists made may outnumber what
// the engine announced.
int EngineStreamId(const QVector<MediumStream> &streams, int entry, int none)
{
    if (entry <= 0) {
        return none;
    }
    return entry <= streams.size() ? streams[entry - 1].id : entry - 1;
}

ResumeStore Places()
{
    return ResumeStore(StateFolder() + QStringLiteral("resume.txt"));
}

struct AspectEntry
{
    Playback::Aspect aspect;
    const char *textKey;
    QByteArray engineValue; // -1: the medium's own
};

const std::vector<AspectEntry> &Aspects()
{
    static const std::vector<AspectEntry> aspects = {
        {Playback::Aspect::Auto, "MainWnd/AspectAuto", QByteArray("-1")},
        {Playback::Aspect::FourToThree, "MainWnd/Aspect4To3", EngineNumber(4.0 / 3)},
        {Playback::Aspect::SixteenToNine, "MainWnd/Aspect16To9", EngineNumber(16.0 / 9)},
        {Playback::Aspect::Wide, "MainWnd/Aspect235", EngineNumber(2.35)},
    };
    return aspects;
}

} // namespace

Playback::Playback(WhatPlays *whatPlays, std::function<unsigned long long()> videoWindow,
                   QObject *parent)
    : QObject(parent), m_whatPlays(whatPlays), m_videoWindow(std::move(videoWindow)),
      m_engine(new EngineSession(this)), m_pollTimer(new QTimer(this))
{
    connect(m_pollTimer, &QTimer::timeout, this, &Playback::Poll);
    connect(m_whatPlays, &WhatPlays::StartWanted, this, &Playback::Start);
    connect(m_whatPlays, &WhatPlays::StopWanted, this, &Playback::Stop);
    connect(m_whatPlays, &WhatPlays::FactsMeasured, this, [this](const MediumFacts &facts) {
        if (!m_path.isEmpty() && m_path == m_whatPlays->Current().path) {
            m_engine->Learn(facts);
        }
    });
    connect(m_engine, &EngineSession::StateChanged, this, &Playback::StateChanged);
    // A seek past an episode's end leaves the episode: its title plays on.
    connect(this, &Playback::Sought, this, [this](int seconds) {
        if (qint64(seconds) * 1000 >= m_episodeEndMs) {
            m_episodeEndMs = 0;
        }
    });
    // Nothing of a medium that was stopped comes back on screen.
    connect(m_engine, &EngineSession::ClockChanged, this, [this] {
        if (!m_path.isEmpty()) {
            emit ClockChanged(ClockMs());
        }
    });
    connect(m_engine, &EngineSession::PositionAnswered, this, [this] {
        if (m_path.isEmpty()) {
            return;
        }
        if (!std::exchange(m_toldItPlays, true)) {
            m_whatPlays->MarkUnplayable(m_path, false);
            emit MediumPlays();
        }
        emit PositionAnswered();
    });
    connect(m_engine, &EngineSession::LengthAnswered, this, [this](int seconds) {
        // A length nothing else gave (a DVD's, a file the probe could not measure) is learned
        // from the engine, once; kept for the next start only while it is still the choice.
        if (m_path.isEmpty() || m_lengthSec != 0 || seconds <= 0) {
            return;
        }
        m_lengthSec = seconds;
        if (m_whatPlays->Current().path == m_path) {
            m_whatPlays->LearnLength(seconds);
        }
        emit LengthChanged(m_lengthSec);
        emit ClockChanged(ClockMs());
    });
    connect(m_engine, &EngineSession::VideoStarted, this, [this] { ApplyTrackChoices(false); });
    // What the engine announced gives way to what the probe read.
    connect(m_engine, &EngineSession::StreamsLearnt, this, [this] { ApplyTrackChoices(true); });
    connect(m_engine, &EngineSession::PlaybackStarted, this, &Playback::PlaybackStarted);
    connect(m_engine, &EngineSession::AudioTrackAnswered, this, &Playback::AudioTrackAnswered);
    connect(m_engine, &EngineSession::SubtitleTrackAnswered, this,
            &Playback::SubtitleTrackAnswered);
    connect(m_engine, &EngineSession::SubtitleFileAnswered, this, &Playback::SubtitleFileAnswered);
    connect(m_engine, &EngineSession::SnapshotReported, this, &Playback::SaveSnapshot);
    connect(m_engine, &EngineSession::Ended, this, &Playback::OnEnded);
    connect(m_engine, &EngineSession::FailedToStart, this, [this] {
        EndPoll();
        ForgetMedium();
        emit FailedToStart();
    });
}

Playback::~Playback()
{
    // An engine must not outlive its owner, nor tell anyone that is going away that it ended.
    m_engine->disconnect(this);
    m_engine->Release();
}

qint64 Playback::ClockMs() const
{
    const qint64 clock = m_engine->ClockMs();
    return m_lengthSec > 0 ? std::min(clock, m_lengthSec * 1000) : clock;
}

int Playback::AudioStreamId(int entry) const
{
    // -2 asks the engine for no audio at all.
    return EngineStreamId(AudioStreams(), entry, -2);
}

int Playback::SubtitleStreamId(int entry) const
{
    return EngineStreamId(SubtitleStreams(), entry, -1);
}

void Playback::RestoreVolume(int level, bool muted)
{
    m_volume = std::clamp(level, 0, kLoudest);
    m_muted = muted;
    emit VolumeChanged();
}

void Playback::Start()
{
    const WhatPlays::Source &source = m_whatPlays->Current();
    // Only what a reader recognised, and never a special file, reaches the engine.
    if (source.kind == kSourceFile ? !IsPlayableFile(source.path) : !QFile::exists(source.path)) {
        return;
    }
    // Opening the medium that plays, however it is opened, pauses it or goes on with it.
    if (IsLive() && source.path == m_path && source.titleKey == m_titleKey &&
        source.dvdTitle == m_dvdTitle && source.startSec == 0) {
        PlayOrPause();
        return;
    }
    // Whatever starts now takes the place of a first file still waiting for its duration.
    m_whatPlays->StopWaitingForAFirstDuration();
    // What played until now is remembered before another medium replaces it.
    RememberWherePlaybackIs();
    EndPoll();
    m_path = source.path;
    m_kind = source.kind;
    m_titleKey = source.titleKey;
    m_dvdTitle = source.dvdTitle;
    m_name = m_whatPlays->ShownName();
    m_toldItPlays = false;
    m_lengthSec = source.durationSec;
    m_episodeEndMs = source.endMs;
    m_resumeKey = ResumeKeyOfSource();
    // Track choices are kept per title; other media start with the engine's own.
    m_audioIndex = m_whatPlays->AudioChoice(source.titleKey) - 1;
    m_subtitleIndex = m_whatPlays->SubtitleChoice(source.titleKey) - 1;
    m_speed = 1.0;
    m_audioDelayMs = 0;
    m_subtitleDelayMs = 0;
    m_aspect = Aspect::Auto;
    m_channel = Channel::Stereo;
    emit MediumChanged();
    emit LengthChanged(m_lengthSec);
    emit AdjustmentsChanged();
    StartEngine();
}

void Playback::StartEngine()
{
    const WhatPlays::Source &source = m_whatPlays->Current();
    EngineLaunch launch;
    launch.windowId = m_videoWindow();
    launch.sourceKind = source.kind;
    if (source.kind == kSourceDvd) {
        launch.titleChosen = source.dvdTitle > 0;
        launch.titleNumber = source.dvdTitle;
    } else {
        launch.titleNumber = m_whatPlays->EngineTitleNumber();
        launch.titleChosen = launch.titleNumber.has_value();
    }
    launch.path = EnginePathFor(QFileInfo(source.path).absoluteFilePath(), AppDataFolder());
    if (launch.path.isEmpty()) {
        // What played before does not go on unseen.
        m_engine->Release();
        ForgetMedium();
        emit FailedToStart();
        return;
    }
    // A chapter or an episode picked is where to start; else where this medium was left last
    // time, unless that is not before its end.
    const int startAt = source.startSec;
    const std::optional<qint64> left =
        startAt > 0 || source.endMs > 0 ? std::nullopt : Places().PositionFor(m_resumeKey);
    const int resumeAt = left && *left < m_lengthSec ? static_cast<int>(*left) : 0;
    m_engine->Start(EngineProgram(), BuildEngineArguments(launch), AppDataFolder(),
                    m_whatPlays->Facts());
    m_engine->Send(Engine::kVolumeAbsolute, Volume());
    if (startAt > 0 || resumeAt > 0) {
        m_engine->Seek(std::max(startAt, resumeAt));
        emit Sought(std::max(startAt, resumeAt));
    }
    if (resumeAt > 0) {
        m_engine->ShowOnScreen(QStringLiteral("%1 %2 - Home: %3")
                                   .arg(GetText("MainWnd/ResumedAt"), FormatTime(resumeAt),
                                        GetText("MainWnd/StartOver")));
    }
    m_pollTimer->start(kPollIntervalMs);
}

void Playback::ForgetMedium()
{
    m_path.clear();
    m_titleKey.clear();
    m_dvdTitle = 0;
    m_name.clear();
    m_resumeKey.clear();
    m_lengthSec = 0;
    emit MediumChanged();
}

void Playback::EndPoll()
{
    m_pollTimer->stop();
}

void Playback::PlayOrPause()
{
    if (!IsLive()) {
        m_whatPlays->Play();
    } else if (State() == EngineSession::State::Playing) {
        Pause();
    } else {
        Resume();
    }
}

void Playback::Pause()
{
    if (State() != EngineSession::State::Playing) {
        return;
    }
    EndPoll();
    // Said before the pause, so that the engine still draws it.
    m_engine->ShowOnScreen(GetText("MainWnd/Pause"));
    m_engine->Pause();
}

void Playback::Resume()
{
    if (State() != EngineSession::State::Paused) {
        return;
    }
    // No command: the engine leaves its pause on the next poll, which does not keep it.
    m_engine->Resume();
    m_pollTimer->start(kPollIntervalMs);
}

void Playback::Stop()
{
    if (IsLive()) {
        RememberWherePlaybackIs();
        EndPoll();
        m_engine->Quit();
    }
    // Whatever is opened next finds nothing of this medium on screen; an end by itself leaves
    // its length shown.
    if (!m_path.isEmpty()) {
        ForgetMedium();
        emit LengthChanged(0);
    }
}

void Playback::Close()
{
    m_whatPlays->EndBackgroundWork();
    RememberWherePlaybackIs();
    EndPoll();
    m_engine->ShutDown();
    if (!m_path.isEmpty()) {
        ForgetMedium();
    }
}

void Playback::Poll()
{
    m_engine->Poll();
    // Checked here rather than on every clock change, so that a seek past the end, which moves
    // the clock before it is told, has let the title play on first.
    if (m_episodeEndMs == 0 || ClockMs() < m_episodeEndMs) {
        return;
    }
    m_episodeEndMs = 0;
    // With the whole list to play the next episode follows in the title; else the episode ends
    // as a title does: from its start next time, and the window shows what follows an end.
    if (!m_playWholeList) {
        ForgetWherePlaybackWas();
        EndPoll();
        m_engine->Quit();
    }
}

void Playback::OnEnded(bool endOfFile, bool unplayable)
{
    const QString ended = m_path;
    EndPoll();
    // Played to its end: next time it starts from the beginning.
    if (endOfFile) {
        ForgetWherePlaybackWas();
    }
    // Only when nothing else was chosen while it played.
    const bool playOn = endOfFile && !unplayable && !ended.isEmpty() &&
                        m_whatPlays->Current().path == ended &&
                        (m_playWholeList || m_whatPlays->BatchGoesOnAfter(ended));
    if (unplayable && !ended.isEmpty()) {
        m_whatPlays->MarkUnplayable(ended, true);
    }
    if (!ended.isEmpty()) {
        ForgetMedium();
    }
    emit Ended(ended, unplayable);
    if (playOn) {
        StepThroughPlayList(true);
    }
}

void Playback::SeekTo(int seconds)
{
    if (!IsLive()) {
        return;
    }
    seconds = std::max(0, seconds);
    Resume();
    // The clock shows the target until the engine answers where it landed.
    m_engine->Seek(seconds);
    emit Sought(seconds);
    m_engine->ShowOnScreen(FormatTime(seconds) + QStringLiteral(" / ") + FormatTime(m_lengthSec));
}

void Playback::SeekBy(int seconds)
{
    if (!IsLive()) {
        return;
    }
    qint64 target = std::max<qint64>(0, ClockSec() + seconds);
    if (m_lengthSec > 0) {
        target = std::min(target, m_lengthSec);
    }
    SeekTo(SecondsAsInt(target));
}

void Playback::Jump(bool forward)
{
    if (!IsLive()) {
        return;
    }
    qint64 target = ClockSec() + (forward ? kJumpSeconds : -kJumpSeconds);
    // Without a known length there is no end to stop short of.
    if (forward && m_lengthSec > 0 && target > m_lengthSec) {
        target = m_lengthSec - kForwardLimitMarginSeconds;
    }
    SeekTo(SecondsAsInt(std::max<qint64>(0, target)));
}

void Playback::Step(bool forward)
{
    Resume();
    // Within a Blu-ray title that plays by chapters; otherwise, also after a stop or an end,
    // through the play list.
    if (m_kind == kSourceBluRay && IsLive()) {
        StepThroughChapters(forward);
    } else {
        StepThroughPlayList(forward);
    }
}

bool Playback::CanStep(bool forward) const
{
    if (m_kind == kSourceBluRay && IsLive()) {
        const DiscTitle *title = m_whatPlays->Title(m_titleKey);
        return title != nullptr && title->chapterStartsMs.size() > 1;
    }
    return m_whatPlays->Neighbour(forward).has_value();
}

void Playback::StepThroughChapters(bool forward)
{
    const DiscTitle *title = m_whatPlays->Title(m_titleKey);
    if (title == nullptr) {
        return;
    }
    const qint64 position = ClockSec();
    std::vector<qint64> starts;
    for (const qint64 startMs : title->chapterStartsMs) {
        starts.push_back(startMs / 1000);
    }
    std::optional<qint64> target;
    if (forward) {
        const auto next = std::find_if(starts.begin(), starts.end(),
                                       [position](qint64 start) { return start > position; });
        if (next != starts.end()) {
            target = *next;
        }
    } else {
        // The chapter before the one playing, not the start of the one playing. A position on a
        // chapter's very start (as right after Next) is in that chapter.
        const auto before = std::count_if(starts.begin(), starts.end(),
                                          [position](qint64 start) { return start <= position; });
        if (before > 1 && starts[before - 2] != position) {
            target = starts[before - 2];
        }
    }
    if (target) {
        const int seconds = SecondsAsInt(std::max<qint64>(0, *target));
        m_engine->Seek(seconds);
        emit Sought(seconds);
    }
}

void Playback::StepThroughPlayList(bool forward)
{
    const std::optional<PLAY_LIST_INFO> entry = m_whatPlays->Neighbour(forward);
    if (!entry) {
        return;
    }
    Stop();
    m_whatPlays->PlayEntry(*entry);
}

void Playback::StartOver()
{
    if (!IsLive()) {
        return;
    }
    ForgetWherePlaybackWas();
    Resume();
    m_engine->Seek(0);
    emit Sought(0);
}

void Playback::SetVolume(int level)
{
    // The engine is told the level the slider shows, never one past its ends.
    level = std::clamp(level, 0, kLoudest);
    m_volume = level;
    m_muted = level == 0;
    m_engine->Send(Engine::kVolumeKeepPause, level);
    emit VolumeChanged();
    ShowVolume();
}

void Playback::StepVolume(int delta)
{
    SetVolume(m_volume + delta);
}

void Playback::ToggleMute()
{
    m_muted = !m_muted;
    if (!m_muted) {
        m_volume = kVolumeAfterUnmute;
    }
    m_engine->Send(m_muted ? Engine::kMute : Engine::kUnmute);
    emit VolumeChanged();
    ShowVolume();
}

void Playback::ShowVolume()
{
    m_engine->ShowOnScreen(
        m_muted ? GetText("MainWnd/Muted")
                : QStringLiteral("%1 %2%").arg(GetText("MainWnd/Volume")).arg(m_volume));
}

void Playback::ChangeSpeed(int steps)
{
    if (!IsLive()) {
        return;
    }
    const double speed =
        steps == 0 ? 1.0
                   : std::clamp(std::round(m_speed * std::pow(kSpeedStep, steps) * 100) / 100,
                                kSlowestSpeed, kFastestSpeed);
    if (m_engine->Send(Engine::kSpeedSet, EngineNumber(speed).constData())) {
        m_speed = speed;
        emit AdjustmentsChanged();
        m_engine->ShowOnScreen(
            QStringLiteral("%1 %2\u00d7").arg(GetText("MainWnd/Speed")).arg(speed, 0, 'f', 2));
    }
}

void Playback::ShiftAudioDelay(int steps)
{
    ShiftDelay(m_audioDelayMs, steps, Engine::kAudioDelaySet, "MainWnd/AudioDelay");
}

void Playback::ShiftSubtitleDelay(int steps)
{
    ShiftDelay(m_subtitleDelayMs, steps, Engine::kSubtitleDelaySet, "MainWnd/SubtitleDelay");
}

void Playback::ShiftDelay(int &delayMs, int steps, const char *command, const char *textKey)
{
    const int shifted = delayMs + steps * kDelayStepMs;
    if (IsLive() && m_engine->Send(command, EngineNumber(shifted / 1000.0).constData())) {
        delayMs = shifted;
        emit AdjustmentsChanged();
        m_engine->ShowOnScreen(QStringLiteral("%1 %2 ms").arg(GetText(textKey)).arg(shifted));
    }
}

void Playback::SetAspect(Aspect aspect)
{
    if (!IsLive()) {
        return;
    }
    const auto entry = std::find_if(Aspects().begin(), Aspects().end(),
                                    [aspect](const AspectEntry &e) { return e.aspect == aspect; });
    if (m_engine->Send(Engine::kAspectSet, entry->engineValue.constData())) {
        m_aspect = aspect;
        emit AdjustmentsChanged();
        m_engine->ShowOnScreen(GetText("MainWnd/AspectRatio") + QLatin1Char(' ') +
                               GetText(entry->textKey));
    }
}

void Playback::NextAspect()
{
    const auto ticked = std::find_if(Aspects().begin(), Aspects().end(),
                                     [this](const AspectEntry &e) { return e.aspect == m_aspect; });
    const auto next = ticked + 1 == Aspects().end() ? Aspects().begin() : ticked + 1;
    SetAspect(next->aspect);
}

void Playback::SetChannel(Channel channel)
{
    const char *command = channel == Channel::Left    ? Engine::kBalanceLeft
                          : channel == Channel::Right ? Engine::kBalanceRight
                                                      : Engine::kBalanceStereo;
    if (IsLive() && m_engine->Send(command)) {
        m_channel = channel;
        emit AdjustmentsChanged();
    }
}

void Playback::ShowNote(const QString &text)
{
    if (IsLive()) {
        m_engine->ShowOnScreen(OneLineText(text, kNoteNameLength));
    }
}

bool Playback::ChooseAudio(int entry)
{
    return IsLive() && m_engine->Send(Engine::kSwitchAudioKeepPause, AudioStreamId(entry));
}

bool Playback::ChooseSubtitle(int entry)
{
    // -1 asks the engine for no subtitle, of the medium's or of a file loaded.
    if (!IsLive() || !m_engine->Send(Engine::kSubtitleKeepPause, SubtitleStreamId(entry))) {
        return false;
    }
    if (entry == 0 && m_engine->SubtitleFilesLoaded() > 0) {
        m_engine->Send(Engine::kSubtitleFile, -1);
    }
    return true;
}

bool Playback::ChooseSubtitleFile(int index)
{
    return IsLive() && m_engine->Send(Engine::kSubtitleFile, index);
}

int Playback::LoadSubtitleFile(const QString &path)
{
    if (!IsLive()) {
        return -1;
    }
    // The engine reads the file at once, through a link of a fixed name that needs no quoting.
    const QString link = EngineLinkTo(path, AppDataFolder(), kSubtitleLinkName);
    const int index = link.isEmpty() ? -1 : m_engine->LoadSubtitleFile(QFileInfo(link).fileName());
    if (index >= 0) {
        m_engine->ShowOnScreen(OneLineText(QFileInfo(path).fileName(), kNoteNameLength));
        m_engine->AskForCurrentTracks();
    }
    return index;
}

void Playback::ApplyTrackChoices(bool replaced)
{
    emit TracksKnown(replaced);
    // Choices stored for this title are applied; the ticks then show what the engine answers
    // it shows, a stream the medium marks as its default included.
    if (m_subtitleIndex >= 0) {
        m_engine->Send(Engine::kSubtitleKeepPause, SubtitleStreamId(m_subtitleIndex + 1));
    }
    if (m_audioIndex >= 0) {
        m_engine->Send(Engine::kSwitchAudioKeepPause, AudioStreamId(m_audioIndex + 1));
    }
    m_engine->AskForCurrentTracks();
}

void Playback::PickDvdTitle(int title)
{
    // The length comes from the list of the engine now playing, before the next one replaces it.
    const auto length = DvdTitleLengths().find(title);
    m_whatPlays->PickDvdTitle(title, length != DvdTitleLengths().end() ? length->second / 1000 : 0);
}

QString Playback::ResumeKeyOfSource() const
{
    // A file by its path; a disc title by its playlist, or the DVD folder and its title.
    if (m_kind == kSourceBluRay) {
        return m_titleKey;
    }
    const QString path = QFileInfo(m_path).absoluteFilePath();
    if (m_kind == kSourceDvd) {
        return path + QStringLiteral("#title%1").arg(m_dvdTitle > 0 ? m_dvdTitle : 1);
    }
    return path;
}

void Playback::RememberWherePlaybackIs()
{
    if (IsLive() && !m_resumeKey.isEmpty()) {
        Places().Remember(m_resumeKey, ClockSec(), m_lengthSec);
    }
}

void Playback::ForgetWherePlaybackWas()
{
    if (!m_resumeKey.isEmpty()) {
        Places().Forget(m_resumeKey);
    }
}
