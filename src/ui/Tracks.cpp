#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "dialogs/MessageBox.h"
#include "look/Look.h"
#include "util/LanguageName.h"
#include "util/TextConversion.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>

#include <algorithm>

namespace {

// Unchecks the other entries of the action's submenu and checks this one.
void CheckEntry(QAction *action)
{
    if (auto *menu = qobject_cast<QMenu *>(action->parent())) {
        for (QAction *entry : menu->actions()) {
            entry->setChecked(false);
        }
    }
    action->setCheckable(true);
    action->setChecked(true);
}

// Text subtitle formats the engine reads from a file of their own.
const QString kSubtitleFileFilter =
    QStringLiteral("Subtitles (*.srt *.ass *.ssa *.smi *.sub *.txt *.vtt);;All files (*)");

// "Audio 2", or "Audio 2 – Deutsch, Director's cut" when the medium names the stream.
QString TrackEntryText(const char *entryFormat, int number, const MediumStream &stream)
{
    QStringList names;
    for (const QString &name : {LanguageName(stream.language), stream.title}) {
        // A title that only repeats the language is said once.
        if (!name.isEmpty() && !names.contains(name, Qt::CaseInsensitive)) {
            names.append(name);
        }
    }
    const QString text = QString::asprintf(entryFormat, number);
    return names.isEmpty() ? text
                           : text + QStringLiteral(" \u2013 ") +
                                 MenuEntryText(names.join(QStringLiteral(", ")));
}

// "Disable" first, then one numbered entry per stream; the given entry is ticked until the
// engine says what it shows.
void FillTrackMenu(QMenu *menu, const char *entryFormat, const QVector<MediumStream> &streams,
                   int ticked)
{
    menu->clear();
    menu->addAction(QStringLiteral("Disable"))->setData(0);
    for (int k = 1; k <= streams.size(); ++k) {
        menu->addAction(TrackEntryText(entryFormat, k, streams[k - 1]))->setData(k);
    }
    QAction *tick = menu->actions().at(ticked);
    tick->setCheckable(true);
    tick->setChecked(true);
}

} // namespace

void DRUI::ResizeWithinScreen(const QSize &wanted)
{
    const QScreen *shownOn = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (shownOn == nullptr) {
        resize(wanted);
        return;
    }
    // The frame the window manager draws around the window counts too.
    const QRect available = shownOn->availableGeometry();
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize room = available.size() - frame;
    resize(wanted.boundedTo(room).expandedTo(minimumSize()));
    // A window that would now reach past the screen's edge is moved back onto it.
    QRect placed = frameGeometry();
    placed.setSize(size() + frame);
    placed.moveRight(std::min(placed.right(), available.right()));
    placed.moveBottom(std::min(placed.bottom(), available.bottom()));
    placed.moveLeft(std::max(placed.left(), available.left()));
    placed.moveTop(std::max(placed.top(), available.top()));
    if (placed.topLeft() != frameGeometry().topLeft()) {
        move(placed.topLeft());
    }
}

void DRUI::ConnectTrackMenus()
{
    connect(m_subtitleTrackMenu, &QMenu::triggered, this, [this](QAction *action) {
        const int entry = action->data().toInt();
        const bool shown = entry >= kSubtitleFileEntry
                               ? m_playback->ChooseSubtitleFile(entry - kSubtitleFileEntry)
                               : m_playback->ChooseSubtitle(entry);
        if (shown) {
            CheckEntry(action);
        }
    });
    connect(m_audioTrackMenu, &QMenu::triggered, this, [this](QAction *action) {
        if (m_playback->ChooseAudio(action->data().toInt())) {
            CheckEntry(action);
        }
    });
    connect(m_videoTrackMenu, &QMenu::triggered, this, [this](QAction *action) {
        m_videoSurface->setVisible(action->data().toInt() != 0);
        CheckEntry(action);
    });
    // Their entries stand in the order of the owner's choices.
    connect(m_aspectMenu, &QMenu::triggered, this, [this](QAction *action) {
        m_playback->SetAspect(
            static_cast<Playback::Aspect>(m_aspectMenu->actions().indexOf(action)));
        RenderAdjustments();
    });
    connect(m_audioChannelMenu, &QMenu::triggered, this, [this](QAction *action) {
        m_playback->SetChannel(
            static_cast<Playback::Channel>(m_audioChannelMenu->actions().indexOf(action)));
        RenderAdjustments();
    });
}

