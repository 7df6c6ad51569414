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

void DRUI::BDVideoMenu(QAction *action)
{
    if (BelongsTo(action, m_subtitleTrackMenu)) {
        if (m_engine != nullptr) {
            SendEngineCommand(Engine::kSubtitleKeepPause, action->data().toInt() - 1);
            CheckEntry(action);
        }
        return;
    }
    if (BelongsTo(action, m_videoTrackMenu)) {
        m_videoSurface->setVisible(action->data().toInt() != 0);
        CheckEntry(action);
        return;
    }
    const QString data = action->data().toString();
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect available = screen != nullptr ? screen->availableGeometry() : QRect();
    if (data == MenuData::kHalfSize) {
        resize(kHalfSize);
    } else if (data == MenuData::kNormalSize) {
        resize(kNormalSize);
    } else if (data == MenuData::kDoubleSize && available.isValid()) {
        resize(std::min(available.width(), kLargestDoubleSize.width()),
               std::min(available.height(), kLargestDoubleSize.height()));
    } else if (data == MenuData::kFit2Screen) {
        setWindowState(Qt::WindowMaximized);
    }
}

void DRUI::BDAudioMenu(QAction *action)
{
    if (BelongsTo(action, m_audioTrackMenu)) {
        if (m_engine != nullptr) {
            const int track = action->data().toInt();
            // -2 asks the engine for no audio at all.
            SendEngineCommand(Engine::kSwitchAudioKeepPause, track == 0 ? -2 : track - 1);
            CheckEntry(action);
        }
        return;
    }
    if (BelongsTo(action, m_audioChannelMenu) && m_engine != nullptr) {
        const QString channel = action->data().toString();
        if (channel == MenuData::kStereo) {
            SendEngineCommand(Engine::kBalanceStereo);
        } else if (channel == MenuData::kLeft) {
            SendEngineCommand(Engine::kBalanceLeft);
        } else if (channel == MenuData::kRight) {
            SendEngineCommand(Engine::kBalanceRight);
        }
        CheckEntry(action);
    }
}
