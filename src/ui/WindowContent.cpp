#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "dialogs/PlayListTable.h"
#include "look/Look.h"
#include "look/StyleSheets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QSplitter>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace {

const QString kNoTime = QStringLiteral("   --:--:--");

QPushButton *StartPageButton(const char *textKey, const char *imagePath)
{
    const QPixmap picture(QString::fromLatin1(imagePath));
    auto *button = new QPushButton(QStringLiteral("   ") + GetText(textKey));
    button->setIcon(QIcon(picture));
    button->setIconSize(picture.size());
    button->setFont(CalibriFont(20, true));
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(StyleSheets::StartPageButton());
    button->setFixedWidth(300);
    button->setMinimumHeight(85);
    return button;
}

QLabel *TitleLabel(const QString &text)
{
    auto *label = new QLabel(text);
    // Disc names come from the disc: shown as written, never as markup.
    label->setTextFormat(Qt::PlainText);
    label->setFont(CalibriFont(40));
    label->setPalette(WhiteTextPalette());
    label->setStyleSheet(StyleSheets::Transparent());
    return label;
}

QLabel *TimeLabel()
{
    auto *label = new QLabel(kNoTime);
    label->setFont(CalibriFont(10));
    label->setPalette(WhiteTextPalette());
    label->setStyleSheet(StyleSheets::TimeLabel());
    label->setFixedWidth(50);
    return label;
}

QSlider *Slider(const QString &styleSheet)
{
    auto *slider = new QSlider(Qt::Horizontal);
    slider->setRange(0, 100);
    slider->setStyleSheet(styleSheet);
    return slider;
}

} // namespace

void DRUI::BuildWindowContent()
{
    if (m_mainPanel != nullptr) {
        // A rebuild can start from a menu of the old content, so the old widgets go once the
        // event that asked for it has finished with them.
        m_mainPanel->hide();
        m_mainPanel->deleteLater();
    }
    for (QMenu *menu : m_builtMenus) {
        menu->deleteLater();
    }
    m_builtMenus.clear();
    m_mainPanel = new QWidget(this);

    m_menuStrip = new QLabel;
    m_menuStrip->setStyleSheet(StyleSheets::MenuStrip());
    m_menuStrip->setFixedHeight(22);
    auto *menuButtons = new QHBoxLayout(m_menuStrip);
    menuButtons->setContentsMargins(0, 1, 0, 1);
    menuButtons->setSpacing(0);
    BuildMenus(menuButtons);
    menuButtons->addStretch(0);
    // A pop-up menu's shortcuts work only while it is open; the window carries them meanwhile.
    for (QMenu *menu : m_builtMenus) {
        for (QAction *action : menu->actions()) {
            if (!action->shortcut().isEmpty()) {
                addAction(action);
            }
        }
    }
    auto *stripSection = new QVBoxLayout;
    stripSection->addWidget(m_menuStrip);

    QWidget *startPage = BuildStartPage();
    QWidget *navigationPage = BuildNavigationPage();
    QWidget *videoPage = BuildVideoPage();
    m_pageStack->addWidget(startPage);
    m_pageStack->addWidget(navigationPage);
    m_pageStack->addWidget(videoPage);
    m_pageStack->setContentsMargins(0, 0, 0, 0);
    m_pageStack->setCurrentIndex(kStartPage);

    m_playListTable = new PlayListTable;
    ConnectPlayListTable();
    auto *pages = new QWidget;
    pages->setLayout(m_pageStack);
    // The play list can be widened by dragging its edge.
    auto *middleRow = new QSplitter(Qt::Horizontal);
    middleRow->setChildrenCollapsible(false);
    middleRow->addWidget(pages);
    middleRow->addWidget(m_playListTable);
    // The pictures take what the play list leaves.
    middleRow->setStretchFactor(0, 1);
    m_playListTable->hide();

    m_controlBar = BuildControlBar();

    auto *panelLayout = new QVBoxLayout(m_mainPanel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(0);
    panelLayout->addLayout(stripSection, 1);
    panelLayout->addWidget(middleRow, 60);
    panelLayout->addWidget(m_controlBar, kControlBarStretch);
}

QWidget *DRUI::BuildVideoPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_videoSurface = new QLabel;
    m_videoSurface->installEventFilter(this);
    // Moves of the pointer count even without a button held (full screen shows the controls).
    m_videoSurface->setMouseTracking(true);
    layout->addWidget(m_videoSurface);
    return page;
}

