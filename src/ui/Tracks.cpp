#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "dialogs/MessageBox.h"
#include "engine/EngineVocabulary.h"
#include "platform/AppDataFolder.h"
#include "platform/EnginePath.h"
#include "look/Look.h"
#include "ui/MenuData.h"
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

const QSize kHalfSize(500, 340);
const QSize kNormalSize(1000, 680);
const QSize kLargestDoubleSize(2000, 1360);

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

bool BelongsTo(const QAction *action, const QMenu *menu)
{
    return menu != nullptr && action->parent() == menu;
}

// Text subtitle formats the engine reads from a file of their own.
const QString kSubtitleFileFilter =
    QStringLiteral("Subtitles (*.srt *.ass *.ssa *.smi *.sub *.txt *.vtt);;All files (*)");

} // namespace

void DRUI::ChooseTrack(QAction *entry, const char *command, const QVector<MediumStream> &streams,
                       int none)
{
    if (m_engine->IsLive()) {
        m_engine->Send(command, EngineStreamId(streams, entry->data().toInt(), none));
        CheckEntry(entry);
    }
}

void DRUI::BDVideoMenu(QAction *action)
{
    if (BelongsTo(action, m_subtitleTrackMenu)) {
        const int entry = action->data().toInt();
        if (entry >= kSubtitleFileEntry) {
            if (m_engine->IsLive() && m_engine->Send(Engine::kSubtitleFile, entry - kSubtitleFileEntry)) {
                CheckEntry(action);
            }
            return;
        }
        // -1 asks the engine for no subtitle, of the medium's or of a file loaded.
        ChooseTrack(action, Engine::kSubtitleKeepPause, m_engine->SubtitleStreams(), -1);
        const QList<QAction *> entries = m_subtitleTrackMenu->actions();
        const bool filesLoaded = std::any_of(entries.begin(), entries.end(), [](QAction *e) {
            return e->data().toInt() >= kSubtitleFileEntry;
        });
        if (entry == 0 && filesLoaded && m_engine->IsLive()) {
            m_engine->Send(Engine::kSubtitleFile, -1);
        }
        return;
    }
    if (BelongsTo(action, m_videoTrackMenu)) {
        m_videoSurface->setVisible(action->data().toInt() != 0);
        CheckEntry(action);
        return;
    }
    if (BelongsTo(action, m_aspectMenu)) {
        ChooseAspect(action);
        return;
    }
    const QString data = action->data().toString();
    if (data == MenuData::kLoadSubtitle) {
        const QString chosen = QFileDialog::getOpenFileName(
            this, QString(), ChooserStartFolder(m_settings.fileFolder), kSubtitleFileFilter);
        if (!chosen.isEmpty()) {
            LoadSubtitleFrom(chosen);
        }
    } else if (data == MenuData::kSubtitleDelayUp || data == MenuData::kSubtitleDelayDown) {
        ShiftSubtitleDelay(data == MenuData::kSubtitleDelayUp ? 1 : -1);
    } else if (data == MenuData::kNextAspect) {
        NextAspect();
    } else if (data == MenuData::kStayOnTop) {
        StayOnTop(action->isChecked());
    } else if (data == MenuData::kHalfSize) {
        ResizeWithinScreen(kHalfSize);
    } else if (data == MenuData::kNormalSize) {
        ResizeWithinScreen(kNormalSize);
    } else if (data == MenuData::kDoubleSize) {
        ResizeWithinScreen(kLargestDoubleSize);
    } else if (data == MenuData::kFit2Screen) {
        setWindowState(Qt::WindowMaximized);
    }
}

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

void DRUI::BDAudioMenu(QAction *action)
{
    if (BelongsTo(action, m_audioTrackMenu)) {
        // -2 asks the engine for no audio at all.
        ChooseTrack(action, Engine::kSwitchAudioKeepPause, m_engine->AudioStreams(), -2);
        return;
    }
    const QString data = action->data().toString();
    if (data == MenuData::kMute) {
        VolumeBtn();
        return;
    }
    if (data == MenuData::kAudioDelayUp || data == MenuData::kAudioDelayDown) {
        ShiftAudioDelay(data == MenuData::kAudioDelayUp ? 1 : -1);
        return;
    }
    if (BelongsTo(action, m_audioChannelMenu) && m_engine->IsLive()) {
        const QString channel = action->data().toString();
        if (channel == MenuData::kStereo) {
            m_engine->Send(Engine::kBalanceStereo);
        } else if (channel == MenuData::kLeft) {
            m_engine->Send(Engine::kBalanceLeft);
        } else if (channel == MenuData::kRight) {
            m_engine->Send(Engine::kBalanceRight);
        }
        CheckEntry(action);
    }
}

void DRUI::LoadSubtitleFrom(const QString &path)
{
    if (!m_engine->IsLive()) {
        return;
    }
    // The engine reads the file at once, through a link of a fixed name that needs no quoting.
    const QString link = EngineLinkTo(path, AppDataFolder(), kSubtitleLinkName);
    const int index = link.isEmpty() ? -1 : m_engine->LoadSubtitleFile(QFileInfo(link).fileName());
    if (index < 0) {
        ShowMessageBox(this, GetText("Messages/MSG0508") + QLatin1Char('\n') + path);
        return;
    }
    if (m_subtitleTrackMenu->isEmpty()) {
        m_subtitleTrackMenu->addAction(QStringLiteral("Disable"))->setData(0);
    }
    QAction *entry = m_subtitleTrackMenu->addAction(
        MenuEntryText(OneLineText(QFileInfo(path).fileName(), kShownNameLength)));
    entry->setData(kSubtitleFileEntry + index);
    CheckEntry(entry);
    m_engine->ShowOnScreen(OneLineText(QFileInfo(path).fileName(), kNoteNameLength));
    m_engine->AskForCurrentTracks();
}

void DRUI::TickSubtitleFile(int fileIndex)
{
    // Stream answers never tick a file's entry; this answer ticks it alone when it shows.
    if (fileIndex < 0) {
        return;
    }
    for (QAction *entry : m_subtitleTrackMenu->actions()) {
        const bool shown = entry->data().toInt() == kSubtitleFileEntry + fileIndex;
        entry->setCheckable(entry->isCheckable() || shown);
        entry->setChecked(shown);
    }
}
