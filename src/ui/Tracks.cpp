#include "ui/DRUI.h"

#include "engine/EngineVocabulary.h"
#include "ui/MenuData.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>

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
        // -1 asks the engine for no subtitle.
        ChooseTrack(action, Engine::kSubtitleKeepPause, m_engine->SubtitleStreams(), -1);
        return;
    }
    if (BelongsTo(action, m_videoTrackMenu)) {
        m_videoSurface->setVisible(action->data().toInt() != 0);
        CheckEntry(action);
        return;
    }
    const QString data = action->data().toString();
    if (data == MenuData::kHalfSize) {
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
