#include "ui/DRUI.h"

#include "ui/MenuData.h"
#include "util/TimeText.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QSlider>

#include <cmath>
#include <limits>

namespace {

constexpr int kVolumeStep = 5;

} // namespace

void DRUI::SliderPress()
{
    m_positionAnswerCount = 0;
}

void DRUI::SliderSeek(int value)
{
    Q_UNUSED(value);
    // The clock shows where the handle would land while it moves.
    if (m_playback->IsLive()) {
        RenderClock();
    }
}

void DRUI::SliderRelease()
{
    m_playback->SeekTo(m_seekSlider->sliderPosition());
    m_positionAnswerCount = 0;
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
        m_seekSlider->setSliderPosition(std::max(0, value));
        SliderRelease();
    } else if (slider == m_volumeSlider) {
        VolumeSliderSeek(value);
    }
}

void DRUI::VolumeBtn()
{
    m_playback->ToggleMute();
}

void DRUI::VolumeSliderSeek(int value)
{
    m_playback->SetVolume(value);
}

void DRUI::PlayPre()
{
    m_playback->Step(false);
}

void DRUI::PlayNext()
{
    m_playback->Step(true);
}

void DRUI::BDControlsMenu(QAction *action)
{
    // A DVD's titles and chapters, from the engine's own lists.
    if (m_whatPlays->Current().kind == kSourceDvd && action->parent() == m_titleMenu) {
        m_playback->PickDvdTitle(action->data().toInt());
        return;
    }
    if (IsChapterEntry(action)) {
        m_playback->SeekTo(WholeSeconds(action->data().toLongLong()));
        return;
    }
    if (IsTitleEntry(action)) {
        m_playback->Stop();
        m_whatPlays->PickTitle(action->data().value<PLAY_LIST_INFO>().strPath);
        return;
    }
    const QString data = action->data().toString();
    if (data == MenuData::kPlay) {
        PlayOrPause();
    } else if (data == MenuData::kPause) {
        m_playback->Pause();
    } else if (data == MenuData::kResume) {
        m_playback->Resume();
    } else if (data == MenuData::kStop) {
        StopPlaybackAndProbes();
    } else if (data == MenuData::kSlower || data == MenuData::kFaster ||
               data == MenuData::kNormalSpeed) {
        m_playback->ChangeSpeed(data == MenuData::kSlower ? -1 : data == MenuData::kFaster ? 1 : 0);
    } else if (data == MenuData::kPrevious) {
        PlayPre();
    } else if (data == MenuData::kNext) {
        PlayNext();
    } else if (data == MenuData::kForward || data == MenuData::kBackward) {
        m_playback->Jump(data == MenuData::kForward);
    } else if (data == MenuData::kStartOver) {
        m_playback->StartOver();
    } else if (data == MenuData::kVolumeUp) {
        m_playback->StepVolume(kVolumeStep);
    } else if (data == MenuData::kVolumeDown) {
        m_playback->StepVolume(-kVolumeStep);
    } else if (data == MenuData::kNavigation) {
        Navigation();
    } else if (data == MenuData::kFullScreen) {
        FullScreenBtn();
    }
}

void DRUI::PlayOrPause()
{
    m_playback->PlayOrPause();
}
