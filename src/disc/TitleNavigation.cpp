#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "dialogs/MessageBox.h"
#include "dialogs/PlayListModel.h"
#include "disc/EngineTitleMap.h"
#include "disc/TitleScan.h"
#include "ui/Look.h"
#include "ui/StyleSheets.h"
#include "util/TextConversion.h"
#include "util/TimeText.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>

void DRUI::LoadBluRayTitles(const QString &discFolder)
{
    const DiscScan scan = ScanBluRayFolder(discFolder);
    m_sourceKind = kSourceBluRay;
    m_pathToPlay = discFolder;
    m_currentPath.clear();
    m_discNameLabel->setText(QString::fromLocal8Bit(scan.metadata.name));
    // Only a checked regular file of bounded size, so that loading it cannot wait.
    m_discThumbnailLabel->setPixmap(scan.thumbnailPath.isEmpty() ? QPixmap()
                                                                 : QPixmap(scan.thumbnailPath));

    m_titleNumbers.clear();
    m_titlePlayItems.clear();
    m_titleSubtitleStreams.clear();
    m_titleAudioStreams.clear();
    m_chapterStarts.clear();
    m_engineTitleNumbers.clear();
    m_engineTitleListAsked = false;
    m_engineTitleListAnswered = false;
    QVector<PLAY_LIST_INFO> titles;
    for (const ScannedTitle &title : scan.titles) {
        m_titleNumbers[title.key] = title.number;
        m_titlePlayItems[title.key] = title.contents.playItems;
        m_titleSubtitleStreams[title.key] = title.contents.subtitles;
        m_titleAudioStreams[title.key] = title.contents.audio;
        m_chapterStarts[title.key] = title.contents.chapters;
        m_audioChoice[title.key] = title.contents.audio.isEmpty() ? 0 : 1;
        m_subtitleChoice[title.key] = 0;
        m_titleDiscRoots[title.key] = discFolder;
        PLAY_LIST_INFO entry;
        entry.strPath = title.key;
        entry.strDuration = title.durationText;
        titles.append(entry);
    }
    // A disc without titles still replaces the previous disc's menus, with empty ones.
    m_mainTitleKey = titles.isEmpty() ? QString() : titles.first().strPath;
    m_sourceKey = m_mainTitleKey;
    BuildTitleMenus(titles);
}

QMenu *DRUI::NewDiscSubmenu()
{
    auto *submenu = new QMenu(this);
    submenu->setWindowFlags(submenu->windowFlags() | Qt::FramelessWindowHint);
    submenu->setAttribute(Qt::WA_TranslucentBackground);
    submenu->setStyleSheet(StyleSheets::DiscMenu());
    submenu->setFont(CalibriFont(20, true));
    submenu->setPalette(WhiteTextPalette());
    m_discSubmenus.push_back(submenu);
    return submenu;
}

