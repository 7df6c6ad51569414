#pragma once

#include "dialogs/PlayListTable.h"
#include "disc/MoviePlaylistReader.h"
#include "playing/PlayListInfo.h"
#include "playing/Playback.h"
#include "playing/WhatPlays.h"
#include "ui/BackgroundPicture.h"
#include "ui/CommandTable.h"
#include "ui/RecentFileList.h"
#include "ui/RememberedSettings.h"

#include <QMainWindow>
#include <QString>
#include <QVector>

#include <functional>
#include <optional>
#include <vector>

class MediaControls;
class QAction;
class QBoxLayout;
class QLabel;
class QMenu;
class QPushButton;
class QSlider;
class QStackedLayout;
class QTimer;
class QVBoxLayout;
class QWidget;

// The player's main window: the widgets and the menus. It calls the verbs of the owners of what
// plays and of playback and draws what they signal; it keeps no copy of their state.
class DRUI : public QMainWindow
{
    Q_OBJECT

public:
    enum Page
    {
        kStartPage = 0,
        kNavigationPage = 1,
        kVideoPage = 2,
    };

    explicit DRUI(QWidget *parent = nullptr, Qt::WindowFlags flags = {});
    ~DRUI() override;

    // Builds (or, after a language switch, rebuilds) the whole window content, makes sure the
    // application data folder exists and empties the play list.
    void SetUpWindow();

    // Opens what the desktop or a later copy of the player handed over, as the File menu would:
    // the files, else the first folder or disc image as a disc. A path that does not exist only
    // gets a message. Waits while a dialog is still open. Raises the window.
    void OpenFromDesktop(const QStringList &paths);
    // Offers the desktop's media controls (MPRIS) on the session bus; without a bus the player
    // runs as it does anyway.
    void PublishMediaControls();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

public slots:
    void BDMenuOperate(QAction *action);
    void PlayPre();
    void PlayNext();
    // The play button and Space: pause or go on with what plays, else start what is chosen.
    void PlayOrPause();
    void Navigation();
    void Snapshot();
    void btnMinSlot();
    void btnCloseSlot();
    void btnOpenUrl(const QString &address);
    void btnHelpSlot();
    void btnSupportSlot();
    void btnAboutSlot();
    void btnOpenFile();
    void btnLoadBDPath();
    void btnOpenSnapshotFolder();
    void StopBtn();
    // Stop as the user asks for it: also ends the duration probes still running.
    void StopPlaybackAndProbes();
    void FullScreenBtn();
    void VolumeBtn();
    void SliderSeek(int value);
    void SliderPress();
    void SliderRelease();
    void SliderMouseLButtonPress(QObject *watched, QEvent *event);
    void VolumeSliderSeek(int value);
    void PlayListItemDoubleClick(int row, int column);

private:
    friend class DruiTestAccess;

    // Window content (ui/WindowContent.cpp)
    void BuildWindowContent();
    QWidget *BuildStartPage();
    QWidget *BuildNavigationPage();
    QWidget *BuildVideoPage();
    QLabel *BuildControlBar();
    QWidget *BuildButtonRow();

    // Menus and keys (ui/Menus.cpp, ui/MenuHandlers.cpp): one table of commands, each with its
    // entry, keys and handler.
    static const std::vector<Command> &CommandTable();
    void BuildMenus(QBoxLayout *row);
    void BuildMenuButton(MenuId menu, QBoxLayout *row);
    void BuildMenu(MenuId menu, QMenu *popup);
    // Keeps the entries and submenus the window fills or ticks later.
    void NameEntry(const QString &id, QAction *action);
    void FillLanguageMenu(QMenu *languageMenu);
    void SwitchLanguage(const QString &language);
    // The track, aspect and channel submenus, whose entries the window fills or ticks.
    void ConnectTrackMenus();
    // A chapter entry: sought in what plays, else the main title starts there.
    void PickChapter(qint64 startMs);
    void ChooseSubtitleFile();
    void FillRecentMenu();
    void LeaveFullScreen();
    // In full screen: a moving pointer brings the control bar and clock back for a while.
    void ShowControlsForAWhile();
    // Full screen: the bar across the bottom of the picture, over it.
    void PlaceFloatingControlBar();
    void FitOnScreenSoon();
    // The control bar's share of the panel's height, beside the menu strip's 1 and the middle's 60.
    static constexpr int kControlBarStretch = 10;
    void HideControlsAndPointer();

