#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "look/Look.h"
#include "look/StyleSheets.h"
#include "util/TextConversion.h"
#include "util/TimeText.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

void DRUI::ShowScannedDisc(const ScannedDisc &disc)
{
    m_discNameLabel->setText(disc.name);
    // Read, checked, decoded and scaled by the scan, off this thread.
    m_discThumbnailLabel->setPixmap(QPixmap::fromImage(disc.thumbnail));
    // A disc without titles still replaces the previous disc's menus, with empty ones.
    BuildTitleMenus(disc.titles);
    BuildEpisodeMenus(disc.episodes);
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
    // The disc menu shows the main title's tracks and chapters.
    static const DiscTitle kNoTitle;
    const DiscTitle *main = m_whatPlays->Title(m_whatPlays->MainTitleKey());
    const DiscTitle &title = main != nullptr ? *main : kNoTitle;

    QMenu *subtitles = NewDiscSubmenu();
    m_subtitleTrackMenu->clear();
    const QVector<StreamRecord> &subtitleStreams = title.subtitles;
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
    const QVector<StreamRecord> &audioStreams = title.audio;
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
    ClearEntryMenu(m_chapterMenu);
    const QList<QAction *> chapterEntries = ChapterEntries(title.chapterStartsMs, chapters);
    AddEntriesByScreenful(chapters, chapterEntries, "MainWnd/ChapterRange");
    AddEntriesByScreenful(m_chapterMenu, chapterEntries, "MainWnd/ChapterRange");
    m_discChapterAction->setMenu(chapters);

    QMenu *otherTitles = NewDiscSubmenu();
    ClearEntryMenu(m_titleMenu);
    QList<QAction *> titleEntries;
    titleEntries.reserve(titles.size());
    int n = 1;
    for (const PLAY_LIST_INFO &other : titles) {
        auto *entry =
            new QAction(QStringLiteral("%1. %2").arg(n++).arg(other.strDuration), otherTitles);
        entry->setData(QVariant::fromValue(other));
        connect(entry, &QAction::triggered, this, [this, key = other.strPath] {
            m_playback->Stop();
            m_whatPlays->PickTitle(key);
        });
        titleEntries.append(entry);
    }
    AddEntriesByScreenful(otherTitles, titleEntries, "MainWnd/TitleRange");
    AddEntriesByScreenful(m_titleMenu, titleEntries, "MainWnd/TitleRange");
    m_discOtherTitlesAction->setMenu(otherTitles);

    ShowPage(kNavigationPage);
}

void DRUI::BuildEpisodeMenus(const QVector<Episode> &episodes)
{
    QMenu *inDisc = NewDiscSubmenu();
    ClearEntryMenu(m_episodeMenu);
    QList<QAction *> entries;
    entries.reserve(episodes.size());
    for (int index = 0; index < episodes.size(); ++index) {
        auto *entry = new QAction(GetText("MainWnd/EpisodeEntry").arg(index + 1) +
                                      QStringLiteral(" \u2013 ") +
                                      FormatTime(episodes[index].lengthMs / 1000),
                                  inDisc);
        connect(entry, &QAction::triggered, this, [this, index] {
            m_playback->Stop();
            m_whatPlays->PickEpisode(index);
        });
        entries.append(entry);
    }
    AddEntriesByScreenful(inDisc, entries, "MainWnd/EpisodeRange");
    AddEntriesByScreenful(m_episodeMenu, entries, "MainWnd/EpisodeRange");
    m_discEpisodesAction->setMenu(inDisc);
    m_discEpisodesAction->setVisible(!episodes.isEmpty());
    m_episodesAction->setVisible(!episodes.isEmpty());
}

