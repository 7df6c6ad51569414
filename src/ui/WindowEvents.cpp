#include "ui/DRUI.h"

#include <QApplication>
#include <QCloseEvent>
#include <QResizeEvent>
#include <QSlider>

void DRUI::resizeEvent(QResizeEvent *event)
{
    centralWidget->resize(event->size());
    QMainWindow::resizeEvent(event);
}

void DRUI::closeEvent(QCloseEvent *event)
{
    // Closing by the frame's button must not leave the engine running either.
    ShutDownEngine();
    event->accept();
    QApplication::quit();
}

bool DRUI::eventFilter(QObject *watched, QEvent *event)
{
    const bool playing = m_engine != nullptr && !m_isStopped;
    if (event->type() == QEvent::MouseButtonPress && playing) {
        if (watched == m_seekSlider) {
            m_positionAnswerCount = 0;
            SliderMouseLButtonPress(watched, event);
        } else if (watched == m_volumeSlider) {
            SliderMouseLButtonPress(watched, event);
        }
    }
    // The slider still handles the press itself.
    return QMainWindow::eventFilter(watched, event);
}