QWidget *DRUI::BuildStartPage()
{
    auto *page = new QWidget(this);
    auto *pageLayout = new QHBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);

    auto *background = new QLabel;
    background->setScaledContents(true);
    // A picture's size is no reason to keep the window large: it scales with the page.
    background->setMinimumSize(1, 1);
    background->setPixmap(QPixmap::fromImage(m_background->Image()));
    pageLayout->addWidget(background);

    m_startTitleLabel = TitleLabel(GetText("MainWnd/ProTitle"));
    auto *titleBlock = new QVBoxLayout;
    titleBlock->addStretch(1);
    titleBlock->addWidget(m_startTitleLabel);
    titleBlock->addStretch(2);

    QPushButton *openFileButton = StartPageButton("MainWnd/OpenFile", Images::kMoviesFolder);
    QPushButton *openFolderButton = StartPageButton("MainWnd/OpenDisc", Images::kDisc);
    connect(openFileButton, &QPushButton::clicked, this, &DRUI::btnOpenFile);
    connect(openFolderButton, &QPushButton::clicked, this, &DRUI::btnLoadBDPath);
    // Centred under the title; the gaps give way before the window outgrows a small screen.
    m_startTitleLabel->setAlignment(Qt::AlignHCenter);
    auto *buttonBlock = new QVBoxLayout;
    buttonBlock->addWidget(openFileButton, 0, Qt::AlignHCenter);
    buttonBlock->addStretch(1);
    buttonBlock->addWidget(openFolderButton, 0, Qt::AlignHCenter);
    buttonBlock->addStretch(2);

    auto *blocks = new QVBoxLayout;
    blocks->addLayout(titleBlock, 1);
    blocks->addLayout(buttonBlock, 1);
    auto *overlay = new QHBoxLayout(background);
    overlay->addLayout(blocks);
    return page;
}

QWidget *DRUI::BuildNavigationPage()
{
    auto *page = new QWidget(this);
    auto *pageLayout = new QHBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(0);
    m_discThumbnailLabel = new QLabel;
    m_discThumbnailLabel->setScaledContents(true);
    m_discThumbnailLabel->setMinimumSize(1, 1);
    pageLayout->addWidget(m_discThumbnailLabel);

    m_discNameLabel = TitleLabel(GetText("MainWnd/ProTitle"));
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(m_discNameLabel);

    m_discMenu = new QMenu;
    m_discMenu->setStyleSheet(StyleSheets::DiscMenu());
    m_discMenu->setFont(CalibriFont(20, true));
    m_discMenu->setPalette(WhiteTextPalette());
    // Shown inside the page as an ordinary child, not as a pop-up.
    m_discMenu->setWindowFlags(Qt::Widget);
    m_discMenu->addAction(GetText("MainWnd/PlayMovie"));
    m_discEpisodesAction = m_discMenu->addAction(GetText("MainWnd/Episodes"));
    m_discEpisodesAction->setVisible(false);
    m_discChapterAction = m_discMenu->addAction(GetText("MainWnd/Chapter"));
    m_discAudioAction = m_discMenu->addAction(GetText("MainWnd/Audio"));
    m_discSubtitleAction = m_discMenu->addAction(GetText("MainWnd/Subtitle"));
    m_discOtherTitlesAction = m_discMenu->addAction(GetText("MainWnd/OtherTitles"));
    connect(m_discMenu, &QMenu::triggered, this, &DRUI::BDMenuOperate);
    auto *menuRow = new QHBoxLayout;
    menuRow->setContentsMargins(0, 0, 0, 0);
    menuRow->setSpacing(0);
    menuRow->addWidget(m_discMenu);
    menuRow->addStretch(5);

    auto *rows = new QVBoxLayout(m_discThumbnailLabel);
    rows->addLayout(nameRow, 3);
    rows->addLayout(menuRow, 7);
    return page;
}

