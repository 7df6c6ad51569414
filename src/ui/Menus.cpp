#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "look/Look.h"
#include "ui/MenuData.h"
#include "look/StyleSheets.h"
#include "util/TextConversion.h"

#include <QAction>
#include <QBoxLayout>
#include <QKeySequence>
#include <QMenu>
#include <QPushButton>

namespace {

constexpr int kMenuButtonWidth = 100;
constexpr int kMenuButtonMinimumWidth = 80;

QString Dotted(const char *textKey)
{
    return GetText(textKey) + QStringLiteral("...");
}

QAction *AddEntry(QMenu *menu, const QString &text, const QVariant &data, bool enabled = true,
                  const char *shortcut = nullptr)
{
    auto *action = new QAction(text, menu);
    action->setData(data);
    action->setEnabled(enabled);
    if (shortcut != nullptr) {
        action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
    }
    menu->addAction(action);
    return action;
}

} // namespace

void DRUI::BuildMenuButton(int index, QBoxLayout *row)
{
    static const char *const kTextKeys[] = {"MainWnd/File",  "MainWnd/Controls", "MainWnd/Video",
                                            "MainWnd/Audio", "MainWnd/Tools",    "MainWnd/Help"};
    auto *button = new QPushButton(GetText(kTextKeys[index - 1]));
    switch (index) {
    case 1: BuildFileMenu(button); break;
    case 2: BuildControlsMenu(button); break;
    case 3: BuildVideoMenu(button); break;
    case 4: BuildAudioMenu(button); break;
    case 5: BuildToolsMenu(button); break;
    default: BuildHelpMenu(button); break;
    }
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

QMenu *DRUI::NewPopupMenu(QPushButton *button)
{
    auto *menu = new QMenu;
    m_builtMenus.push_back(menu);
    button->setMenu(menu);
    return menu;
}

QMenu *DRUI::NewSubmenu(QAction *entry)
{
    auto *submenu = new QMenu(this);
    m_builtMenus.push_back(submenu);
    entry->setMenu(submenu);
    return submenu;
}

void DRUI::BuildFileMenu(QPushButton *button)
{
    m_fileMenu = NewPopupMenu(button);
    AddEntry(m_fileMenu, Dotted("MainWnd/OpenFile"), MenuData::kOpenFile, true, "Ctrl+O");
    AddEntry(m_fileMenu, Dotted("MainWnd/OpenDisc"), MenuData::kOpenDisc);
    m_recentFilesAction =
        AddEntry(m_fileMenu, GetText("MainWnd/RecentFiles"), MenuData::kRecentFiles);
    AddEntry(m_fileMenu, Dotted("MainWnd/SavePlayList"), MenuData::kSavePlayList);
    AddEntry(m_fileMenu, GetText("MainWnd/Eject"), MenuData::kEject);
    AddEntry(m_fileMenu, GetText("MainWnd/Close"), MenuData::kClose, true, "Ctrl+Q");
    m_recentMenu = NewSubmenu(m_recentFilesAction);
    m_recentFiles.Load(RecentFilePath());
    FillRecentMenu();
    connect(m_fileMenu, &QMenu::triggered, this, &DRUI::BDFileMenu);
}

void DRUI::BuildControlsMenu(QPushButton *button)
{
    m_controlsMenu = NewPopupMenu(button);
    m_playAction =
        AddEntry(m_controlsMenu, GetText("MainWnd/Play"), MenuData::kPlay, true, "Space");
    AddEntry(m_controlsMenu, GetText("MainWnd/Stop"), MenuData::kStop);
    AddEntry(m_controlsMenu, GetText("MainWnd/Previous"), MenuData::kPrevious, false, "<");
    AddEntry(m_controlsMenu, GetText("MainWnd/Next"), MenuData::kNext, false, ">");
    AddEntry(m_controlsMenu, GetText("MainWnd/Forward"), MenuData::kForward, false, "Right");
    AddEntry(m_controlsMenu, GetText("MainWnd/Backward"), MenuData::kBackward, false, "Left");
    AddEntry(m_controlsMenu, GetText("MainWnd/StartOver"), MenuData::kStartOver, false, "Home");
    AddEntry(m_controlsMenu, GetText("MainWnd/Slower"), MenuData::kSlower, true, "[");
    AddEntry(m_controlsMenu, GetText("MainWnd/Faster"), MenuData::kFaster, true, "]");
    AddEntry(m_controlsMenu, GetText("MainWnd/NormalSpeed"), MenuData::kNormalSpeed, true,
             "Backspace");
    AddEntry(m_controlsMenu, GetText("MainWnd/VolumeUp"), MenuData::kVolumeUp, true, "Up");
    AddEntry(m_controlsMenu, GetText("MainWnd/VolumeDown"), MenuData::kVolumeDown, true, "Down");
    AddEntry(m_controlsMenu, GetText("MainWnd/NavigationPanel"), MenuData::kNavigation, false, "P");
    QAction *title = AddEntry(m_controlsMenu, GetText("MainWnd/Title"), MenuData::kTitle, false);
    QAction *chapter =
        AddEntry(m_controlsMenu, GetText("MainWnd/Chapter"), MenuData::kChapter, false);
    AddEntry(m_controlsMenu, GetText("MainWnd/FullScreen"), MenuData::kFullScreen, false, "F")
        ->setShortcuts({QKeySequence(Qt::Key_F), QKeySequence(Qt::Key_F11)});
    m_titleMenu = NewSubmenu(title);
    m_chapterMenu = NewSubmenu(chapter);
    for (QMenu *submenu : {m_titleMenu, m_chapterMenu}) {
        submenu->setWindowFlags(submenu->windowFlags() | Qt::FramelessWindowHint);
        submenu->setAttribute(Qt::WA_TranslucentBackground);
        submenu->setStyleSheet(StyleSheets::PopupMenu());
    }
    connect(m_controlsMenu, &QMenu::triggered, this, &DRUI::BDControlsMenu);
}

void DRUI::BuildVideoMenu(QPushButton *button)
{
    m_videoMenu = NewPopupMenu(button);
    AddEntry(m_videoMenu, GetText("MainWnd/HalfSize"), MenuData::kHalfSize, false);
    AddEntry(m_videoMenu, GetText("MainWnd/NormalSize"), MenuData::kNormalSize, false);
    AddEntry(m_videoMenu, GetText("MainWnd/DoubleSize"), MenuData::kDoubleSize, false);
    AddEntry(m_videoMenu, GetText("MainWnd/Fit2Screen"), MenuData::kFit2Screen, false);
    QAction *videoTrack =
        AddEntry(m_videoMenu, GetText("MainWnd/VideoTrack"), MenuData::kVideoTrack, false);
    QAction *subtitleTrack =
        AddEntry(m_videoMenu, GetText("MainWnd/SubtitleTrack"), MenuData::kSubtitleTrack, false);
    AddEntry(m_videoMenu, Dotted("MainWnd/LoadSubtitle"), MenuData::kLoadSubtitle);
    AddEntry(m_videoMenu, GetText("MainWnd/SubtitleDelayDown"), MenuData::kSubtitleDelayDown,
             true, "Z");
    AddEntry(m_videoMenu, GetText("MainWnd/SubtitleDelayUp"), MenuData::kSubtitleDelayUp, true,
             "X");
    QAction *aspect =
        AddEntry(m_videoMenu, GetText("MainWnd/AspectRatio"), MenuData::kAspectRatio);
    AddEntry(m_videoMenu, GetText("MainWnd/NextAspect"), MenuData::kNextAspect, true, "A");
    m_stayOnTopAction =
        AddEntry(m_videoMenu, GetText("MainWnd/StayOnTop"), MenuData::kStayOnTop, true, "T");
    m_stayOnTopAction->setCheckable(true);
    m_stayOnTopAction->setChecked(windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    m_videoTrackMenu = NewSubmenu(videoTrack);
    m_subtitleTrackMenu = NewSubmenu(subtitleTrack);
    m_aspectMenu = NewSubmenu(aspect);
    for (const auto &[textKey, data] :
         {std::pair{"MainWnd/AspectAuto", MenuData::kAspectAuto},
          {"MainWnd/Aspect4To3", MenuData::kAspect4To3},
          {"MainWnd/Aspect16To9", MenuData::kAspect16To9},
          {"MainWnd/Aspect235", MenuData::kAspect235}}) {
        QAction *entry = AddEntry(m_aspectMenu, GetText(textKey), data);
        entry->setCheckable(true);
        entry->setChecked(data == MenuData::kAspectAuto);
    }
    AddEntry(m_videoTrackMenu, QStringLiteral("Disable"), 0);
    QAction *firstVideo =
        AddEntry(m_videoTrackMenu, GetText("MainWnd/Video") + QStringLiteral(" 1"), 1);
    firstVideo->setCheckable(true);
    firstVideo->setChecked(true);
    connect(m_videoMenu, &QMenu::triggered, this, &DRUI::BDVideoMenu);
}

void DRUI::BuildAudioMenu(QPushButton *button)
{
    m_audioMenu = NewPopupMenu(button);
    QAction *audioTrack =
        AddEntry(m_audioMenu, GetText("MainWnd/AudioTrack"), MenuData::kAudioTrack, false);
    QAction *audioChannel =
        AddEntry(m_audioMenu, GetText("MainWnd/AudioChannel"), MenuData::kAudioChannel, false);
    m_muteAction = AddEntry(m_audioMenu, GetText("MainWnd/Muted"), MenuData::kMute, true, "M");
    m_muteAction->setCheckable(true);
    m_muteAction->setChecked(m_playback->IsMuted());
    AddEntry(m_audioMenu, GetText("MainWnd/AudioDelayDown"), MenuData::kAudioDelayDown, true,
             "-");
    AddEntry(m_audioMenu, GetText("MainWnd/AudioDelayUp"), MenuData::kAudioDelayUp, true, "+");
    m_audioTrackMenu = NewSubmenu(audioTrack);
    m_audioChannelMenu = NewSubmenu(audioChannel);
    QAction *stereo = AddEntry(m_audioChannelMenu, GetText("MainWnd/Stereo"), MenuData::kStereo);
    stereo->setCheckable(true);
    stereo->setChecked(true);
    AddEntry(m_audioChannelMenu, GetText("MainWnd/Left"), MenuData::kLeft);
    AddEntry(m_audioChannelMenu, GetText("MainWnd/Right"), MenuData::kRight);
    connect(m_audioMenu, &QMenu::triggered, this, &DRUI::BDAudioMenu);
}

void DRUI::BuildToolsMenu(QPushButton *button)
{
    m_toolsMenu = NewPopupMenu(button);
    AddEntry(m_toolsMenu, Dotted("MainWnd/PlayList"), MenuData::kPlayList);
    AddEntry(m_toolsMenu, Dotted("MainWnd/Preferences"), MenuData::kPreferences);
    m_snapshotAction =
        AddEntry(m_toolsMenu, GetText("MainWnd/Snapshot"), MenuData::kSnapshot, false, "S");
    connect(m_toolsMenu, &QMenu::triggered, this, &DRUI::BDToolMenu);
}

void DRUI::BuildHelpMenu(QPushButton *button)
{
    m_helpMenu = NewPopupMenu(button);
    AddEntry(m_helpMenu, GetText("MainWnd/Help"), MenuData::kHelp);
    AddEntry(m_helpMenu, GetText("MainWnd/Support"), MenuData::kSupport);
    AddEntry(m_helpMenu, Dotted("MainWnd/About"), MenuData::kAbout);
    QAction *language = AddEntry(m_helpMenu, GetText("MainWnd/Language"), MenuData::kLanguage);
    QMenu *languageMenu = NewSubmenu(language);
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
    connect(m_helpMenu, &QMenu::triggered, this, &DRUI::BDHelpMenu);
}

void DRUI::FillRecentMenu()
{
    m_recentMenu->clear();
    for (const QString &path : m_recentFiles.Paths()) {
        AddEntry(m_recentMenu, MenuEntryText(path), path);
    }
    AddEntry(m_recentMenu, GetText("MainWnd/ClearMenu"), MenuData::kClearMenu);
}