void DRUI::BuildTitleMenus(const QVector<PLAY_LIST_INFO> &titles)
{
    // The previous disc's submenus go, and with them the entries shared with the Controls menu.
    for (QMenu *submenu : m_discSubmenus) {
        submenu->deleteLater();
    }
    m_discSubmenus.clear();
    m_discMenuCurrentSubtitle = nullptr;
    m_discMenuCurrentAudio = nullptr;
    const QString key = m_sourceKey;

    QMenu *subtitles = NewDiscSubmenu();
    m_subtitleTrackMenu->clear();
    const QVector<StreamRecord> &subtitleStreams = m_titleSubtitleStreams[key];
    if (!subtitleStreams.isEmpty()) {
        QAction *disable = subtitles->addAction(QStringLiteral("Disable"));
        disable->setData(0);
        disable->setCheckable(true);
        disable->setChecked(true);
        subtitles->setActiveAction(disable);
        m_discMenuCurrentSubtitle = disable;
        QAction *trackDisable = m_subtitleTrackMenu->addAction(QStringLiteral("Disable"));
        trackDisable->setData(0);
        trackDisable->setCheckable(true);
        trackDisable->setChecked(true);
        for (int n = 1; n <= subtitleStreams.size(); ++n) {
            QAction *entry = subtitles->addAction(MenuEntryText(subtitleStreams[n - 1].text));
            entry->setData(n);
            entry->setCheckable(true);
            m_subtitleTrackMenu->addAction(MenuEntryText(subtitleStreams[n - 1].text))->setData(n);
        }
    }
    m_discSubtitleAction->setMenu(subtitles);

    QMenu *audio = NewDiscSubmenu();
    m_audioTrackMenu->clear();
    const QVector<StreamRecord> &audioStreams = m_titleAudioStreams[key];
    if (!audioStreams.isEmpty()) {
        QAction *disable = audio->addAction(QStringLiteral("Disable"));
        disable->setData(0);
        disable->setCheckable(true);
        m_audioTrackMenu->addAction(QStringLiteral("Disable"))->setData(0);
        for (int n = 1; n <= audioStreams.size(); ++n) {
            QAction *entry = audio->addAction(MenuEntryText(audioStreams[n - 1].text));
            entry->setData(n);
            entry->setCheckable(true);
            QAction *track = m_audioTrackMenu->addAction(MenuEntryText(audioStreams[n - 1].text));
            track->setData(n);
            if (n == 1) {
                entry->setChecked(true);
                audio->setActiveAction(entry);
                m_discMenuCurrentAudio = entry;
                track->setCheckable(true);
                track->setChecked(true);
            }
        }
    }
    m_discAudioAction->setMenu(audio);

    // Chapter and title entries are single actions shown in two menus.
    QMenu *chapters = NewDiscSubmenu();
    m_chapterMenu->clear();
    int n = 1;
    for (const qint64 startMs : m_chapterStarts[key]) {
        auto *entry = new QAction(QStringLiteral("%1. %2").arg(n++).arg(FormatTime(startMs / 1000)),
                                  chapters);
        entry->setData(startMs);
        chapters->addAction(entry);
        m_chapterMenu->addAction(entry);
    }
    m_discChapterAction->setMenu(chapters);

    QMenu *otherTitles = NewDiscSubmenu();
    m_titleMenu->clear();
    n = 1;
    for (const PLAY_LIST_INFO &title : titles) {
        auto *entry =
            new QAction(QStringLiteral("%1. %2").arg(n++).arg(title.strDuration), otherTitles);
        entry->setData(QVariant::fromValue(title));
        otherTitles->addAction(entry);
        m_titleMenu->addAction(entry);
    }
    m_discOtherTitlesAction->setMenu(otherTitles);

    ShowPage(kNavigationPage);
}

bool DRUI::IsChapterEntry(const QAction *action) const
{
    // A Blu-ray title's chapters live in the disc menu; a DVD's in the Controls menu itself.
    const auto *menu = qobject_cast<const QMenu *>(action->parent());
    return menu != nullptr &&
           ((m_discChapterAction != nullptr && menu->menuAction() == m_discChapterAction) ||
            (m_sourceKind == kSourceDvd && menu == m_chapterMenu));
}

bool DRUI::IsTitleEntry(const QAction *action) const
{
    const auto *menu = qobject_cast<const QMenu *>(action->parent());
    return menu != nullptr && m_discOtherTitlesAction != nullptr &&
           menu->menuAction() == m_discOtherTitlesAction;
}

namespace {

// Ticks the chosen entry of a disc submenu and clears the others.
void TickOnly(QMenu *menu, QAction *chosen)
{
    for (QAction *entry : menu->actions()) {
        entry->setChecked(entry == chosen);
    }
    menu->setActiveAction(chosen);
}

} // namespace