void DRUI::StepTrack(QMenu *menu)
{
    // The entry after the ticked one, round to the first: what a pick in the menu would do.
    const QList<QAction *> entries = menu->actions();
    if (entries.isEmpty()) {
        return;
    }
    qsizetype ticked = -1;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i]->isChecked()) {
            ticked = i;
        }
    }
    QAction *next = entries[(ticked + 1) % entries.size()];
    next->trigger();
    if (next->isChecked()) {
        // The entry's text with its ampersands as written, not doubled for the menu.
        m_playback->ShowNote(
            QString(next->text()).replace(QStringLiteral("&&"), QStringLiteral("&")));
    }
}

void DRUI::ChooseSubtitleFile()
{
    const QString chosen = QFileDialog::getOpenFileName(
        this, QString(), ChooserStartFolder(m_settings.fileFolder), kSubtitleFileFilter);
    if (!chosen.isEmpty()) {
        LoadSubtitleFrom(chosen);
    }
}

void DRUI::LoadSubtitleFrom(const QString &path)
{
    if (!m_playback->IsLive()) {
        return;
    }
    const int index = m_playback->LoadSubtitleFile(path);
    if (index < 0) {
        ShowMessageBox(this, "Messages/MSG0508", OneLineText(path, kShownNameLength));
        return;
    }
    if (m_subtitleTrackMenu->isEmpty()) {
        m_subtitleTrackMenu->addAction(QStringLiteral("Disable"))->setData(0);
    }
    QAction *entry = m_subtitleTrackMenu->addAction(
        MenuEntryText(OneLineText(QFileInfo(path).fileName(), kShownNameLength)));
    entry->setData(kSubtitleFileEntry + index);
    CheckEntry(entry);
}

void DRUI::RenderAdjustments()
{
    const auto tickOnly = [](QMenu *menu, int ticked) {
        const QList<QAction *> entries = menu->actions();
        for (int i = 0; i < entries.size(); ++i) {
            entries[i]->setCheckable(true);
            entries[i]->setChecked(i == ticked);
        }
    };
    tickOnly(m_aspectMenu, static_cast<int>(m_playback->AspectRatio()));
    tickOnly(m_audioChannelMenu, static_cast<int>(m_playback->AudioChannel()));
}

void DRUI::FillTrackMenus(bool replaced)
{
    if (replaced) {
        m_audioTrackMenu->clear();
        m_subtitleTrackMenu->clear();
    }
    const QVector<MediumStream> &audio = m_playback->AudioStreams();
    const QVector<MediumStream> &subtitles = m_playback->SubtitleStreams();
    // Menus a title's own track lists already filled with the right count stay as they are.
    if (!audio.isEmpty() && m_audioTrackMenu->actions().size() != audio.size() + 1) {
        FillTrackMenu(m_audioTrackMenu, "Audio %d", audio, 1);
    }
    if (!subtitles.isEmpty() && m_subtitleTrackMenu->actions().size() != subtitles.size() + 1) {
        FillTrackMenu(m_subtitleTrackMenu, "Subtitle %d", subtitles, 0);
    }
}

void DRUI::TickTrack(QMenu *menu, int streamId, const std::function<int(int)> &streamIdOf)
{
    for (QAction *entry : menu->actions()) {
        const int number = entry->data().toInt();
        const bool shown = number == 0                    ? streamId < 0
                           : number >= kSubtitleFileEntry ? false
                                                          : streamIdOf(number) == streamId;
        entry->setCheckable(entry->isCheckable() || shown);
        entry->setChecked(shown);
    }
}
