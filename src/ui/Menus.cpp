#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "look/Look.h"
#include "look/StyleSheets.h"
#include "ui/CommandTable.h"
#include "ui/MenuData.h"
#include "util/TextConversion.h"

#include <QAction>
#include <QBoxLayout>
#include <QKeySequence>
#include <QMenu>
#include <QPushButton>

namespace {

constexpr int kMenuButtonWidth = 100;
constexpr int kMenuButtonMinimumWidth = 80;
constexpr int kVolumeStep = 5;
// The small steps people expect beside the one-minute jumps.
constexpr int kShortStepSeconds = 5;
constexpr int kLongStepSeconds = 10;

const QSize kHalfSize(500, 340);
const QSize kNormalSize(1000, 680);
const QSize kLargestDoubleSize(2000, 1360);

QAction *AddEntry(QMenu *menu, const QString &text, const QVariant &data)
{
    auto *action = new QAction(text, menu);
    action->setData(data);
    menu->addAction(action);
    return action;
}

} // namespace

const std::vector<Command> &DRUI::CommandTable()
{
    using M = MenuId;
    namespace D = MenuData;
    static const std::vector<Command> commands = {
        {M::File, D::kOpenFile, "MainWnd/OpenFile", true, true, "Ctrl+O",
         [](DRUI &w) { w.btnOpenFile(); }},
        {M::File, D::kOpenDisc, "MainWnd/OpenDisc", true, true, nullptr,
         [](DRUI &w) { w.btnLoadBDPath(); }},
        {M::File, D::kRecentFiles, "MainWnd/RecentFiles", false, true, nullptr, nullptr},
        {M::File, D::kSavePlayList, "MainWnd/SavePlayList", true, true, nullptr,
         [](DRUI &w) { w.SavePlayList(); }},
        {M::File, D::kEject, "MainWnd/Eject", false, true, nullptr,
         [](DRUI &w) { w.StopPlaybackAndProbes(); }},
        {M::File, D::kClose, "MainWnd/Close", false, true, "Ctrl+Q",
         [](DRUI &w) { w.btnCloseSlot(); }},

        {M::Controls, D::kPlay, "MainWnd/Play", false, true, "Space",
         [](DRUI &w) { w.PlayOrPause(); }},
        {M::Controls, D::kStop, "MainWnd/Stop", false, true, nullptr,
         [](DRUI &w) { w.StopPlaybackAndProbes(); }},
        {M::Controls, D::kPrevious, "MainWnd/Previous", false, false, "<",
         [](DRUI &w) { w.PlayPre(); }},
        {M::Controls, D::kNext, "MainWnd/Next", false, false, ">", [](DRUI &w) { w.PlayNext(); }},
        {M::Controls, D::kForward, "MainWnd/Forward", false, false, "Right",
         [](DRUI &w) { w.m_playback->Jump(true); }},
        {M::Controls, D::kBackward, "MainWnd/Backward", false, false, "Left",
         [](DRUI &w) { w.m_playback->Jump(false); }},
        {M::Controls, D::kStartOver, "MainWnd/StartOver", false, false, "Home",
         [](DRUI &w) { w.m_playback->StartOver(); }},
        {M::Controls, D::kSlower, "MainWnd/Slower", false, true, "[",
         [](DRUI &w) { w.m_playback->ChangeSpeed(-1); }},
        {M::Controls, D::kFaster, "MainWnd/Faster", false, true, "]",
         [](DRUI &w) { w.m_playback->ChangeSpeed(1); }},
        {M::Controls, D::kNormalSpeed, "MainWnd/NormalSpeed", false, true, "Backspace",
         [](DRUI &w) { w.m_playback->ChangeSpeed(0); }},
        {M::Controls, D::kVolumeUp, "MainWnd/VolumeUp", false, true, "Up",
         [](DRUI &w) { w.m_playback->StepVolume(kVolumeStep); }},
        {M::Controls, D::kVolumeDown, "MainWnd/VolumeDown", false, true, "Down",
         [](DRUI &w) { w.m_playback->StepVolume(-kVolumeStep); }},
        {M::Controls, D::kNavigation, "MainWnd/NavigationPanel", false, false, "P",
         [](DRUI &w) { w.Navigation(); }},
        {M::Controls, D::kTitle, "MainWnd/Title", false, false, nullptr, nullptr},
        {M::Controls, D::kChapter, "MainWnd/Chapter", false, false, nullptr, nullptr},
        {M::Controls, D::kEpisodes, "MainWnd/Episodes", false, false, nullptr, nullptr},
        {M::Controls, D::kFullScreen, "MainWnd/FullScreen", false, false, "F; F11",
         [](DRUI &w) { w.FullScreenBtn(); }},

        {M::Video, D::kHalfSize, "MainWnd/HalfSize", false, false, nullptr,
         [](DRUI &w) { w.ResizeWithinScreen(kHalfSize); }},
        {M::Video, D::kNormalSize, "MainWnd/NormalSize", false, false, nullptr,
         [](DRUI &w) { w.ResizeWithinScreen(kNormalSize); }},
        {M::Video, D::kDoubleSize, "MainWnd/DoubleSize", false, false, nullptr,
         [](DRUI &w) { w.ResizeWithinScreen(kLargestDoubleSize); }},
        {M::Video, D::kFit2Screen, "MainWnd/Fit2Screen", false, false, nullptr,
         [](DRUI &w) { w.setWindowState(Qt::WindowMaximized); }},
        {M::Video, D::kVideoTrack, "MainWnd/VideoTrack", false, false, nullptr, nullptr},
        {M::Video, D::kSubtitleTrack, "MainWnd/SubtitleTrack", false, false, nullptr, nullptr},
        {M::Video, D::kNextSubtitleTrack, "MainWnd/NextSubtitleTrack", false, true, "V",
         [](DRUI &w) { w.StepTrack(w.m_subtitleTrackMenu); }},
        {M::Video, D::kLoadSubtitle, "MainWnd/LoadSubtitle", true, true, nullptr,
         [](DRUI &w) { w.ChooseSubtitleFile(); }},
        {M::Video, D::kSubtitleDelayDown, "MainWnd/SubtitleDelayDown", false, true, "Z",
         [](DRUI &w) { w.m_playback->ShiftSubtitleDelay(-1); }},
        {M::Video, D::kSubtitleDelayUp, "MainWnd/SubtitleDelayUp", false, true, "X",
         [](DRUI &w) { w.m_playback->ShiftSubtitleDelay(1); }},
        {M::Video, D::kAspectRatio, "MainWnd/AspectRatio", false, true, nullptr, nullptr},
        {M::Video, D::kNextAspect, "MainWnd/NextAspect", false, true, "A",
         [](DRUI &w) { w.m_playback->NextAspect(); }},
        {M::Video, D::kStayOnTop, "MainWnd/StayOnTop", false, true, "T",
         [](DRUI &w) { w.StayOnTop(w.m_stayOnTopAction->isChecked()); }},

        {M::Audio, D::kAudioTrack, "MainWnd/AudioTrack", false, false, nullptr, nullptr},
        {M::Audio, D::kNextAudioTrack, "MainWnd/NextAudioTrack", false, true, "B",
         [](DRUI &w) { w.StepTrack(w.m_audioTrackMenu); }},
        {M::Audio, D::kAudioChannel, "MainWnd/AudioChannel", false, false, nullptr, nullptr},
        {M::Audio, D::kMute, "MainWnd/Muted", false, true, "M", [](DRUI &w) { w.VolumeBtn(); }},
        {M::Audio, D::kAudioDelayDown, "MainWnd/AudioDelayDown", false, true, "-",
         [](DRUI &w) { w.m_playback->ShiftAudioDelay(-1); }},
        {M::Audio, D::kAudioDelayUp, "MainWnd/AudioDelayUp", false, true, "+",
         [](DRUI &w) { w.m_playback->ShiftAudioDelay(1); }},

        {M::Tools, D::kPlayList, "MainWnd/PlayList", true, true, nullptr,
         [](DRUI &w) { w.m_playListTable->setVisible(w.m_playListTable->isHidden()); }},
        {M::Tools, D::kPreferences, "MainWnd/Preferences", true, true, nullptr,
         [](DRUI &w) { w.OpenPreferences(); }},
        {M::Tools, D::kSnapshot, "MainWnd/Snapshot", false, false, "S",
         [](DRUI &w) { w.Snapshot(); }},

        {M::Help, D::kHelp, "MainWnd/Help", false, true, nullptr, [](DRUI &w) { w.btnHelpSlot(); }},
        {M::Help, D::kSupport, "MainWnd/Support", false, true, nullptr,
         [](DRUI &w) { w.btnSupportSlot(); }},
        {M::Help, D::kAbout, "MainWnd/About", true, true, nullptr, [](DRUI &w) { w.ShowAbout(); }},
        {M::Help, D::kLanguage, "MainWnd/Language", false, true, nullptr, nullptr},

        {M::None, D::kShortStepForward, nullptr, false, true, "Shift+Right",
         [](DRUI &w) { w.m_playback->SeekBy(kShortStepSeconds); }},
        {M::None, D::kShortStepBack, nullptr, false, true, "Shift+Left",
         [](DRUI &w) { w.m_playback->SeekBy(-kShortStepSeconds); }},
        {M::None, D::kLongStepForward, nullptr, false, true, "Ctrl+Right",
         [](DRUI &w) { w.m_playback->SeekBy(kLongStepSeconds); }},
        {M::None, D::kLongStepBack, nullptr, false, true, "Ctrl+Left",
         [](DRUI &w) { w.m_playback->SeekBy(-kLongStepSeconds); }},
        // Also after playback has ended in full screen.
        {M::None, D::kLeaveFullScreen, nullptr, false, true, "Escape",
         [](DRUI &w) {
             if (w.m_isFullScreen) {
                 w.LeaveFullScreen();
             }
         }},
    };
    return commands;
}

