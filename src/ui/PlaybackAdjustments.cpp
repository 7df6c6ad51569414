#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "engine/EngineVocabulary.h"
#include "platform/ExternalPrograms.h"
#include "ui/MenuData.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kSpeedStep = 1.1;
constexpr double kSlowestSpeed = 0.25;
constexpr double kFastestSpeed = 4.0;
constexpr int kDelayStepMs = 100;

// A number with a fraction as the engine reads it, whatever the user's locale.
QByteArray EngineNumber(double value)
{
    return QByteArray::number(value, 'f', 3);
}

QString DelayText(const char *textKey, int delayMs)
{
    return QStringLiteral("%1 %2 ms").arg(GetText(textKey)).arg(delayMs);
}

// The program a name stands for on this system, or a word saying there is none.
QString FoundProgram(const QString &program)
{
    const QString found = program.contains(QLatin1Char('/'))
                              ? program
                              : QStandardPaths::findExecutable(program);
    return found.isEmpty() ? program + QStringLiteral(" (") + GetText("MainWnd/NotFound") +
                                 QLatin1Char(')')
                           : found;
}

} // namespace

void DRUI::ForgetAdjustments()
{
    // Each medium starts with the engine's own speed, delays and aspect ratio.
    m_speed = 1.0;
    m_audioDelayMs = 0;
    m_subtitleDelayMs = 0;
    for (QAction *entry : m_aspectMenu->actions()) {
        entry->setChecked(entry->data().toString() == MenuData::kAspectAuto);
    }
}

void DRUI::ChangeSpeed(int steps)
{
    if (!m_engine->IsLive()) {
        return;
    }
    const double speed =
        steps == 0 ? 1.0
                   : std::clamp(std::round(m_speed * std::pow(kSpeedStep, steps) * 100) / 100,
                                kSlowestSpeed, kFastestSpeed);
    if (m_engine->Send(Engine::kSpeedSet, EngineNumber(speed).constData())) {
        m_speed = speed;
        m_engine->ShowOnScreen(QStringLiteral("%1 %2\u00d7").arg(GetText("MainWnd/Speed"))
                                   .arg(speed, 0, 'f', 2));
    }
}

void DRUI::ShiftAudioDelay(int steps)
{
    ShiftDelay(m_audioDelayMs, steps, Engine::kAudioDelaySet, "MainWnd/AudioDelay");
}

void DRUI::ShiftSubtitleDelay(int steps)
{
    ShiftDelay(m_subtitleDelayMs, steps, Engine::kSubtitleDelaySet, "MainWnd/SubtitleDelay");
}

void DRUI::ShiftDelay(int &delayMs, int steps, const char *command, const char *textKey)
{
    const int shifted = delayMs + steps * kDelayStepMs;
    if (m_engine->IsLive() &&
        m_engine->Send(command, EngineNumber(shifted / 1000.0).constData())) {
        delayMs = shifted;
        m_engine->ShowOnScreen(DelayText(textKey, shifted));
    }
}

void DRUI::ChooseAspect(QAction *entry)
{
    if (!m_engine->IsLive()) {
        return;
    }
    const QString ratio = entry->data().toString();
    const QByteArray value = ratio == MenuData::kAspect4To3    ? EngineNumber(4.0 / 3)
                             : ratio == MenuData::kAspect16To9 ? EngineNumber(16.0 / 9)
                             : ratio == MenuData::kAspect235   ? EngineNumber(2.35)
                                                               : QByteArray("-1");
    if (m_engine->Send(Engine::kAspectSet, value.constData())) {
        for (QAction *other : m_aspectMenu->actions()) {
            other->setChecked(other == entry);
        }
        m_engine->ShowOnScreen(GetText("MainWnd/AspectRatio") + QLatin1Char(' ') +
                               entry->text());
    }
}

void DRUI::NextAspect()
{
    const QList<QAction *> entries = m_aspectMenu->actions();
    const auto ticked =
        std::find_if(entries.begin(), entries.end(), [](QAction *e) { return e->isChecked(); });
    const qsizetype next = ticked == entries.end() ? 0 : (ticked - entries.begin() + 1) % entries.size();
    ChooseAspect(entries.at(next));
}

void DRUI::StayOnTop(bool onTop)
{
    // Changing the flags hides the window; it comes back where it was.
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (shown) {
        show();
    }
}

void DRUI::ShowAbout()
{
    QMessageBox about(this);
    about.setWindowTitle(GetText("MainWnd/About"));
    about.setIcon(QMessageBox::Information);
    about.setTextFormat(Qt::PlainText);
    about.setText(QStringLiteral("%1 %2").arg(GetText("MainWnd/ProTitle"),
                                               QStringLiteral(TAVRIX_VERSION)));
    about.setInformativeText(
        QStringLiteral("%1: %2\n%3: %4\n\n%5")
            .arg(GetText("MainWnd/Engine"), FoundProgram(EngineProgram()),
                 GetText("MainWnd/Probe"), FoundProgram(ProbeProgram()),
                 GetText("MainWnd/Licences")));
    about.exec();
}