void DRUI::BDMenuOperate(QAction *action)
{
    m_titleChosen = false;
    auto *menu = qobject_cast<QMenu *>(action->parent());
    const QAction *entry = menu != nullptr ? menu->menuAction() : nullptr;
    // The disc menu's tracks are the main title's; they take effect at its next start.
    if (entry != nullptr && entry == m_discSubtitleAction) {
        TickOnly(menu, action);
        m_discMenuCurrentSubtitle = action;
        m_subtitleChoice[m_mainTitleKey] = action->data().toInt();
        return;
    }
    if (entry != nullptr && entry == m_discAudioAction) {
        TickOnly(menu, action);
        m_discMenuCurrentAudio = action;
        m_audioChoice[m_mainTitleKey] = action->data().toInt();
        return;
    }
    m_startPosSec = 0;
    if (IsChapterEntry(action)) {
        m_startPosSec = WholeSeconds(action->data().toLongLong());
    } else if (IsTitleEntry(action)) {
        m_sourceKey = action->data().value<PLAY_LIST_INFO>().strPath;
        m_titleChosen = true;
    }
    PlayCurrentTitle();
}

void DRUI::PlayCurrentTitle()
{
    // Unless a title was picked, the engine plays its main title: that title's figures go with it.
    if (!m_titleChosen) {
        m_sourceKey = m_mainTitleKey;
    }
    if (m_sourceKey.isEmpty()) {
        return;
    }
    const auto root = m_titleDiscRoots.find(m_sourceKey);
    const QString disc = root != m_titleDiscRoots.end() ? root->second : m_sourceKey;
    const bool listed = PlayListModel::Find(m_playList, disc).has_value();
    const auto items = m_titlePlayItems.find(m_sourceKey);
    const qint64 seconds =
        items != m_titlePlayItems.end() ? TitleDurationSeconds(items->second) : 0;

    PLAY_LIST_INFO entry;
    entry.nType = kSourceBluRay;
    entry.strPath = disc;
    entry.strDuration = FormatTime(seconds);
    m_currentPath.clear();
    m_pathToPlay = disc;
    m_durationSec = ParseTime(entry.strDuration.toLatin1().constData());
    if (!listed) {
        AddToPlayList({entry});
    }
    if (m_titleChosen) {
        LearnEngineTitleNumbers(disc);
        // Never a guess: a title the engine cannot name is not played as another one.
        if (!EngineTitleNumber(m_sourceKey)) {
            ShowMessageBox(this, GetText("Messages/MSG0505"));
            return;
        }
    }
    // The engine, started next, works in the disc's stream folder.
    QDir::setCurrent(disc + QStringLiteral("/BDMV/STREAM"));
    m_sourceKind = kSourceBluRay;
    VideoPlay();
}

void DRUI::LearnEngineTitleNumbers(const QString &discFolder)
{
    if (m_engineTitleListAsked) {
        return;
    }
    m_engineTitleListAsked = true;
    m_waitingForHelperProgram = true;
    const std::map<QString, int> engineTitles =
        QueryEngineTitleList(discFolder, kEngineTitleListTimeLimitMs);
    m_waitingForHelperProgram = false;
    m_engineTitleListAnswered = !engineTitles.empty();
    std::map<QString, QVector<PlayItemRecord>> playItems;
    for (const auto &[key, items] : m_titlePlayItems) {
        playItems[PlaylistNumber(key)] = items;
    }
    for (const auto &[key, root] : m_titleDiscRoots) {
        if (root != discFolder || m_titleNumbers.count(key) == 0) {
            continue;
        }
        if (const std::optional<int> number =
                EngineTitleFor(PlaylistNumber(key), engineTitles, playItems)) {
            m_engineTitleNumbers[key] = *number;
        }
    }
}

std::optional<int> DRUI::EngineTitleNumber(const QString &titleKey) const
{
    // The engine's own number when it gave one; the scan's count only when it gave no list.
    const auto &table = m_engineTitleListAnswered || m_engineTitleNumbers.count(titleKey) != 0
                            ? m_engineTitleNumbers
                            : m_titleNumbers;
    const auto number = table.find(titleKey);
    return number != table.end() ? std::optional<int>(number->second) : std::nullopt;
}