QLabel *DRUI::BuildControlBar()
{
    auto *bar = new QLabel;
    bar->setFixedHeight(90);
    auto *rows = new QVBoxLayout(bar);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);

    m_elapsedLabel = TimeLabel();
    m_totalLabel = TimeLabel();
    m_seekSlider = Slider(StyleSheets::SeekSlider());
    m_seekSlider->setEnabled(false);
    m_seekSlider->installEventFilter(this);
    connect(m_seekSlider, &QSlider::sliderPressed, this, &DRUI::SliderPress);
    connect(m_seekSlider, &QSlider::sliderMoved, this, &DRUI::SliderSeek);
    connect(m_seekSlider, &QSlider::sliderReleased, this, &DRUI::SliderRelease);
    auto *seekRow = new QHBoxLayout;
    seekRow->setSpacing(0);
    seekRow->addWidget(m_elapsedLabel);
    seekRow->addWidget(m_seekSlider);
    seekRow->addWidget(m_totalLabel);

    rows->addLayout(seekRow, 1);
    rows->addWidget(BuildButtonRow(), 10);
    return bar;
}

QWidget *DRUI::BuildButtonRow()
{
    auto *row = new QWidget(this);
    row->setStyleSheet(StyleSheets::ButtonRow());
    auto *layout = new QHBoxLayout(row);

    m_fileNameLabel = new QLabel;
    m_fileNameLabel->setTextFormat(Qt::PlainText);
    m_fileNameLabel->setWordWrap(true);
    m_fileNameLabel->setFont(CalibriFont(10, true));
    m_fileNameLabel->setStyleSheet(StyleSheets::FileNameBox());
    // The box shows only with a name in it; its place stays, so nothing moves.
    QSizePolicy keepsPlace = m_fileNameLabel->sizePolicy();
    keepsPlace.setRetainSizeWhenHidden(true);
    m_fileNameLabel->setSizePolicy(keepsPlace);
    m_fileNameLabel->hide();
    auto *nameBox = new QHBoxLayout;
    nameBox->addWidget(m_fileNameLabel);

    QPushButton *stopButton = PictureButton(Images::kStop);
    m_playButton = PictureButton(Images::kPlay);
    QPushButton *previousButton = PictureButton(Images::kPrevious);
    QPushButton *nextButton = PictureButton(Images::kNext);
    connect(stopButton, &QPushButton::clicked, this, &DRUI::StopPlaybackAndProbes);
    connect(m_playButton, &QPushButton::clicked, this, &DRUI::PlayOrPause);
    connect(previousButton, &QPushButton::clicked, this, &DRUI::PlayPre);
    connect(nextButton, &QPushButton::clicked, this, &DRUI::PlayNext);
    auto *transport = new QHBoxLayout;
    transport->setSpacing(0);
    transport->addWidget(stopButton);
    transport->addWidget(m_playButton);
    transport->addWidget(previousButton);
    transport->addWidget(nextButton);

    m_volumeButton = PictureButton(Images::kVolume);
    m_volumeSlider = Slider(StyleSheets::VolumeSlider());
    m_volumeSlider->setValue(50);
    m_volumeSlider->installEventFilter(this);
    QPushButton *fullScreenButton = PictureButton(Images::kFullScreen);
    connect(m_volumeButton, &QPushButton::clicked, this, &DRUI::VolumeBtn);
    connect(m_volumeSlider, &QSlider::sliderMoved, this, &DRUI::VolumeSliderSeek);
    // A click on the groove, the wheel or a key moves the slider without a drag.
    connect(m_volumeSlider, &QSlider::valueChanged, this, [this](int level) {
        if (level != m_playback->Volume()) {
            VolumeSliderSeek(level);
        }
    });
    connect(fullScreenButton, &QPushButton::clicked, this, &DRUI::FullScreenBtn);
    auto *volume = new QHBoxLayout;
    volume->addWidget(m_volumeButton);
    volume->addWidget(m_volumeSlider);
    volume->addWidget(fullScreenButton);

    layout->addLayout(nameBox);
    layout->addStretch(4);
    layout->addLayout(transport);
    layout->addStretch(4);
    layout->addLayout(volume);
    return row;
}