void DRUI::BuildMenuButton(MenuId menu, QBoxLayout *row)
{
    static const char *const kTextKeys[] = {"MainWnd/File",  "MainWnd/Controls", "MainWnd/Video",
                                            "MainWnd/Audio", "MainWnd/Tools",    "MainWnd/Help"};
    auto *button = new QPushButton(GetText(kTextKeys[static_cast<int>(menu)]));
    auto *popup = new QMenu;
    m_builtMenus.push_back(popup);
    button->setMenu(popup);
    BuildMenu(menu, popup);
    // 100 pixels each while the window has room; narrower, down to a sixth of a half-size
    // window, when it has not.
    button->setFixedHeight(20);
    button->setMinimumWidth(kMenuButtonMinimumWidth);
    button->setMaximumWidth(kMenuButtonWidth);
    row->addWidget(button, 1);
    button->setFont(CalibriFont(11));
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(StyleSheets::MenuButton());
}

void DRUI::BuildMenu(MenuId menu, QMenu *popup)
{
    for (const Command &command : CommandTable()) {
        if (command.menu != menu) {
            continue;
        }
        const QString text = command.textKey == nullptr ? QString() : GetText(command.textKey);
        QAction *action =
            AddEntry(popup, command.dotted ? text + QStringLiteral("...") : text, command.id);
        action->setEnabled(command.enabledAtStart);
        if (command.keys != nullptr) {
            action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(command.keys)));
        }
        if (command.run != nullptr) {
            connect(action, &QAction::triggered, this, [this, run = command.run] { run(*this); });
        } else {
            auto *submenu = new QMenu(this);
            m_builtMenus.push_back(submenu);
            action->setMenu(submenu);
        }
        NameEntry(command.id, action);
    }
    switch (menu) {
    case MenuId::File: m_fileMenu = popup; break;
    case MenuId::Controls: m_controlsMenu = popup; break;
    case MenuId::Video: m_videoMenu = popup; break;
    case MenuId::Audio: m_audioMenu = popup; break;
    case MenuId::Tools: m_toolsMenu = popup; break;
    case MenuId::Help: m_helpMenu = popup; break;
    case MenuId::None: break;
    }
}

