#include "ui/DRUI.h"

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
    // Read by the scan, bounded, off this thread.
    QPixmap thumbnail;
    thumbnail.loadFromData(disc.thumbnail);
    m_discThumbnailLabel->setPixmap(thumbnail);
    // A disc without titles still replaces the previous disc's menus, with empty ones.
    BuildTitleMenus(disc.titles);
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
    m_chapterMenu->clear();
    int n = 1;
    for (const qint64 startMs : title.chapterStartsMs) {
        auto *entry = new QAction(QStringLiteral("%1. %2").arg(n++).arg(FormatTime(startMs / 1000)),
                                  chapters);
        entry->setData(startMs);
        connect(entry, &QAction::triggered, this, [this, startMs] { PickChapter(startMs); });
        chapters->addAction(entry);
        m_chapterMenu->addAction(entry);
    }
    m_discChapterAction->setMenu(chapters);

    QMenu *otherTitles = NewDiscSubmenu();
    m_titleMenu->clear();
    n = 1;
    for (const PLAY_LIST_INFO &other : titles) {
        auto *entry =
            new QAction(QStringLiteral("%1. %2").arg(n++).arg(other.strDuration), otherTitles);
        entry->setData(QVariant::fromValue(other));
        connect(entry, &QAction::triggered, this, [this, key = other.strPath] {
            m_playback->Stop();
            m_whatPlays->PickTitle(key);
        });
        otherTitles->addAction(entry);
        m_titleMenu->addAction(entry);
    }
    m_discOtherTitlesAction->setMenu(otherTitles);

    ShowPage(kNavigationPage);
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
    // Chapters and titles are entries of their own, shared with the Controls menu.
    if (entry == m_discChapterAction || entry == m_discOtherTitlesAction) {
        return;
    }
    // Play Movie: the main title, whatever was picked before.
    m_whatPlays->PlayMainTitle(0);
}