    // Playback (ui/PlaybackView.cpp, ui/Transport.cpp, ui/Tracks.cpp): the owner of playback
    // decides, the window draws what it says.
    void ConnectPlayback();
    void RenderPlaybackState(EngineSession::State state);
    void RenderClock();
    void RenderMedium();
    void RenderVolume();
    void RenderAdjustments();
    // The track menus once the engine's stream lists are complete.
    void FillTrackMenus(bool replaced);
    // Ticks the entry whose stream the engine says it shows.
    void TickTrack(QMenu *menu, int streamId, const std::function<int(int)> &streamIdOf);
    // Subtitle menu entries of loaded files carry this plus the file's number.
    static constexpr int kSubtitleFileEntry = 1000;
    void StayOnTop(bool onTop);
    void ShowAbout();
    // Keys beyond the menus' own (ui/KeyShortcuts.cpp)
    void OpenPreferences();
    void SaveRememberedSettings();
    void RecordRecentPath(const QString &path);
    void MarkPlayingRow();
    // Where a chooser opens: where it was last used, else the current folder.
    QString ChooserStartFolder(const QString &remembered) const;
    // Resizes the window to the wanted size, or less where the screen it is on has less room,
    // frame included, and keeps it on that screen.
    void ResizeWithinScreen(const QSize &wanted);

    // Sources and play list (ui/Sources.cpp, ui/TitleMenus.cpp, ui/PlayListRows.cpp): the owner
    // of what plays decides, the window shows it.
    void ConnectWhatPlays();
    // Loads a subtitle file into the medium that plays, shows it and ticks its menu entry.
    void LoadSubtitleFrom(const QString &path);
    // Picks the entry after the ticked one of a track menu, and says which on the picture.
    void StepTrack(QMenu *menu);
    void OpenDiscFolder(const QString &path);
    void BuildDvdMenus();
    void AddPlayListRows(const QVector<PLAY_LIST_INFO> &entries);
    // New rows of the list; the engine may have started on one of them already.
    void ShowAddedPlayListRows(const QVector<PLAY_LIST_INFO> &entries);
    void ConnectPlayListTable();
    // Draws the whole list again, after rows went or moved.
    void ShowPlayList();
    void DeleteSelectedPlayListRows();
    void MovePlayListRow(int from, int to);
    void SavePlayList();
    void ShowMeasuredDuration(int row, const PLAY_LIST_INFO &entry);
    void RenderBusy(bool busy);
    void ShowScannedDisc(const ScannedDisc &disc);
    void BuildTitleMenus(const QVector<PLAY_LIST_INFO> &titles);
    // The Episodes entries of the disc menu and the Controls menu, shown for a series disc only;
    // after BuildTitleMenus, which drops the last disc's submenus.
    void BuildEpisodeMenus(const QVector<Episode> &episodes);
    QMenu *NewDiscSubmenu();
    // A chapter or title menu lists this many entries itself and the rest in submenus of as
    // many. The disc menu's entries, 20-point bold, take 40 pixels each: 25 are 1000 pixels, a
    // screenful of the common 1080-line screen (the Controls menu's take 22). A title has at
    // most 999 chapters and a disc 2000 titles, so a chapter menu holds at most 25 entries and
    // 39 submenus, a title menu 25 and 79.
    static constexpr int kEntriesPerMenu = 25;
    // Adds the entries to a chapter or title menu: the first kEntriesPerMenu, then a submenu
    // with the menu's look for each kEntriesPerMenu more, named by the text of `rangeKey`
    // ("Chapters 26–50"). Each entry keeps its data and handler.
    void AddEntriesByScreenful(QMenu *menu, const QList<QAction *> &entries, const char *rangeKey);
    // Empties a chapter or title menu, its submenus and the entries they own going too.
    void ClearEntryMenu(QMenu *menu);
    // Numbered entries that pick the chapters starting at these times.
    QList<QAction *> ChapterEntries(const QVector<qint64> &startsMs, QObject *parent);
    void FillChapterMenu(const QVector<qint64> &startsMs);
    // What the window shows once nothing plays: the disc's page with the main title's chapters
    // after a Blu-ray title; else the start page, with no titles or chapters of what ended.
    void ShowPageAfterPlayback();
    // The slider's handle is under the point: a press there starts a drag, not a seek.
    bool IsOnSeekHandle(const QPoint &point) const;
    // In full screen the bar stays while the pointer is on it or a slider is held.
    bool ControlBarInUse() const;
    void ShowPage(int page);
    // Shows the window normally if it was minimised and brings it to the front.
    void BringToFront();
    int CurrentPage() const;

