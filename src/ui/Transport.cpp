#include "ui/DRUI.h"

#include <QMouseEvent>
#include <QSlider>

#include <cmath>
#include <limits>

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

void DRUI::PlayOrPause()
{
    m_playback->PlayOrPause();
}
