#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "dialogs/MessageBox.h"
#include "engine/EngineCommandLine.h"
#include "engine/EngineVocabulary.h"
#include "platform/AppDataFolder.h"
#include "platform/EnginePath.h"
#include "platform/ExternalPrograms.h"
#include "look/Look.h"
#include "ui/MenuData.h"
#include "util/TextConversion.h"
#include "util/TimeText.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QTimer>

#include <limits>

namespace {

constexpr int kRefreshIntervalMs = 500;
const QString kNoElapsedTime = QStringLiteral("00:00:00 ");

} // namespace

void DRUI::ConnectEngine()
{
    connect(m_engine, &EngineSession::StateChanged, this, &DRUI::RenderPlaybackState);
    connect(m_engine, &EngineSession::ClockChanged, this, &DRUI::RenderClock);
    connect(m_engine, &EngineSession::PositionAnswered, this, &DRUI::OnPositionAnswered);
    connect(m_engine, &EngineSession::LengthAnswered, this, &DRUI::OnLengthAnswered);
    connect(m_engine, &EngineSession::VideoStarted, this, &DRUI::ApplyTrackChoicesAtVideoStart);
    connect(m_engine, &EngineSession::StreamsLearnt, this, [this] {
        // What the engine announced gives way to what the probe read.
        m_audioTrackMenu->clear();
        m_subtitleTrackMenu->clear();
        ApplyTrackChoicesAtVideoStart();
    });
    connect(m_engine, &EngineSession::PlaybackStarted, this, [this] {
        if (m_whatPlays->Current().kind == kSourceDvd) {
            BuildDvdMenus();
        }
    });
    connect(m_engine, &EngineSession::AudioTrackAnswered, this, [this](int streamId) {
        TickTrack(m_audioTrackMenu, m_engine->AudioStreams(), streamId);
    });
    connect(m_engine, &EngineSession::SubtitleTrackAnswered, this, [this](int streamId) {
        TickTrack(m_subtitleTrackMenu, m_engine->SubtitleStreams(), streamId);
    });
    connect(m_engine, &EngineSession::SubtitleFileAnswered, this, &DRUI::TickSubtitleFile);
    connect(m_engine, &EngineSession::SnapshotReported, this, &DRUI::SaveSnapshot);
    connect(m_engine, &EngineSession::Ended, this, [this](bool endOfFile, bool unplayable) {
        // Played to its end: next time it starts from the beginning.
        if (endOfFile) {
            ForgetWherePlaybackWas();
        }
        OnEngineEnded(unplayable);
        // Only when nothing else was chosen while it played.
        if (endOfFile && !unplayable && m_settings.playWholeList &&
            m_whatPlays->Current().path == m_playing.path) {
            StepThroughPlayList(true);
        }
    });
    connect(m_engine, &EngineSession::FailedToStart, this, &DRUI::OnEngineFailedToStart);
}

void DRUI::StartChosenSource()
{
    m_currentPath.clear();
    VideoPlay();
}

void DRUI::PlayOrPause()
{
    if (m_engine->IsLive()) {
        if (m_engine->CurrentState() == EngineSession::State::Playing) {
            PausePlayback();
        } else {
            ResumePlayback();
        }
        return;
    }
    m_currentPath.clear();
    m_whatPlays->Play();
}

void DRUI::VideoPlay()
{
    const WhatPlays::Source &source = m_whatPlays->Current();
    if (source.path.isEmpty() || !QFile::exists(source.path)) {
        return;
    }
    if (source.path == m_currentPath && m_engine->IsLive()) {
        if (m_engine->CurrentState() == EngineSession::State::Playing) {
            PausePlayback();
        } else {
            ResumePlayback();
        }
        return;
    }
    // Whatever starts now takes the place of a first file still waiting for its duration.
    m_whatPlays->StopWaitingForAFirstDuration();
    // What played until now is remembered before another medium replaces it.
    RememberWherePlaybackIs();
    m_playing = source;
    m_playingName = m_whatPlays->ShownName();
    ForgetAdjustments();
    m_currentPath = source.path;
    m_resumeKey = ResumeKeyOfSource();

    // Track choices are kept per title; other media start with the engine's own.
    m_audioIndex = m_whatPlays->AudioChoice(source.titleKey) - 1;
    m_subtitleIndex = m_whatPlays->SubtitleChoice(source.titleKey) - 1;

    ShowPage(kVideoPage);
    m_seekSlider->setEnabled(true);
    m_seekSlider->setRange(
        0, static_cast<int>(std::min<qint64>(DurationSec(), std::numeric_limits<int>::max())));
    m_seekSlider->setValue(0);
    m_elapsedLabel->setText(kNoElapsedTime);
    m_totalLabel->setText(QLatin1Char(' ') + FormatTime(DurationSec()));

    m_positionAnswerCount = 0;
    m_seekTargetSec = 0;
    if (source.kind != kSourceBluRay) {
        m_titleMenu->clear();
        // A file's or a DVD's streams are the engine's to announce: nothing carries over.
        m_audioTrackMenu->clear();
        m_subtitleTrackMenu->clear();
        m_chapterMenu->clear();
    }

    RecordRecentPath(source.path);

    const QList<QAction *> channels = m_audioChannelMenu->actions();
    for (int i = 0; i < channels.size(); ++i) {
        channels[i]->setCheckable(i == 0);
        channels[i]->setChecked(i == 0);
    }

    // A chapter picked is where to start; else where this medium was left last time.
    const int startAt = source.startSec;
    const int resumeAt = startAt > 0 ? 0 : ResumePositionFor(m_resumeKey);
    if (!StartEngine()) {
        OnEngineFailedToStart();
        return;
    }
    m_engine->Send(Engine::kVolumeAbsolute, m_isMuted ? 0 : m_volumeSlider->value());
    if (startAt > 0) {
        m_engine->Seek(startAt);
    } else if (resumeAt > 0) {
        m_engine->Seek(resumeAt);
        m_engine->ShowOnScreen(QStringLiteral("%1 %2 - Home: %3")
                                   .arg(GetText("MainWnd/ResumedAt"), FormatTime(resumeAt),
                                        GetText("MainWnd/StartOver")));
    }
    m_refreshTimer->start(kRefreshIntervalMs);
    MarkPlayingRow();
}

