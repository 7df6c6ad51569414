#include "ui/DRUI.h"

#include <QKeySequence>
#include <QShortcut>
#include <QSlider>

#include <algorithm>

namespace {

// The small steps people expect beside the menus' one-minute jumps.
constexpr int kShortStepSeconds = 5;
constexpr int kLongStepSeconds = 10;

} // namespace

void DRUI::AddPlayerShortcuts()
{
    const auto add = [this](const QKeySequence &keys, auto action) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, action);
    };
    add(QKeySequence(Qt::SHIFT | Qt::Key_Right), [this] { m_playback->SeekBy(kShortStepSeconds); });
    add(QKeySequence(Qt::SHIFT | Qt::Key_Left), [this] { m_playback->SeekBy(-kShortStepSeconds); });
    add(QKeySequence(Qt::CTRL | Qt::Key_Right), [this] { m_playback->SeekBy(kLongStepSeconds); });
    add(QKeySequence(Qt::CTRL | Qt::Key_Left), [this] { m_playback->SeekBy(-kLongStepSeconds); });
}