void DRUI::NameEntry(const QString &id, QAction *action)
{
    namespace D = MenuData;
    QMenu *submenu = action->menu();
    if (id == D::kPlay) {
        m_playAction = action;
    } else if (id == D::kMute) {
        m_muteAction = action;
        m_muteAction->setCheckable(true);
        m_muteAction->setChecked(m_playback->IsMuted());
    } else if (id == D::kStayOnTop) {
        m_stayOnTopAction = action;
        m_stayOnTopAction->setCheckable(true);
        m_stayOnTopAction->setChecked(windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    } else if (id == D::kSnapshot) {
        m_snapshotAction = action;
    } else if (id == D::kRecentFiles) {
        m_recentFilesAction = action;
        m_recentMenu = submenu;
    } else if (id == D::kTitle || id == D::kChapter || id == D::kEpisodes) {
        (id == D::kTitle ? m_titleMenu : id == D::kChapter ? m_chapterMenu : m_episodeMenu) = submenu;
        if (id == D::kEpisodes) {
            // Shown for a series disc only.
            m_episodesAction = action;
            action->setVisible(false);
        }
        submenu->setWindowFlags(submenu->windowFlags() | Qt::FramelessWindowHint);
        submenu->setAttribute(Qt::WA_TranslucentBackground);
        submenu->setStyleSheet(StyleSheets::PopupMenu());
    } else if (id == D::kVideoTrack) {
        m_videoTrackMenu = submenu;
        AddEntry(submenu, QStringLiteral("Disable"), 0);
        QAction *first = AddEntry(submenu, GetText("MainWnd/Video") + QStringLiteral(" 1"), 1);
        first->setCheckable(true);
        first->setChecked(true);
    } else if (id == D::kSubtitleTrack) {
        m_subtitleTrackMenu = submenu;
    } else if (id == D::kAudioTrack) {
        m_audioTrackMenu = submenu;
    } else if (id == D::kAspectRatio) {
        m_aspectMenu = submenu;
        // In the order of the owner of playback's choices.
        for (const auto &[textKey, data] : {std::pair{"MainWnd/AspectAuto", D::kAspectAuto},
                                            {"MainWnd/Aspect4To3", D::kAspect4To3},
                                            {"MainWnd/Aspect16To9", D::kAspect16To9},
                                            {"MainWnd/Aspect235", D::kAspect235}}) {
            AddEntry(submenu, GetText(textKey), data);
        }
    } else if (id == D::kAudioChannel) {
        m_audioChannelMenu = submenu;
        for (const auto &[textKey, data] : {std::pair{"MainWnd/Stereo", D::kStereo},
                                            {"MainWnd/Left", D::kLeft},
                                            {"MainWnd/Right", D::kRight}}) {
            AddEntry(submenu, GetText(textKey), data);
        }
    } else if (id == D::kLanguage) {
        FillLanguageMenu(submenu);
    }
}

void DRUI::BuildMenus(QBoxLayout *row)
{
    for (const MenuId menu : {MenuId::File, MenuId::Controls, MenuId::Video, MenuId::Audio,
                              MenuId::Tools, MenuId::Help}) {
        BuildMenuButton(menu, row);
    }
    // The keys without an entry live in a menu that is never shown.
    auto *keysOnly = new QMenu;
    m_builtMenus.push_back(keysOnly);
    BuildMenu(MenuId::None, keysOnly);
    m_recentFiles.Load(RecentFilePath());
    FillRecentMenu();
    RenderAdjustments();
    ConnectTrackMenus();
    connect(m_recentMenu, &QMenu::triggered, this, [this](QAction *entry) {
        const QString data = entry->data().toString();
        if (data == MenuData::kClearMenu) {
            m_recentFiles.Clear(RecentFilePath());
            m_recentMenu->clear();
            return;
        }
        // A recent entry: its data is the path.
        StopBtn();
        m_whatPlays->OpenSources({data});
    });
}

void DRUI::FillLanguageMenu(QMenu *languageMenu)
{
    const CLanguageManager &languages = CLanguageManager::Instance();
    const QString current = languages.GetCurrentLanguage();
    for (const LanguageEntry &entry : languages.GetLanguageList()) {
        QAction *choice = AddEntry(languageMenu, entry.display, entry.name);
        if (entry.name == current) {
            choice->setIcon(QIcon(QString::fromLatin1(Images::kDot)));
            languageMenu->setDefaultAction(choice);
        } else {
            choice->setIcon(QIcon());
        }
    }
    connect(languageMenu, &QMenu::triggered, this,
            [this](QAction *choice) { SwitchLanguage(choice->data().toString()); });
}

void DRUI::FillRecentMenu()
{
    m_recentMenu->clear();
    for (const QString &path : m_recentFiles.Paths()) {
        AddEntry(m_recentMenu, MenuEntryText(path), path);
    }
    AddEntry(m_recentMenu, GetText("MainWnd/ClearMenu"), MenuData::kClearMenu);
}
