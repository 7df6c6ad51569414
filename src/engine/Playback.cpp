#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "dialogs/MessageBox.h"
#include "engine/EngineCommandLine.h"
#include "engine/EngineVocabulary.h"
#include "platform/AppDataFolder.h"
#include "platform/ChildProcess.h"
#include "platform/ExternalPrograms.h"
#include "ui/Look.h"
#include "ui/MenuData.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QTimer>

#include <cstdarg>
#include <cstdio>
#include <limits>

namespace {

constexpr int kRefreshIntervalMs = 500;
// An engine told to quit or killed gets this long to go before the window stops waiting.
constexpr int kEngineExitWaitMs = 2000;

} // namespace

bool DRUI::SendEngineCommand(const char *format, ...)
{
    if (m_engine == nullptr || m_engine->state() == QProcess::NotRunning) {
        // Commands to an engine that has ended are lost, as they would be on its closed pipe.
        // An engine still starting gets them once it runs.
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
    return m_engine->write(command, length) == length;
}

void DRUI::VideoPlay()
{
    if (m_pathToPlay.isEmpty() || !QFile::exists(m_pathToPlay)) {
        return;
    }
    if (m_pathToPlay == m_currentPath) {
        if (m_isPlaying) {
            PausePlayback();
        } else {
            ResumePlayback();
        }
        return;
    }
    m_currentPath = m_pathToPlay;
    ReleaseEngine();

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

    m_positionAnswerCount = 0;
    m_seekTargetSec = 0;
    m_isStopped = false;
    if (m_sourceKind != kSourceBluRay) {
        m_titleMenu->clear();
        m_chapterMenu->clear();
    }
    m_engineLengthSec = 0;

    RecordRecentPath(m_pathToPlay);
    m_audioTrackCount = 0;
    m_subtitleTrackCount = 0;
    m_elapsedMs = 0;

    const QList<QAction *> channels = m_audioChannelMenu->actions();
    for (int i = 0; i < channels.size(); ++i) {
        channels[i]->setCheckable(i == 0);
        channels[i]->setChecked(i == 0);
    }

    StartEngine();
    SetPlayButtonImage(Images::kPause);
    SetPlayAction("MainWnd/Pause", MenuData::kPause);
    m_isPlaying = true;
    SendEngineCommand(Engine::kVolumeAbsolute, m_isMuted ? 0 : m_volumeSlider->value());
    if (m_startPosSec > 0) {
        SendEngineCommand(Engine::kSeekAbsolute, m_startPosSec);
        m_elapsedMs = static_cast<qint64>(m_startPosSec) * 1000;
    }
    m_refreshTimer->start(kRefreshIntervalMs);
    MarkPlayingRow();
}

void DRUI::StartEngine()
{
    EngineLaunch launch;
    launch.windowId = static_cast<unsigned long long>(m_videoSurface->winId());
    launch.sourceKind = m_sourceKind;
    launch.titleChosen = m_titleChosen;
    launch.titleNumber = EngineTitleNumber(m_sourceKey);
    launch.path = QFileInfo(m_pathToPlay).absoluteFilePath();

    m_engineOutput.Clear();
    m_engineOutputHeld = false;
    m_lengthAnswersDue = 0;
    m_positionAnswersDue = 0;
    m_snapshotsDue = 0;
    m_engine = new QProcess;
    // The engine's screenshots land in its working folder: the per-user folder.
    m_engine->setWorkingDirectory(AppDataFolder());
    // Only standard output is read; what the engine says on standard error must not pile up.
    m_engine->setStandardErrorFile(QProcess::nullDevice());
    EndWithPlayer(*m_engine);
    connect(m_engine, &QProcess::readyReadStandardOutput, this, &DRUI::MPlayerDataRecieve);
    QProcess *engine = m_engine;
    connect(engine, &QProcess::finished, this, [this, engine] { OnEngineFinished(engine); });
    // Queued, so that the failure is handled after the launch has set up the playing state.
    connect(
        engine, &QProcess::errorOccurred, this,
        [this, guarded = QPointer<QProcess>(engine)](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart && guarded != nullptr) {
                OnEngineFailedToStart(guarded);
            }
        },
        Qt::QueuedConnection);
    m_engine->start(EngineProgram(), BuildEngineArguments(launch), QIODevice::ReadWrite);
}

