#pragma once

#include "dialogs/MessageBox.h"
#include "disc/DurationProbe.h"
#include "ui/DRUI.h"

#include <QTest>

// Access to the private parts of the main window and the message window, for the widget
// tests only. Each accessor hands back the member itself, so a test sees the live object.
class DruiTestAccess
{
public:
    // Widgets
    static QLabel *MenuStrip(DRUI &window) { return window.m_menuStrip; }
    static QStackedLayout *PageStack(DRUI &window) { return window.m_pageStack; }
    static QSlider *SeekSlider(DRUI &window) { return window.m_seekSlider; }
    static QSlider *VolumeSlider(DRUI &window) { return window.m_volumeSlider; }
    static QLabel *ElapsedLabel(DRUI &window) { return window.m_elapsedLabel; }
    static QLabel *TotalLabel(DRUI &window) { return window.m_totalLabel; }
    static QLabel *FileNameLabel(DRUI &window) { return window.m_fileNameLabel; }
    static QLabel *DiscNameLabel(DRUI &window) { return window.m_discNameLabel; }
    static QTableWidget *PlayListTable(DRUI &window) { return window.m_playListTable; }

    // Menus
    static QMenu *FileMenu(DRUI &window) { return window.m_fileMenu; }
    static QMenu *RecentMenu(DRUI &window) { return window.m_recentMenu; }
    static QMenu *ControlsMenu(DRUI &window) { return window.m_controlsMenu; }
    static QMenu *TitleMenu(DRUI &window) { return window.m_titleMenu; }
    static QMenu *ChapterMenu(DRUI &window) { return window.m_chapterMenu; }
    static QMenu *VideoMenu(DRUI &window) { return window.m_videoMenu; }
    static QMenu *VideoTrackMenu(DRUI &window) { return window.m_videoTrackMenu; }
    static QMenu *AudioMenu(DRUI &window) { return window.m_audioMenu; }
    static QMenu *AudioChannelMenu(DRUI &window) { return window.m_audioChannelMenu; }
    static QMenu *ToolsMenu(DRUI &window) { return window.m_toolsMenu; }
    static QAction *SnapshotAction(DRUI &window) { return window.m_snapshotAction; }
    static QMenu *HelpMenu(DRUI &window) { return window.m_helpMenu; }

    static QLabel *VideoSurface(DRUI &window) { return window.m_videoSurface; }
    static QMenu *AudioTrackMenu(DRUI &window) { return window.m_audioTrackMenu; }
    static QMenu *SubtitleTrackMenu(DRUI &window) { return window.m_subtitleTrackMenu; }
    static QAction *PlayAction(DRUI &window) { return window.m_playAction; }
    // What Subtitle > Load File does once its chooser returned the path.
    static void LoadSubtitleFrom(DRUI &window, const QString &path)
    {
        window.LoadSubtitleFrom(path);
    }

    // Sources
    // Opens as the File menu does and returns once the open has settled: the first file started
    // and every new row measured (or the probes given up).
    static void OpenFiles(DRUI &window, const QStringList &paths)
    {
        window.OpenFiles(paths);
        const bool settled = QTest::qWaitFor(
            [&window] {
                return window.m_whatPlays->m_startWhenMeasured.isEmpty() &&
                       window.m_whatPlays->m_probes->IsIdle();
            },
            40000);
        if (!settled) {
            qWarning("the open did not settle");
        }
    }
    static void StartOpeningFiles(DRUI &window, const QStringList &paths)
    {
        window.OpenFiles(paths);
    }
    static bool ProbesIdle(DRUI &window) { return window.m_whatPlays->m_probes->IsIdle(); }
    // Opens as the File menu does and returns once the disc has been read.
    static void OpenDiscFolder(DRUI &window, const QString &path)
    {
        window.OpenDiscFolder(path);
        SettleDisc(window);
    }
    // Neither a disc scan nor the engine's title list is awaited.
    static bool SettledDisc(DRUI &window)
    {
        return window.m_whatPlays->m_scan == nullptr && window.m_whatPlays->m_titleQuery == nullptr;
    }
    // Waits until the disc scan and the engine's title list have come.
    static void SettleDisc(DRUI &window)
    {
        if (!QTest::qWaitFor([&window] { return SettledDisc(window); }, 20000)) {
            qWarning("the disc did not settle");
        }
    }
    static const QVector<PLAY_LIST_INFO> &PlayList(DRUI &window)
    {
        return window.m_whatPlays->PlayList();
    }
    static bool &PlayWholeList(DRUI &window) { return window.m_settings.playWholeList; }

