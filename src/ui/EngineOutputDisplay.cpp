#include "ui/DRUI.h"

#include "engine/EngineVocabulary.h"
#include "util/LanguageName.h"
#include "util/TextConversion.h"
#include "util/TimeText.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSlider>

#include <algorithm>
#include <limits>

namespace {

// The slider follows the clock once every this many position answers.
constexpr int kAnswersPerSliderMove = 5;

int ClampToInt(qint64 value)
{
    return static_cast<int>(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

// "Audio 2", or "Audio 2 – Deutsch, Director's cut" when the medium names the stream.
QString TrackEntryText(const char *entryFormat, int number, const MediumStream &stream)
{
    QStringList names;
    for (const QString &name : {LanguageName(stream.language), stream.title}) {
        // A title that only repeats the language is said once.
        if (!name.isEmpty() && !names.contains(name, Qt::CaseInsensitive)) {
            names.append(name);
        }
    }
    const QString text = QString::asprintf(entryFormat, number);
    return names.isEmpty() ? text
                           : text + QStringLiteral(" \u2013 ") +
                                 MenuEntryText(names.join(QStringLiteral(", ")));
}

// "Disable" first, then one numbered entry per stream; the given entry is ticked until the
// engine says what it shows.
void FillTrackMenu(QMenu *menu, const char *entryFormat, const QVector<MediumStream> &streams,
                   int ticked)
{
    menu->clear();
    menu->addAction(QStringLiteral("Disable"))->setData(0);
    for (int k = 1; k <= streams.size(); ++k) {
        menu->addAction(TrackEntryText(entryFormat, k, streams[k - 1]))->setData(k);
    }
    QAction *tick = menu->actions().at(ticked);
    tick->setCheckable(true);
    tick->setChecked(true);
}

} // namespace

void DRUI::DoRefreshGui()
{
    m_engine->Poll();
}

qint64 DRUI::ShownClockSeconds() const
{
    const qint64 seconds = m_engine->ClockMs() / 1000;
    return DurationSec() > 0 ? std::min(seconds, DurationSec()) : seconds;
}

void DRUI::RenderClock()
{
    m_elapsedLabel->setText(FormatTime(ShownClockSeconds()) + QLatin1Char(' '));
}

void DRUI::OnPositionAnswered()
{
    // A held handle follows the pointer, not the clock.
    if (++m_positionAnswerCount == kAnswersPerSliderMove && !m_seekSlider->isSliderDown()) {
        m_seekSlider->setValue(ClampToInt(ShownClockSeconds()));
        m_positionAnswerCount = 0;
    }
}

void DRUI::OnLengthAnswered(int seconds)
{
    // A length nothing else gave (a DVD's, a file the probe could not measure) is learned from
    // the engine, once.
    if (m_playing.durationSec == 0 && seconds > 0) {
        m_playing.durationSec = seconds;
        // Kept for the next start only when it is still the source chosen.
        if (m_whatPlays->Current().path == m_playing.path) {
            m_whatPlays->LearnLength(seconds);
        }
        m_seekSlider->setRange(0, seconds);
    }
    RenderClock();
    m_totalLabel->setText(QLatin1Char(' ') + FormatTime(DurationSec()));
}

int DRUI::EngineStreamId(const QVector<MediumStream> &streams, int entry, int none) const
{
    if (entry <= 0) {
        return none;
    }
    // Entries a disc's own stream lists made may outnumber what the engine announced.
    return entry <= streams.size() ? streams[entry - 1].id : entry - 1;
}

void DRUI::TickTrack(QMenu *menu, const QVector<MediumStream> &streams, int streamId)
{
    for (QAction *entry : menu->actions()) {
        const int number = entry->data().toInt();
        const bool shown = number == 0                    ? streamId < 0
                           : number >= kSubtitleFileEntry ? false
                                                          : EngineStreamId(streams, number, -1) ==
                                                                streamId;
        entry->setCheckable(entry->isCheckable() || shown);
        entry->setChecked(shown);
    }
}

void DRUI::ApplyTrackChoicesAtVideoStart()
{
    const QVector<MediumStream> &audio = m_engine->AudioStreams();
    const QVector<MediumStream> &subtitles = m_engine->SubtitleStreams();
    // Menus a title's own track lists already filled with the right count stay as they are.
    if (!audio.isEmpty() && m_audioTrackMenu->actions().size() != audio.size() + 1) {
        FillTrackMenu(m_audioTrackMenu, "Audio %d", audio, 1);
    }
    if (!subtitles.isEmpty() && m_subtitleTrackMenu->actions().size() != subtitles.size() + 1) {
        FillTrackMenu(m_subtitleTrackMenu, "Subtitle %d", subtitles, 0);
    }
    // Choices stored for this title are applied; the ticks then show what the engine answers
    // it shows, a stream the medium marks as its default included.
    if (m_subtitleIndex >= 0) {
        m_engine->Send(Engine::kSubtitleKeepPause,
                       EngineStreamId(subtitles, m_subtitleIndex + 1, -1));
    }
    if (m_audioIndex >= 0) {
        m_engine->Send(Engine::kSwitchAudioKeepPause, EngineStreamId(audio, m_audioIndex + 1, -2));
    }
    m_engine->AskForCurrentTracks();
}
