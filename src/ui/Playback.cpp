#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "dialogs/MessageBox.h"
#include "engine/EngineCommandLine.h"
#include "engine/EngineVocabulary.h"
#include "platform/AppDataFolder.h"
#include "platform/ExternalPrograms.h"
#include "ui/Look.h"
#include "ui/MenuData.h"
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
    connect(m_engine, &EngineSession::PlaybackStarted, this, [this] {
        if (m_sourceKind == kSourceDvd) {
            BuildDvdMenus();
        }
    });
    connect(m_engine, &EngineSession::AudioTrackAnswered, this, [this](int streamId) {
        TickTrack(m_audioTrackMenu, m_engine->AudioStreams(), streamId);
    });
    connect(m_engine, &EngineSession::SubtitleTrackAnswered, this, [this](int streamId) {
        TickTrack(m_subtitleTrackMenu, m_engine->SubtitleStreams(), streamId);
    });
    connect(m_engine, &EngineSession::SnapshotReported, this, &DRUI::SaveSnapshot);
    connect(m_engine, &EngineSession::Ended, this, [this](bool endOfFile, bool unplayable) {
        // Played to its end: next time it starts from the beginning.
        if (endOfFile) {
            ForgetWherePlaybackWas();
        }
        OnEngineEnded(unplayable);
        if (endOfFile && !unplayable && m_settings.playWholeList) {
            StepThroughPlayList(true);
        }
    });
    connect(m_engine, &EngineSession::FailedToStart, this, &DRUI::OnEngineFailedToStart);
}

void DRUI::VideoPlay()
{
    if (m_pathToPlay.isEmpty() || !QFile::exists(m_pathToPlay)) {
        return;
    }
    if (m_pathToPlay == m_currentPath && m_engine->IsLive()) {
        if (m_engine->CurrentState() == EngineSession::State::Playing) {
            PausePlayback();
        } else {
            ResumePlayback();
        }
        return;
    }
    // Whatever starts now takes the place of a first file still waiting for its duration.
    StopWaitingForAFirstDuration();
    // What played until now is remembered before another medium replaces it.
    RememberWherePlaybackIs();
    m_currentPath = m_pathToPlay;
    m_resumeKey = ResumeKeyOfSource();

    const auto choice = [this](const std::map<QString, int> &table) {
        const auto found = table.find(m_sourceKey);
        return (found == table.end() ? -1 : found->second) - 1;
    };
    m_audioIndex = choice(m_audioChoice);
    m_subtitleIndex = choice(m_subtitleChoice);

    ShowPage(kVideoPage);
    m_seekSlider->setEnabled(true);
    m_seekSlider->setRange(
        0, static_cast<int>(std::min<qint64>(m_durationSec, std::numeric_limits<int>::max())));
    m_seekSlider->setValue(0);
    m_elapsedLabel->setText(kNoElapsedTime);
    m_totalLabel->setText(QLatin1Char(' ') + FormatTime(m_durationSec));

    m_positionAnswerCount = 0;
    m_seekTargetSec = 0;
    if (m_sourceKind != kSourceBluRay) {
        m_titleMenu->clear();
        // A file's or a DVD's streams are the engine's to announce: nothing carries over.
        m_audioTrackMenu->clear();
        m_subtitleTrackMenu->clear();
        m_chapterMenu->clear();
    }

    RecordRecentPath(m_pathToPlay);

    const QList<QAction *> channels = m_audioChannelMenu->actions();
    for (int i = 0; i < channels.size(); ++i) {
        channels[i]->setCheckable(i == 0);
        channels[i]->setChecked(i == 0);
    }

    // A chapter picked is where to start; else where this medium was left last time.
    const int resumeAt = m_startPosSec > 0 ? 0 : ResumePositionFor(m_resumeKey);
    StartEngine();
    m_engine->Send(Engine::kVolumeAbsolute, m_isMuted ? 0 : m_volumeSlider->value());
    if (m_startPosSec > 0) {
        m_engine->Seek(m_startPosSec);
    } else if (resumeAt > 0) {
        m_engine->Seek(resumeAt);
        m_engine->ShowOnScreen(QStringLiteral("%1 %2 - Home: %3")
                                   .arg(GetText("MainWnd/ResumedAt"), FormatTime(resumeAt),
                                        GetText("MainWnd/StartOver")));
    }
    m_refreshTimer->start(kRefreshIntervalMs);
    MarkPlayingRow();
}

void DRUI::StartEngine()
{
    EngineLaunch launch;
    launch.windowId = static_cast<unsigned long long>(m_videoSurface->winId());
    launch.sourceKind = m_sourceKind;
    if (m_sourceKind == kSourceDvd) {
        launch.titleChosen = m_dvdTitle > 0;
        launch.titleNumber = m_dvdTitle;
    } else {
        launch.titleChosen = m_titleChosen;
        launch.titleNumber = EngineTitleNumber(m_sourceKey);
    }
    launch.path = QFileInfo(m_pathToPlay).absoluteFilePath();
    m_engine->Start(EngineProgram(), BuildEngineArguments(launch), AppDataFolder());
}

void DRUI::ShutDownEngine()
{
    EndProbes();
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
    EndProbes();
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
    ShowPage(m_sourceKind == kSourceBluRay ? kNavigationPage : kStartPage);
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
    m_totalLabel->setText(QLatin1Char(' ') + FormatTime(m_durationSec));
    m_currentPath.clear();
    StopBtn();
}

void DRUI::OnEngineEnded(bool unplayable)
{
    m_refreshTimer->stop();
    EndOfPlayback();
    if (unplayable) {
        ShowMessageBox(this, GetText("Messages/MSG0503"));
    }
}

void DRUI::OnEngineFailedToStart()
{
    m_refreshTimer->stop();
    EndOfPlayback();
    ShowMessageBox(this, GetText("Messages/MSG0501"));
}

void DRUI::RecordRecentPath(const QString &path)
{
    if (m_recentFiles.Record(path, RecentFilePath())) {
        FillRecentMenu();
    }
}

void DRUI::MarkPlayingRow()
{
    const int rows = std::min<int>(m_playListTable->rowCount(), m_playList.size());
    for (int row = 0; row < rows; ++row) {
        QTableWidgetItem *item = m_playListTable->item(row, 0);
        if (item == nullptr) {
            continue;
        }
        if (m_playList[row].strPath == m_pathToPlay) {
            m_playListTable->selectRow(row);
            m_playListTable->setFocus();
            item->setIcon(QIcon(QString::fromLatin1(Images::kPlayStatus)));
        } else {
            item->setIcon(QIcon());
        }
    }
}