void DRUI::AddEntriesByScreenful(QMenu *menu, const QList<QAction *> &entries, const char *rangeKey)
{
    menu->addActions(entries.mid(0, kEntriesPerMenu));
    for (qsizetype first = kEntriesPerMenu; first < entries.size(); first += kEntriesPerMenu) {
        const QList<QAction *> part = entries.mid(first, kEntriesPerMenu);
        // With the menu's own look; it goes with the menu, or when the menu is cleared.
        auto *submenu = new QMenu(menu);
        submenu->setWindowFlags(menu->windowFlags());
        submenu->setAttribute(Qt::WA_TranslucentBackground,
                              menu->testAttribute(Qt::WA_TranslucentBackground));
        submenu->setStyleSheet(menu->styleSheet());
        submenu->setFont(menu->font());
        submenu->setPalette(menu->palette());
        submenu->setTitle(GetText(rangeKey).arg(first + 1).arg(first + part.size()));
        // An entry the menu owns goes with the submenu that shows it.
        for (QAction *entry : part) {
            if (entry->parent() == menu) {
                entry->setParent(submenu);
            }
        }
        submenu->addActions(part);
        menu->addMenu(submenu);
    }
}

void DRUI::ClearEntryMenu(QMenu *menu)
{
    const QList<QMenu *> submenus =
        menu->findChildren<QMenu *>(QString(), Qt::FindDirectChildrenOnly);
    for (QMenu *submenu : submenus) {
        submenu->deleteLater();
    }
    menu->clear();
}

QList<QAction *> DRUI::ChapterEntries(const QVector<qint64> &startsMs, QObject *parent)
{
    QList<QAction *> entries;
    entries.reserve(startsMs.size());
    int number = 1;
    for (const qint64 startMs : startsMs) {
        auto *entry = new QAction(
            QStringLiteral("%1. %2").arg(number++).arg(FormatTime(startMs / 1000)), parent);
        entry->setData(startMs);
        connect(entry, &QAction::triggered, this, [this, startMs] { PickChapter(startMs); });
        entries.append(entry);
    }
    return entries;
}

void DRUI::FillChapterMenu(const QVector<qint64> &startsMs)
{
    ClearEntryMenu(m_chapterMenu);
    AddEntriesByScreenful(m_chapterMenu, ChapterEntries(startsMs, m_chapterMenu),
                          "MainWnd/ChapterRange");
}

void DRUI::ShowPageAfterPlayback()
{
    // The disc page's menus stay as the scan made them; only the Chapter menu followed a title.
    if (const DiscTitle *main = m_whatPlays->Title(m_whatPlays->MainTitleKey());
        main != nullptr && m_whatPlays->Current().kind == kSourceBluRay) {
        FillChapterMenu(main->chapterStartsMs);
        ShowPage(kNavigationPage);
        return;
    }
    ClearEntryMenu(m_titleMenu);
    ClearEntryMenu(m_chapterMenu);
    ShowPage(kStartPage);
}

void DRUI::PickChapter(qint64 startMs)
{
    // A chapter of what plays is sought; else the disc's main title starts there.
    if (m_playback->IsLive() && m_playback->Path() == m_whatPlays->Current().path) {
        m_playback->SeekTo(WholeSeconds(startMs));
    } else {
        m_whatPlays->PlayMainTitle(WholeSeconds(startMs));
    }
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
    auto *menu = qobject_cast<QMenu *>(action->parent());
    const QAction *entry = menu != nullptr ? menu->menuAction() : nullptr;
    // The disc menu's tracks are the main title's; they take effect at its next start.
    if (entry != nullptr && entry == m_discSubtitleAction) {
        TickOnly(menu, action);
        m_discMenuCurrentSubtitle = action;
        m_whatPlays->ChooseMainTitleTracks(std::nullopt, action->data().toInt());
        return;
    }
    if (entry != nullptr && entry == m_discAudioAction) {
        TickOnly(menu, action);
        m_discMenuCurrentAudio = action;
        m_whatPlays->ChooseMainTitleTracks(action->data().toInt(), std::nullopt);
        return;
    }
    // Play Movie, the disc menu's own entry: the main title, whatever was picked before.
    // Chapters and titles, in submenus of the disc menu or of those, have handlers of their own.
    if (action->parent() == m_discMenu && action->menu() == nullptr) {
        m_whatPlays->PlayMainTitle(0);
    }
}