void DRUI::ReleaseEngine()
{
    if (m_engine == nullptr) {
        return;
    }
    QProcess *engine = m_engine;
    m_engine = nullptr;
    engine->disconnect(this);
    if (engine->state() != QProcess::NotRunning) {
        engine->kill();
        engine->waitForFinished(kEngineExitWaitMs);
    }
    delete engine;
}

void DRUI::ShutDownEngine()
{
    if (m_engine == nullptr) {
        return;
    }
    m_refreshTimer->stop();
    SendEngineCommand(Engine::kQuit);
    m_isStopped = true;
    // Give the engine the chance to leave by itself before it is killed.
    if (m_engine->waitForBytesWritten(kEngineExitWaitMs)) {
        m_engine->waitForFinished(kEngineExitWaitMs);
    }
    ReleaseEngine();
}

void DRUI::PausePlayback()
{
    if (m_engine == nullptr) {
        return;
    }
    m_refreshTimer->stop();
    SendEngineCommand(Engine::kPause);
    m_engineOutputHeld = true;
    SetPlayButtonImage(Images::kPlay);
    m_isPlaying = false;
    SetPlayAction("MainWnd/Resume", MenuData::kResume);
}

void DRUI::ResumePlayback()
{
    if (m_engine == nullptr) {
        return;
    }
    // No command: the engine leaves its pause on the next poll, which is not marked to keep it.
    m_refreshTimer->start(kRefreshIntervalMs);
    // What the engine said meanwhile is handled, in order, with its next output.
    m_engineOutputHeld = false;
    SetPlayButtonImage(Images::kPause);
    m_isPlaying = true;
    SetPlayAction("MainWnd/Pause", MenuData::kPause);
}

void DRUI::SetPlayButtonImage(const char *imagePath)
{
    m_playButton->setIcon(QIcon(QString::fromLatin1(imagePath)));
}

void DRUI::SetPlayAction(const char *textKey, const QString &data)
{
    m_playAction->setText(GetText(textKey));
    m_playAction->setData(data);
}

void DRUI::StopBtn()
{
    if (m_engine != nullptr) {
        m_refreshTimer->stop();
        SendEngineCommand(Engine::kQuit);
        m_elapsedLabel->setText(QStringLiteral("00:00:00 "));
    }
    m_isStopped = true;
    m_fileNameLabel->clear();
    m_currentPath.clear();
    if (CurrentPage() == kVideoPage) {
        ShowPage(kStartPage);
    }
    m_seekSlider->setValue(0);
    m_seekSlider->setEnabled(false);
}

void DRUI::Navigation()
{
    if (m_engine != nullptr) {
        m_refreshTimer->stop();
        SendEngineCommand(Engine::kQuit);
        m_isStopped = true;
    }
    m_currentPath.clear();
    ShowPage(m_sourceKind == kSourceBluRay ? kNavigationPage : kStartPage);
}

void DRUI::btnCloseSlot()
{
    ShutDownEngine();
    close();
}

void DRUI::OnEngineFinished(QProcess *engine)
{
    if (engine != m_engine) {
        return;
    }
    // Read what the engine said last (a picture it reported, say). Playback ends here, with
    // the process: its exit line could as well have come from a medium's tags.
    if (m_isPlaying) {
        MPlayerDataRecieve();
    }
    m_snapshotsDue = 0;
    if (m_isPlaying || !m_currentPath.isEmpty() || !m_isStopped) {
        EndOfPlayback();
    }
}

void DRUI::OnEngineFailedToStart(QProcess *engine)
{
    if (engine != m_engine) {
        return;
    }
    EndOfPlayback();
    ReleaseEngine();
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