    static QMenu *DiscMenu(DRUI &window) { return window.m_discMenu; }
    static QAction *DiscChapterAction(DRUI &window) { return window.m_discChapterAction; }
    static QAction *DiscAudioAction(DRUI &window) { return window.m_discAudioAction; }
    static QAction *DiscSubtitleAction(DRUI &window) { return window.m_discSubtitleAction; }
    static QAction *DiscOtherTitlesAction(DRUI &window) { return window.m_discOtherTitlesAction; }
    static QLabel *DiscThumbnailLabel(DRUI &window) { return window.m_discThumbnailLabel; }
    // The scan's count of each title of the disc.
    static std::map<QString, int> TitleNumbers(DRUI &window)
    {
        std::map<QString, int> numbers;
        for (const auto &[key, title] : window.m_whatPlays->m_titles) {
            numbers[key] = title.scanNumber;
        }
        return numbers;
    }
    static bool TitleChosen(DRUI &window) { return window.m_whatPlays->Current().titleChosen; }

    // Playback state
    static int &SourceKind(DRUI &window) { return window.m_whatPlays->m_source.kind; }
    static QString &PathToPlay(DRUI &window) { return window.m_whatPlays->m_source.path; }
    static QString &SourceKey(DRUI &window) { return window.m_whatPlays->m_source.titleKey; }
    static int &StartPos(DRUI &window) { return window.m_whatPlays->m_source.startSec; }
    static qint64 ElapsedMs(DRUI &window) { return window.m_engine->ClockMs(); }
    static qint64 &DurationSec(DRUI &window) { return window.m_whatPlays->m_source.durationSec; }
    static int EngineLengthSec(DRUI &window) { return window.m_engine->LengthSec(); }
    static bool IsPlaying(DRUI &window)
    {
        return window.m_engine->CurrentState() == EngineSession::State::Playing;
    }
    static bool IsStopped(DRUI &window) { return !window.m_engine->IsLive(); }
    // The engine has said that the medium plays.
    static bool MediumPlays(DRUI &window) { return window.m_engine->m_playbackStarted; }
    // The engine has answered where it is at least once.
    static bool EngineAnswered(DRUI &window) { return window.m_engine->m_positionAnswered; }
    static EngineSession *Session(DRUI &window) { return window.m_engine; }
    // The engine process; null when none runs.
    static QProcess *Engine(DRUI &window) { return window.m_engine->m_process; }
    static QTimer *RefreshTimer(DRUI &window) { return window.m_refreshTimer; }
    static std::map<QString, int> &AudioChoice(DRUI &window)
    {
        return window.m_whatPlays->m_audioChoice;
    }
    static std::map<QString, int> &SubtitleChoice(DRUI &window)
    {
        return window.m_whatPlays->m_subtitleChoice;
    }

    // Transport and sources
    static auto &Titles(DRUI &window) { return window.m_whatPlays->m_titles; }
    static bool IsMuted(DRUI &window) { return window.m_isMuted; }

    // Window events, snapshots and preferences
    static QLabel *ControlBar(DRUI &window) { return window.m_controlBar; }
    static bool IsFullScreen(DRUI &window) { return window.m_isFullScreen; }
    static QString &SnapshotFormat(DRUI &window) { return window.m_snapshotFormat; }
    static int &SnapshotFormatIndex(DRUI &window) { return window.m_snapshotFormatIndex; }
};

class MessageBoxTestAccess
{
public:
    static QLabel *MessageLabel(CMessageBox &box) { return box.m_pMessageLabel; }
};

#include "dialogs/PreferencesDialog.h"

// Access to the preferences dialog's private parts, for its tests.
class PreferencesTestAccess
{
public:
    static QLineEdit *FolderEdit(CProcessUI &dialog) { return dialog.m_pFolderEdit; }
    static QString Folder(CProcessUI &dialog) { return dialog.m_strFolder; }
};