bool DRUI::StartEngine()
{
    const WhatPlays::Source &source = m_whatPlays->Current();
    EngineLaunch launch;
    launch.windowId = static_cast<unsigned long long>(m_videoSurface->winId());
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
        return false;
    }
    m_engine->Start(EngineProgram(), BuildEngineArguments(launch), AppDataFolder(),
                    m_whatPlays->Facts());
    return true;
}

void DRUI::ShutDownEngine()
{
    m_whatPlays->EndBackgroundWork();
    RememberWherePlaybackIs();
    m_refreshTimer->stop();
    m_engine->ShutDown();
}

void DRUI::PausePlayback()
{
    if (m_engine->CurrentState() != EngineSession::State::Playing) {
        return;
    }
    m_refreshTimer->stop();
    // Said before the pause, so that the engine still draws it.
    m_engine->ShowOnScreen(GetText("MainWnd/Pause"));
    m_engine->Pause();
}

void DRUI::ResumePlayback()
{
    if (m_engine->CurrentState() != EngineSession::State::Paused) {
        return;
    }
    // No command: the engine leaves its pause on the next poll, which does not keep it.
    m_engine->Resume();
    m_refreshTimer->start(kRefreshIntervalMs);
}

void DRUI::RenderPlaybackState(EngineSession::State state)
{
    const bool playing = state == EngineSession::State::Playing;
    // The title bar names what plays, as plain text of one short line.
    const QString product = GetText("MainWnd/ProTitle");
    setWindowTitle(m_engine->IsLive() ? OneLineText(m_playingName, kShownNameLength) +
                                            QStringLiteral(" \u2013 ") + product
                                      : product);
    m_playButton->setIcon(QIcon(QString::fromLatin1(playing ? Images::kPause : Images::kPlay)));
    if (playing) {
        m_playAction->setText(GetText("MainWnd/Pause"));
        m_playAction->setData(MenuData::kPause);
    } else if (state == EngineSession::State::Paused) {
        m_playAction->setText(GetText("MainWnd/Resume"));
        m_playAction->setData(MenuData::kResume);
    } else {
        m_playAction->setText(GetText("MainWnd/Play"));
        m_playAction->setData(MenuData::kPlay);
    }
}

void DRUI::StopBtn()
{
    if (m_engine->IsLive()) {
        RememberWherePlaybackIs();
        m_refreshTimer->stop();
        m_engine->Quit();
    }
    m_elapsedLabel->setText(kNoElapsedTime);
    m_fileNameLabel->clear();
    m_currentPath.clear();
    if (CurrentPage() == kVideoPage) {
        ShowPage(kStartPage);
    }
    m_seekSlider->setValue(0);
    m_seekSlider->setEnabled(false);
}

void DRUI::StopPlaybackAndProbes()
{
    m_whatPlays->EndBackgroundWork();
    StopBtn();
}

void DRUI::Navigation()
{
    if (m_engine->IsLive()) {
        RememberWherePlaybackIs();
        m_refreshTimer->stop();
        m_engine->Quit();
    }
    m_currentPath.clear();
    ShowPage(m_whatPlays->Current().kind == kSourceBluRay ? kNavigationPage : kStartPage);
}

void DRUI::btnCloseSlot()
{
    ShutDownEngine();
    close();
}

void DRUI::EndOfPlayback()
{
    m_seekSlider->setValue(0);
    m_elapsedLabel->setText(kNoElapsedTime);
    m_totalLabel->setText(QLatin1Char(' ') + FormatTime(DurationSec()));
    m_currentPath.clear();
    StopBtn();
}

void DRUI::OnEngineEnded(bool unplayable)
{
    m_refreshTimer->stop();
    EndOfPlayback();
    if (unplayable) {
        ShowMessageBox(this, GetText("Messages/MSG0503") + QLatin1Char('\n') +
                                 OneLineText(m_playing.path, kShownNameLength));
    }
}

void DRUI::OnEngineFailedToStart()
{
    m_refreshTimer->stop();
    EndOfPlayback();
    ShowMessageBox(this, GetText("Messages/MSG0501") + QLatin1Char('\n') +
                             OneLineText(EngineProgram(), kShownNameLength));
}

void DRUI::RecordRecentPath(const QString &path)
{
    if (m_recentFiles.Record(path, RecentFilePath())) {
        FillRecentMenu();
    }
}

void DRUI::MarkPlayingRow()
{
    const QVector<PLAY_LIST_INFO> &list = m_whatPlays->PlayList();
    const int rows = std::min<int>(m_playListTable->rowCount(), list.size());
    for (int row = 0; row < rows; ++row) {
        QTableWidgetItem *item = m_playListTable->item(row, 0);
        if (item == nullptr) {
            continue;
        }
        if (list[row].strPath == m_whatPlays->Current().path) {
            m_playListTable->selectRow(row);
            m_playListTable->setFocus();
            item->setIcon(QIcon(QString::fromLatin1(Images::kPlayStatus)));
        } else {
            item->setIcon(QIcon());
        }
    }
}
