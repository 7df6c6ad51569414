#include "ui/DRUI.h"

#include "platform/AppDataFolder.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QShowEvent>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>

namespace {

constexpr int kWheelVolumeStep = 5;
constexpr int kFrameSettleMs = 200;

} // namespace

void DRUI::resizeEvent(QResizeEvent *event)
{
    centralWidget->resize(event->size());
    QMainWindow::resizeEvent(event);
    if (m_isFullScreen) {
        PlaceFloatingControlBar();
    }
}

void DRUI::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_fittedOnScreen) {
        m_fittedOnScreen = true;
        FitOnScreenSoon();
    }
}

void DRUI::FitOnScreenSoon()
{
    // The frame is known only once the window manager has put the window up; then the whole
    // window, frame included, is made to fit the screen's free area, at any scale.
    QTimer::singleShot(kFrameSettleMs, this, [this] {
        if (windowState() == Qt::WindowNoState) {
            ResizeWithinScreen(size());
        }
    });
}

void DRUI::closeEvent(QCloseEvent *event)
{
    // Closing by the frame's button must not leave the engine running either.
    m_playback->Close();
    SaveRememberedSettings();
    event->accept();
    QApplication::quit();
}

void DRUI::SaveRememberedSettings()
{
    m_settings.volume = m_playback->Level();
    m_settings.muted = m_playback->IsMuted();
    m_settings.window = normalGeometry();
    m_settings.Save(AppDataFolder());
}

bool DRUI::eventFilter(QObject *watched, QEvent *event)
{
    const bool playing = m_playback->IsLive();
    if (watched == m_videoSurface && event->type() == QEvent::MouseButtonDblClick) {
        FullScreenBtn();
    } else if (watched == m_videoSurface && event->type() == QEvent::MouseMove) {
        ShowControlsForAWhile();
    } else if (watched == m_videoSurface && event->type() == QEvent::Wheel) {
        // The wheel over the picture sets the volume, a step a notch.
        const int notch = static_cast<QWheelEvent *>(event)->angleDelta().y();
        if (notch != 0) {
            m_playback->StepVolume(notch > 0 ? kWheelVolumeStep : -kWheelVolumeStep);
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonPress && playing) {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (watched == m_seekSlider && press->button() == Qt::LeftButton) {
            m_positionAnswerCount = 0;
            // On the handle the press starts a drag, which seeks where it is released.
            if (IsOnSeekHandle(press->position().toPoint())) {
                return QMainWindow::eventFilter(watched, event);
            }
            // Elsewhere it seeks once and is done: the slider must not take it as the start of
            // a drag, whose release would seek a second time.
            SliderMouseLButtonPress(watched, event);
            return true;
        }
        if (watched == m_volumeSlider) {
            SliderMouseLButtonPress(watched, event);
        }
    }
    // The slider still handles the press itself.
    return QMainWindow::eventFilter(watched, event);
}

void DRUI::FullScreenBtn()
{
    if (!m_playback->IsLive()) {
        return;
    }
    if (!m_isFullScreen) {
        m_menuStrip->hide();
        m_controlBar->hide();
        m_playListTable->hide();
        // In full screen the bar floats over the picture, which keeps its size. The picture is
        // a window of its own, so the bar is one too, to be stacked above it.
        m_floatingBarHeight = m_controlBar->height();
        m_mainPanel->layout()->removeWidget(m_controlBar);
        m_controlBar->setAttribute(Qt::WA_NativeWindow);
        showFullScreen();
        m_isFullScreen = true;
        m_fullScreenControlsTimer->start();
    } else {
        LeaveFullScreen();
    }
}

void DRUI::ShowControlsForAWhile()
{
    if (!m_isFullScreen) {
        return;
    }
    PlaceFloatingControlBar();
    m_controlBar->show();
    m_controlBar->raise();
    m_videoSurface->unsetCursor();
    m_fullScreenControlsTimer->start();
}

void DRUI::PlaceFloatingControlBar()
{
    const int height = m_floatingBarHeight;
    m_controlBar->setGeometry(0, m_mainPanel->height() - height, m_mainPanel->width(), height);
}

bool DRUI::IsOnSeekHandle(const QPoint &point) const
{
    QStyleOptionSlider option;
    option.initFrom(m_seekSlider);
    option.orientation = m_seekSlider->orientation();
    option.minimum = m_seekSlider->minimum();
    option.maximum = m_seekSlider->maximum();
    option.sliderPosition = m_seekSlider->sliderPosition();
    option.sliderValue = m_seekSlider->value();
    option.singleStep = m_seekSlider->singleStep();
    option.pageStep = m_seekSlider->pageStep();
    option.upsideDown = m_seekSlider->invertedAppearance() != (option.direction == Qt::RightToLeft);
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
    return m_seekSlider->style()
        ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, m_seekSlider)
        .contains(point);
}

bool DRUI::ControlBarInUse() const
{
    return m_controlBar->underMouse() || m_seekSlider->isSliderDown() ||
           m_volumeSlider->isSliderDown();
}

void DRUI::HideControlsAndPointer()
{
    if (!m_isFullScreen) {
        return;
    }
    if (ControlBarInUse()) {
        m_fullScreenControlsTimer->start();
        return;
    }
    m_controlBar->hide();
    m_videoSurface->setCursor(Qt::BlankCursor);
}

void DRUI::LeaveFullScreen()
{
    m_fullScreenControlsTimer->stop();
    m_videoSurface->unsetCursor();
    // The play list stays hidden until the Tools menu shows it again.
    m_menuStrip->show();
    static_cast<QBoxLayout *>(m_mainPanel->layout())->addWidget(m_controlBar, kControlBarStretch);
    m_controlBar->show();
    showNormal();
    m_isFullScreen = false;
    FitOnScreenSoon();
}

void DRUI::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        event->accept();
    }
}

void DRUI::dragEnterEvent(QDragEnterEvent *event)
{
    event->acceptProposedAction();
}

void DRUI::dropEvent(QDropEvent *event)
{
    // Opened as when handed over by the desktop: all the files, else the first folder as a disc.
    // Something that is no local file is ignored.
    QStringList paths;
    for (const QUrl &url : event->mimeData()->urls()) {
        if (!url.toLocalFile().isEmpty()) {
            paths.append(url.toLocalFile());
        }
    }
    if (!paths.isEmpty()) {
        OpenFromDesktop(paths);
    }
}
