#include "ui/DRUI.h"

#include "engine/EngineOutput.h"
#include "engine/EngineVocabulary.h"
#include "ui/Look.h"
#include "util/TimeText.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QSlider>
#include <QTimer>

#include <limits>
#include <optional>

namespace {

// The window's clock advances by this much per poll; the engine's own position is only a tick.
constexpr qint64 kClockStepMs = 507;
// The slider follows the clock once every this many position answers.
constexpr int kAnswersPerSliderMove = 5;
// Questions the engine has not answered yet are counted up to this many.
constexpr int kMaxAnswersDue = 4;

int ClampToInt(qint64 value)
{
    return static_cast<int>(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

// Checks the entry at the given position and unchecks the others; a position the menu does
// not have checks nothing.
void CheckOnly(QMenu *menu, int position)
{
    const QList<QAction *> entries = menu->actions();
    for (int i = 0; i < entries.size(); ++i) {
        if (i == position) {
            entries[i]->setCheckable(true);
        }
        entries[i]->setChecked(i == position);
    }
}

// "Disable" first, then one numbered entry per stream.
void FillTrackMenu(QMenu *menu, const char *entryFormat, int count)
{
    menu->clear();
    menu->addAction(QStringLiteral("Disable"))->setData(0);
    for (int k = 1; k <= count; ++k) {
        menu->addAction(QString::asprintf(entryFormat, k))->setData(k);
    }
}

} // namespace

void DRUI::DoRefreshGui()
{
    if (m_engine == nullptr) {
        return;
    }
    m_elapsedMs += kClockStepMs;
    if (SendEngineCommand(Engine::kGetLength)) {
        m_lengthAnswersDue = std::min(m_lengthAnswersDue + 1, kMaxAnswersDue);
    }
    if (SendEngineCommand(Engine::kGetPosition)) {
        m_positionAnswersDue = std::min(m_positionAnswersDue + 1, kMaxAnswersDue);
    }
}

void DRUI::MPlayerDataRecieve()
{
    if (m_engine == nullptr) {
        return;
    }
    // Read everything at once, so that the process object's own buffer never grows.
    m_engineOutput.Append(m_engine->readAllStandardOutput());
    if (m_engineOutputHeld) {
        return;
    }
    const QProcess *engine = m_engine;
    while (engine == m_engine) {
        const std::optional<QByteArray> line = m_engineOutput.NextLine();
        if (!line) {
            break;
        }
        HandleEngineLine(*line);
    }
}

void DRUI::HandleEngineLine(const QByteArray &line)
{
    const EngineEvent event = ClassifyEngineLine(line);
    switch (event.kind) {
    case EngineLine::TimePosition:
        if (m_positionAnswersDue == 0) {
            break;
        }
        --m_positionAnswersDue;
        m_positionText = QString::number(m_elapsedMs / 1000);
        if (++m_positionAnswerCount == kAnswersPerSliderMove) {
            m_seekSlider->setValue(ClampToInt(m_positionText.toLongLong()));
            m_positionAnswerCount = 0;
        }
        break;
    case EngineLine::Length:
        if (m_lengthAnswersDue == 0) {
            break;
        }
        --m_lengthAnswersDue;
        m_engineLengthSec = event.lengthSeconds;
        // A DVD's length is learned from the engine, once.
        if (m_sourceKind == kSourceDvd && m_durationSec == 0) {
            m_durationSec = event.lengthSeconds;
            m_seekSlider->setRange(0, event.lengthSeconds);
        }
        m_elapsedLabel->setText(FormatTime(m_positionText.toLongLong()) + QLatin1Char(' '));
        m_totalLabel->setText(QLatin1Char(' ') + FormatTime(m_durationSec));
        break;
    case EngineLine::Playing:
        m_audioTrackCount = 0;
        m_subtitleTrackCount = 0;
        break;
    case EngineLine::Screenshot: SaveSnapshot(event.engineFile); break;
    case EngineLine::AudioStream:
        // Audio announced after the first subtitle belongs to no menu.
        if (m_subtitleTrackCount == 0) {
            ++m_audioTrackCount;
        }
        break;
    case EngineLine::SubtitleStream: ++m_subtitleTrackCount; break;
    case EngineLine::VideoStarted: ApplyTrackChoicesAtVideoStart(); break;
    // The end of playback is the engine process ending (OnEngineFinished), not a line.
    case EngineLine::EndOfFile:
    case EngineLine::Quit:
    case EngineLine::PercentPosition:
    case EngineLine::Other: break;
    }
}

void DRUI::EndOfPlayback()
{
    m_seekSlider->setValue(0);
    m_elapsedLabel->setText(QStringLiteral("00:00:00 "));
    m_totalLabel->setText(QLatin1Char(' ') + FormatTime(m_durationSec));
    SetPlayButtonImage(Images::kPlay);
    m_currentPath.clear();
    m_isPlaying = false;
    StopBtn();
}

void DRUI::ApplyTrackChoicesAtVideoStart()
{
    if (m_subtitleIndex >= 0) {
        SendEngineCommand(Engine::kSubtitle, m_subtitleIndex);
        CheckOnly(m_subtitleTrackMenu, m_subtitleIndex + 1);
    }
    if (m_audioIndex >= 0) {
        SendEngineCommand(Engine::kSwitchAudio, m_audioIndex);
        CheckOnly(m_audioTrackMenu, m_audioIndex + 1);
    }
    // Menus a title's own track lists already filled with the right count stay as they are.
    if (m_audioTrackCount > 0 && m_audioTrackMenu->actions().size() != m_audioTrackCount + 1) {
        FillTrackMenu(m_audioTrackMenu, "Audio %d", m_audioTrackCount);
        QAction *firstAudio = m_audioTrackMenu->actions().at(1);
        firstAudio->setCheckable(true);
        firstAudio->setChecked(true);
        SendEngineCommand(Engine::kSwitchAudioKeepPause, 0);
    }
    if (m_subtitleTrackCount > 0 &&
        m_subtitleTrackMenu->actions().size() != m_subtitleTrackCount + 1) {
        FillTrackMenu(m_subtitleTrackMenu, "Subtitle %d", m_subtitleTrackCount);
        QAction *disable = m_subtitleTrackMenu->actions().at(0);
        disable->setCheckable(true);
        disable->setChecked(true);
    }
}
