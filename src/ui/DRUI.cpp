#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "desktop/MediaControls.h"
#include "disc/DurationProbe.h"
#include "platform/AppDataFolder.h"
#include "platform/ExternalPrograms.h"
#include "look/Look.h"
#include "ui/MenuData.h"
#include "look/StyleSheets.h"
#include "util/TextConversion.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSlider>
#include <QStackedLayout>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A file system keeps a name to 255 bytes; the box has room for that much wrapped.
constexpr int kLongestName = 255;

} // namespace

DRUI::DRUI(QWidget *parent, Qt::WindowFlags flags) : QMainWindow(parent, flags)
{
    LoadImageResources();
    // Kept at the size a picture of the start page has always had: the page stretches it.
    m_background.emplace(QString::fromLatin1(Images::kBackground), QSize(640, 480));
    qRegisterMetaType<PLAY_LIST_INFO>("PLAY_LIST_INFO");
    if (objectName().isEmpty()) {
        setObjectName(QStringLiteral("DRUIClass"));
    }
    resize(800, 600);
    centralWidget = new QWidget(this);
    centralWidget->setObjectName(QStringLiteral("centralWidget"));
    setCentralWidget(centralWidget);
    // The dark gradient reaches every widget inside that sets no background of its own.
    centralWidget->setStyleSheet(StyleSheets::CentralBackground());
    // The first text lookup of the run: it loads the language tables.
    setWindowTitle(GetText("MainWnd/ProTitle"));
    m_settings = RememberedSettings::Load(AppDataFolder());
    // The window's last place, where it still fits on a screen; else the first-start size.
    const QList<QScreen *> screens = QGuiApplication::screens();
    const bool fits = std::any_of(screens.begin(), screens.end(), [this](const QScreen *shown) {
        return shown->availableGeometry().contains(m_settings.window);
    });
    if (m_settings.window.isValid() && fits) {
        setGeometry(m_settings.window);
    } else {
        ResizeWithinScreen(QSize(1000, 680));
    }
    setWindowIcon(QIcon(QString::fromLatin1(Images::kLogo)));
    setAcceptDrops(true);

    m_fullScreenControlsTimer = new QTimer(this);
    m_fullScreenControlsTimer->setSingleShot(true);
    m_fullScreenControlsTimer->setInterval(2000);
    connect(m_fullScreenControlsTimer, &QTimer::timeout, this, &DRUI::HideControlsAndPointer);
    m_whatPlays = new WhatPlays(kProbeTimeLimitMs, this);
    m_playback = new Playback(
        m_whatPlays, [this] { return static_cast<unsigned long long>(m_videoSurface->winId()); },
        this);
    m_playback->RestoreVolume(m_settings.volume, m_settings.muted);
    m_playback->SetPlayWholeList(m_settings.playWholeList);
    ConnectPlayback();
    ConnectWhatPlays();
}

DRUI::~DRUI()
{
    // The desktop's controls go first: nothing reads the owners for them while they go.
    delete m_mediaControls;
    // An engine must not outlive the window that drives it, and must not tell a window that
    // is going away that it ended.
    m_playback->disconnect(this);
    delete m_playback;
    m_whatPlays->disconnect(this);
    m_whatPlays->EndBackgroundWork();
    for (QMenu *menu : m_builtMenus) {
        if (menu->parent() == nullptr) {
            delete menu;
        }
    }
}

void DRUI::SetUpWindow()
{
    delete m_pageStack;
    m_pageStack = new QStackedLayout;
    delete m_outerStack;
    m_outerStack = new QStackedLayout;

    BuildWindowContent();
    RenderPlaybackState(m_playback->State());
    RenderVolume();

    m_outerStack->addWidget(m_mainPanel);
    m_outerStack->setCurrentWidget(m_mainPanel);
    m_outerStack->setContentsMargins(0, 0, 0, 0);
    if (m_rootLayout == nullptr) {
        m_rootLayout = new QVBoxLayout;
    }
    m_rootLayout->addLayout(m_outerStack);
    m_rootLayout->setSpacing(0);
    m_rootLayout->setContentsMargins(0, 0, 0, 0);
    if (centralWidget->layout() != m_rootLayout) {
        centralWidget->setLayout(m_rootLayout);
    }

    m_appDataFolder = AppDataFolder();
    EnsureFolderExists(m_appDataFolder);
    // Copying the probe need not hold up the window's first showing.
    QTimer::singleShot(0, this, &InstallProbe);
    m_whatPlays->ClearPlayList();
}

void DRUI::PublishMediaControls()
{
    delete m_mediaControls;
    WindowCalls calls;
    calls.raise = [this] { BringToFront(); };
    calls.quit = [this] { close(); };
    calls.open = [this](const QStringList &paths) { OpenFromDesktop(paths); };
    m_mediaControls = new MediaControls(m_playback, m_whatPlays, calls, this);
    m_mediaControls->Publish(QDBusConnection::sessionBus());
}

void DRUI::BringToFront()
{
    if (isMinimized()) {
        showNormal();
    }
    raise();
    activateWindow();
}

void DRUI::ShowPage(int page)
{
    m_pageStack->setCurrentIndex(page);
}

int DRUI::CurrentPage() const
{
    return m_pageStack == nullptr ? kStartPage : m_pageStack->currentIndex();
}

void DRUI::paintEvent(QPaintEvent *event)
{
    // Menu entries come alive once something has been shown on the video page, and the file
    // name box follows what plays.
    const WhatPlays::Source &source = m_whatPlays->Current();
    if (CurrentPage() == kNavigationPage && source.kind == kSourceBluRay) {
        m_discMenu->show();
        if (m_discMenuCurrentSubtitle != nullptr && m_discSubtitleAction->menu() != nullptr) {
            m_discSubtitleAction->menu()->setActiveAction(m_discMenuCurrentSubtitle);
        }
        if (m_discMenuCurrentAudio != nullptr && m_discAudioAction->menu() != nullptr) {
            m_discAudioAction->menu()->setActiveAction(m_discMenuCurrentAudio);
        }
    }
    if (CurrentPage() == kVideoPage) {
        for (QAction *action : m_controlsMenu->actions()) {
            action->setEnabled(action->data().toString() != MenuData::kNavigation ||
                               source.kind == kSourceBluRay);
        }
        for (QMenu *menu : {m_videoMenu, m_audioMenu, m_toolsMenu}) {
            for (QAction *action : menu->actions()) {
                action->setEnabled(true);
            }
        }
        m_snapshotAction->setEnabled(true);
        const QString shown = source.kind == kSourceBluRay ? m_discNameLabel->text()
                                                           : QFileInfo(source.path).fileName();
        // A name may hold line breaks: the box wraps long names, never breaks them.
        m_fileNameLabel->setText(QStringLiteral("    ") + OneLineText(shown, kLongestName));
        m_fileNameLabel->show();
    }
    QMainWindow::paintEvent(event);
}
