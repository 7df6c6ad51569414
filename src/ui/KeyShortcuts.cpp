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
    add(QKeySequence(Qt::SHIFT | Qt::Key_Right), [this] { SeekBy(kShortStepSeconds); });
    add(QKeySequence(Qt::SHIFT | Qt::Key_Left), [this] { SeekBy(-kShortStepSeconds); });
    add(QKeySequence(Qt::CTRL | Qt::Key_Right), [this] { SeekBy(kLongStepSeconds); });
    add(QKeySequence(Qt::CTRL | Qt::Key_Left), [this] { SeekBy(-kLongStepSeconds); });
}

void DRUI::SeekBy(int seconds)
{
    if (!m_engine->IsLive()) {
        return;
    }
    qint64 target = std::max<qint64>(0, m_engine->ClockMs() / 1000 + seconds);
    if (DurationSec() > 0) {
        target = std::min(target, DurationSec());
    }
    m_positionAnswerCount = 0;
    SeekTo(static_cast<int>(target));
}
