#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "engine/EngineVocabulary.h"
#include "look/Look.h"
#include "ui/MenuData.h"
#include "util/TimeText.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <cmath>
#include <limits>

namespace {

constexpr int kJumpSeconds = 60;
constexpr int kForwardLimitMarginSeconds = 4;
constexpr int kVolumeStep = 5;
constexpr int kVolumeAfterUnmute = 50;

} // namespace

void DRUI::SliderPress()
{
    m_positionAnswerCount = 0;
    // A press on the handle released without a move stays where it is.
    m_seekTargetSec = std::max(0, m_seekSlider->sliderPosition());
}

void DRUI::SliderSeek(int value)
{
    m_seekTargetSec = std::max(0, value);
}

void DRUI::SliderRelease()
{
    if (m_engine->IsLive()) {
        SeekTo(m_seekTargetSec);
    }
    m_positionAnswerCount = 0;
}

void DRUI::SeekTo(int seconds)
{
    ResumePlayback();
    m_seekSlider->setValue(seconds);
    // The clock shows the target until the engine answers where it landed.
    m_engine->Seek(seconds);
    m_engine->ShowOnScreen(FormatTime(seconds) + QStringLiteral(" / ") + FormatTime(DurationSec()));
}

void DRUI::SliderMouseLButtonPress(QObject *watched, QEvent *event)
{
    auto *slider = qobject_cast<QSlider *>(watched);
    const auto *press = static_cast<QMouseEvent *>(event);
    if (slider == nullptr || press->button() != Qt::LeftButton) {
        return;
    }
    const double width = slider->rect().right() - slider->rect().left() + 1;
    const double span = static_cast<double>(slider->maximum()) - slider->minimum();
    const double exact = press->position().x() / width * span + slider->minimum();
    const int value = static_cast<int>(std::trunc(std::clamp<double>(
        exact, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
    if (value == slider->sliderPosition()) {
        return;
    }
    if (slider == m_seekSlider) {
        m_seekTargetSec = std::max(0, value);
        m_seekSlider->setSliderPosition(value);
        SliderRelease();
    } else if (slider == m_volumeSlider) {
        VolumeSliderSeek(value);
    }
}

void DRUI::SetVolumeImage(bool muted)
{
    m_muteAction->setChecked(muted);
    const QPixmap picture(QString::fromLatin1(muted ? Images::kNoVolume : Images::kVolume));
    m_volumeButton->setIcon(QIcon(picture));
    m_volumeButton->setIconSize(picture.size());
    m_volumeButton->setFixedSize(picture.size());
}

void DRUI::VolumeBtn()
{
    m_isMuted = !m_isMuted;
    m_volumeSlider->setValue(m_isMuted ? 0 : kVolumeAfterUnmute);
    SetVolumeImage(m_isMuted);
    m_engine->Send(m_isMuted ? Engine::kMute : Engine::kUnmute);
    ShowVolumeOnScreen();
}

void DRUI::VolumeSliderSeek(int value)
{
    // The engine is told the level the slider shows, never one past its ends.
    value = std::clamp(value, 0, m_volumeSlider->maximum());
    m_volumeSlider->setValue(value);
    m_isMuted = value == 0;
    SetVolumeImage(m_isMuted);
    m_engine->Send(Engine::kVolumeKeepPause, value);
    if (!m_isMuted) {
        m_settings.volume = value;
    }
    ShowVolumeOnScreen();
}

void DRUI::ShowVolumeOnScreen()
{
    m_engine->ShowOnScreen(
        m_isMuted
            ? GetText("MainWnd/Muted")
            : QStringLiteral("%1 %2%").arg(GetText("MainWnd/Volume")).arg(m_volumeSlider->value()));
}

void DRUI::PlayPre()
{
    Step(false);
}

void DRUI::PlayNext()
{
    Step(true);
}

void DRUI::Step(bool forward)
{
    ResumePlayback();
    // Within a Blu-ray title that plays by chapters; otherwise, also after a stop or an end,
    // through the play list.
    if (m_whatPlays->Current().kind == kSourceBluRay && m_engine->IsLive()) {
        StepThroughChapters(forward);
    } else {
        StepThroughPlayList(forward);
    }
}

void DRUI::StepThroughChapters(bool forward)
{
    const DiscTitle *title = m_whatPlays->Title(m_whatPlays->Current().titleKey);
    if (title == nullptr) {
        return;
    }
    const qint64 position = m_engine->ClockMs() / 1000;
    std::vector<qint64> starts;
    for (const qint64 startMs : title->chapterStartsMs) {
        starts.push_back(startMs / 1000);
    }
    std::optional<qint64> target;
    if (forward) {
        for (const qint64 start : starts) {
            if (start > position) {
                target = start;
                break;
            }
        }
    } else {
        // The chapter before the one playing, not the start of the one playing. A position on a
        // chapter's very start (as right after Next) is in that chapter.
        const auto before = std::count_if(starts.begin(), starts.end(),
                                          [position](qint64 start) { return start <= position; });
        if (before > 1 && starts[before - 2] != position) {
            target = starts[before - 2];
        }
    }
    if (target) {
        const int seconds =
            static_cast<int>(std::clamp<qint64>(*target, 0, std::numeric_limits<int>::max()));
        m_engine->Seek(seconds);
    }
}

void DRUI::StepThroughPlayList(bool forward)
{
    const std::optional<PLAY_LIST_INFO> entry = m_whatPlays->Neighbour(forward);
    if (!entry) {
        return;
    }
    StopBtn();
    PlayPlayListEntry(*entry);
}

void DRUI::BDControlsMenu(QAction *action)
{
    // A DVD's titles and chapters, from the engine's own lists.
    if (m_whatPlays->Current().kind == kSourceDvd && action->parent() == m_titleMenu) {
        PlayDvdTitle(action->data().toInt());
        return;
    }
    if (IsChapterEntry(action)) {
        const int seconds = WholeSeconds(action->data().toLongLong());
        if (m_engine->IsLive()) {
            ResumePlayback();
            m_engine->Seek(seconds);
        }
        return;
    }
    if (IsTitleEntry(action)) {
        if (m_engine->IsLive()) {
            RememberWherePlaybackIs();
            m_refreshTimer->stop();
            m_engine->Quit();
        }
        m_currentPath.clear();
        m_whatPlays->PickTitle(action->data().value<PLAY_LIST_INFO>().strPath);
        return;
    }
    const QString data = action->data().toString();
    if (data == MenuData::kPlay) {
        PlayOrPause();
    } else if (data == MenuData::kPause) {
        PausePlayback();
    } else if (data == MenuData::kResume) {
        ResumePlayback();
    } else if (data == MenuData::kStop) {
        StopPlaybackAndProbes();
    } else if (data == MenuData::kSlower || data == MenuData::kFaster ||
               data == MenuData::kNormalSpeed) {
        ChangeSpeed(data == MenuData::kSlower ? -1 : data == MenuData::kFaster ? 1 : 0);
    } else if (data == MenuData::kPrevious) {
        PlayPre();
    } else if (data == MenuData::kNext) {
        PlayNext();
    } else if (data == MenuData::kForward || data == MenuData::kBackward) {
        if (m_engine->IsLive()) {
            ResumePlayback();
            const bool forward = data == MenuData::kForward;
            qint64 target = static_cast<qint64>(m_seekSlider->value()) +
                            (forward ? kJumpSeconds : -kJumpSeconds);
            // Without a known length there is no end to stop short of.
            if (forward && DurationSec() > 0 && target > DurationSec()) {
                target = DurationSec() - kForwardLimitMarginSeconds;
            }
            if (!forward) {
                target = std::max<qint64>(0, target);
            }
            m_positionAnswerCount = 0;
            m_seekTargetSec = static_cast<int>(std::clamp<qint64>(
                target, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
            SliderRelease();
        }
    } else if (data == MenuData::kStartOver) {
        StartOver();
    } else if (data == MenuData::kVolumeUp) {
        VolumeSliderSeek(m_volumeSlider->value() + kVolumeStep);
    } else if (data == MenuData::kVolumeDown) {
        VolumeSliderSeek(m_volumeSlider->value() - kVolumeStep);
    } else if (data == MenuData::kNavigation) {
        Navigation();
    } else if (data == MenuData::kFullScreen) {
        FullScreenBtn();
    }
}