    // Widgets, rebuilt with the content
    QWidget *centralWidget = nullptr;
    QVBoxLayout *m_rootLayout = nullptr;
    QStackedLayout *m_outerStack = nullptr;
    QWidget *m_mainPanel = nullptr;
    QLabel *m_menuStrip = nullptr;
    QStackedLayout *m_pageStack = nullptr;
    QLabel *m_videoSurface = nullptr;
    QLabel *m_startTitleLabel = nullptr;
    QLabel *m_discThumbnailLabel = nullptr;
    QLabel *m_discNameLabel = nullptr;
    QMenu *m_discMenu = nullptr;
    QAction *m_discEpisodesAction = nullptr;
    QAction *m_discChapterAction = nullptr;
    QAction *m_discAudioAction = nullptr;
    QAction *m_discSubtitleAction = nullptr;
    QAction *m_discOtherTitlesAction = nullptr;
    QLabel *m_controlBar = nullptr;
    QLabel *m_elapsedLabel = nullptr;
    QLabel *m_totalLabel = nullptr;
    QSlider *m_seekSlider = nullptr;
    QLabel *m_fileNameLabel = nullptr;
    QPushButton *m_playButton = nullptr;
    QPushButton *m_volumeButton = nullptr;
    QSlider *m_volumeSlider = nullptr;
    PlayListTable *m_playListTable = nullptr;

    // Menus, rebuilt with the content
    QMenu *m_fileMenu = nullptr;
    QMenu *m_controlsMenu = nullptr;
    QAction *m_playAction = nullptr;
    QMenu *m_titleMenu = nullptr;
    QMenu *m_chapterMenu = nullptr;
    QAction *m_episodesAction = nullptr;
    QMenu *m_episodeMenu = nullptr;
    QMenu *m_videoMenu = nullptr;
    QMenu *m_videoTrackMenu = nullptr;
    QMenu *m_subtitleTrackMenu = nullptr;
    QMenu *m_audioMenu = nullptr;
    QMenu *m_audioTrackMenu = nullptr;
    QMenu *m_audioChannelMenu = nullptr;
    QAction *m_muteAction = nullptr;
    QMenu *m_aspectMenu = nullptr;
    QAction *m_stayOnTopAction = nullptr;
    QMenu *m_toolsMenu = nullptr;
    QAction *m_snapshotAction = nullptr;
    QAction *m_recentFilesAction = nullptr;
    QMenu *m_recentMenu = nullptr;
    QMenu *m_helpMenu = nullptr;
    // Every menu of the current build: pop-ups have no parent widget and submenus outlive the
    // content, so the window drops them itself on a rebuild.
    std::vector<QMenu *> m_builtMenus;

    // What plays and what plays next: the source, a disc's titles, the play list, the probes.
    WhatPlays *m_whatPlays = nullptr;
    // Playback: the engine, its poll and every fact of the medium that plays.
    Playback *m_playback = nullptr;
    // The desktop's media controls, once offered.
    MediaControls *m_mediaControls = nullptr;
    QTimer *m_fullScreenControlsTimer = nullptr;
    // The start page's background, decoded while the rest of the window is built.
    std::optional<BackgroundPicture> m_background;
    bool m_isFullScreen = false;
    bool m_fittedOnScreen = false;
    int m_floatingBarHeight = 0; // the bar's height in the window, kept in full screen
    // Position answers since the slider last followed the clock.
    int m_positionAnswerCount = 0;

    // The disc menu's submenus of the last scan, replaced by the next one.
    std::vector<QMenu *> m_discSubmenus;
    QAction *m_discMenuCurrentSubtitle = nullptr;
    QAction *m_discMenuCurrentAudio = nullptr;

    // Snapshots
    QString m_snapshotFolder;
    int m_snapshotFormatIndex = 0;

    // Lists
    RecentFileList m_recentFiles;
    // The user's choices kept between runs: volume, the choosers' folders, the window's place.
    RememberedSettings m_settings;
    QString m_appDataFolder;
};
