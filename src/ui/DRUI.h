#pragma once

#include "dialogs/PlayListInfo.h"
#include "disc/MoviePlaylistReader.h"
#include "engine/EngineLineReader.h"
#include "ui/RecentFileList.h"

#include <QMainWindow>
#include <QString>
#include <QVector>

#include <map>
#include <optional>
#include <vector>

class QAction;
class QBoxLayout;
class QLabel;
class QMenu;
class QProcess;
class QPushButton;
class QSlider;
class QStackedLayout;
class QTableWidget;
class QTimer;
class QVBoxLayout;
class QWidget;

// The player's main window. It holds the playback state, the widgets and the menus, and calls
// the plain cores (time text, language table, engine vocabulary, recent list) from its slots.
// Slots are implemented in the folder of the subsystem they belong to.
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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

public slots:
    void BDMenuOperate(QAction *action);
    void BDFileMenu(QAction *action);
    void BDControlsMenu(QAction *action);
    void BDVideoMenu(QAction *action);
    void BDAudioMenu(QAction *action);
    void BDToolMenu(QAction *action);
    void BDHelpMenu(QAction *action);
    void PlayPre();
    void PlayNext();
    void Navigation();
    void Snapshot();
    void DoRefreshGui();
    void btnMinSlot();
    void btnCloseSlot();
    void btnOpenUrl(const QString &address);
    void btnHelpSlot();
    void btnSupportSlot();
    void btnAboutSlot();
    void btnOpenFile();
    void btnLoadBDPath();
    void btnOpenSnapshotFolder();
    void VideoPlay();
    void StopBtn();
    void FullScreenBtn();
    void VolumeBtn();
    void MPlayerDataRecieve();
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

    // Menus (ui/Menus.cpp)
    void BuildMenuButton(int index, int x, QWidget *parent);
    void BuildFileMenu(QPushButton *button);
    void BuildControlsMenu(QPushButton *button);
    void BuildVideoMenu(QPushButton *button);
    void BuildAudioMenu(QPushButton *button);
    void BuildToolsMenu(QPushButton *button);
    void BuildHelpMenu(QPushButton *button);
    QMenu *NewPopupMenu(QPushButton *button);
    QMenu *NewSubmenu(QAction *entry);
    void FillRecentMenu();
    void LeaveFullScreen();
    QString RecentFilePath() const;

    // Engine (engine/)
    // False when the command could not be written (no engine, an ended one, too long).
    bool SendEngineCommand(const char *format, ...) Q_ATTRIBUTE_FORMAT_PRINTF(2, 3);
    void StartEngine();
    void ReleaseEngine();
    void ShutDownEngine();
    void PausePlayback();
    void ResumePlayback();
    void HandleEngineLine(const QByteArray &line);
    void OnEngineFinished(QProcess *engine);
    void OnEngineFailedToStart(QProcess *engine);
    void EndOfPlayback();
    void ApplyTrackChoicesAtVideoStart();
    void SaveSnapshot(const QByteArray &engineFile);
    void OpenPreferences();
    void RecordRecentPath(const QString &path);
    void MarkPlayingRow();
    void SetPlayButtonImage(const char *imagePath);
    void SetVolumeImage(bool muted);
    void SeekTo(int seconds);
    void Step(bool forward);
    void StepThroughChapters(bool forward);
    void StepThroughPlayList(bool forward);

    // Sources and play list (disc/, dialogs/)
    void OpenFiles(const QStringList &paths);
    void OpenDiscFolder(const QString &path);
    void PlayDvdFolder(const QString &path);
    void ShowNotRecognisedMessage();
    void InstallProbeTool();
    void AddToPlayList(const QVector<PLAY_LIST_INFO> &entries);
    void LoadBluRayTitles(const QString &discFolder);
    void BuildTitleMenus(const QVector<PLAY_LIST_INFO> &titles);
    QMenu *NewDiscSubmenu();
    void PlayCurrentTitle();
    void LearnEngineTitleNumbers(const QString &discFolder);
    std::optional<int> EngineTitleNumber(const QString &titleKey) const;
    bool IsChapterEntry(const QAction *action) const;
    bool IsTitleEntry(const QAction *action) const;
    void PlayPlayListEntry(const PLAY_LIST_INFO &entry);
    void SetPlayAction(const char *textKey, const QString &data);
    void ShowPage(int page);
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
    QTableWidget *m_playListTable = nullptr;

    // Menus, rebuilt with the content
    QMenu *m_fileMenu = nullptr;
    QMenu *m_controlsMenu = nullptr;
    QAction *m_playAction = nullptr;
    QMenu *m_titleMenu = nullptr;
    QMenu *m_chapterMenu = nullptr;
    QMenu *m_videoMenu = nullptr;
    QMenu *m_videoTrackMenu = nullptr;
    QMenu *m_subtitleTrackMenu = nullptr;
    QMenu *m_audioMenu = nullptr;
    QMenu *m_audioTrackMenu = nullptr;
    QMenu *m_audioChannelMenu = nullptr;
    QMenu *m_toolsMenu = nullptr;
    QAction *m_snapshotAction = nullptr;
    QAction *m_recentFilesAction = nullptr;
    QMenu *m_recentMenu = nullptr;
    QMenu *m_helpMenu = nullptr;
    // Every menu of the current build: pop-ups have no parent widget and submenus outlive the
    // content, so the window drops them itself on a rebuild.
    std::vector<QMenu *> m_builtMenus;

    // Playback state
    QProcess *m_engine = nullptr;
    EngineLineReader m_engineOutput;
    // While paused the engine's lines wait, read but not handled, until playback resumes.
    bool m_engineOutputHeld = false;
    // Answers and pictures asked of the current engine and not yet come. A medium's tags and
    // file name reach the engine's output too, so a line of the right shape counts only while
    // the player waits for one.
    int m_lengthAnswersDue = 0;
    int m_positionAnswersDue = 0;
    int m_snapshotsDue = 0;
    QTimer *m_refreshTimer = nullptr;
    QString m_pathToPlay;
    QString m_currentPath;
    QString m_sourceKey;
    int m_sourceKind = kSourceBluRay;
    qint64 m_durationSec = 0;
    int m_startPosSec = 0;
    bool m_isPlaying = false;
    bool m_isStopped = false;
    bool m_titleChosen = false;
    bool m_isMuted = false;
    bool m_isFullScreen = false;
    qint64 m_elapsedMs = 0;
    QString m_positionText;
    int m_positionAnswerCount = 0;
    int m_seekTargetSec = 0;
    int m_engineLengthSec = 0;
    int m_audioIndex = -1;
    int m_subtitleIndex = -1;
    int m_audioTrackCount = 0;
    int m_subtitleTrackCount = 0;

    // Per-title tables, keyed by title key
    std::map<QString, int> m_titleNumbers;
    std::map<QString, int> m_audioChoice;
    std::map<QString, int> m_subtitleChoice;
    std::map<QString, QVector<qint64>> m_chapterStarts;
    std::map<QString, QVector<PlayItemRecord>> m_titlePlayItems;
    std::map<QString, QVector<StreamRecord>> m_titleAudioStreams;
    std::map<QString, QVector<StreamRecord>> m_titleSubtitleStreams;
    std::map<QString, QString> m_titleDiscRoots;
    // The engine's own numbers of the scanned disc's titles, asked for at the first title pick.
    std::map<QString, int> m_engineTitleNumbers;
    bool m_engineTitleListAsked = false;
    // The disc menu's submenus of the last scan, replaced by the next one.
    std::vector<QMenu *> m_discSubmenus;
    QAction *m_discMenuCurrentSubtitle = nullptr;
    QAction *m_discMenuCurrentAudio = nullptr;

    // Snapshots
    QString m_snapshotFormat = QStringLiteral("JPG");
    QString m_snapshotFolder;
    int m_snapshotFormatIndex = 0;

    // Lists
    QVector<PLAY_LIST_INFO> m_playList;
    RecentFileList m_recentFiles;
    QString m_appDataFolder;
    // While a probe or the engine's title list is awaited, timers and the engine go on but no
    // new source may be opened (a drop is not held back the way clicks and keys are).
    bool m_waitingForHelperProgram = false;
};
