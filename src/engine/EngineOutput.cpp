#include "engine/EngineOutput.h"

#include "engine/EngineVocabulary.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

int LengthValue(const QByteArray &line)
{
    QByteArray text = line;
    while (text.endsWith('\n') || text.endsWith('\r')) {
        text.chop(1);
    }
    bool converted = false;
    const double value = text.mid(Engine::kLengthValueOffset).trimmed().toDouble(&converted);
    if (!converted || !std::isfinite(value)) {
        return 0;
    }
    // A length past what an int holds is not a length; keep it in range rather than overflow.
    constexpr double highest = std::numeric_limits<int>::max();
    constexpr double lowest = std::numeric_limits<int>::min();
    return static_cast<int>(std::trunc(std::clamp(value, lowest, highest)));
}

} // namespace

EngineEvent ClassifyEngineLine(const QByteArray &line)
{
    if (line.startsWith(Engine::kTimePositionAnswer)) {
        return {EngineLine::TimePosition};
    }
    if (line.startsWith(Engine::kLengthAnswer)) {
        return {EngineLine::Length, LengthValue(line)};
    }
    if (line.startsWith(Engine::kPercentPositionAnswer)) {
        return {EngineLine::PercentPosition};
    }
    if (line.contains(Engine::kPlaying)) {
        return {EngineLine::Playing};
    }
    if (line.contains(Engine::kEndOfFile) || line.contains(Engine::kQuitReason)) {
        return {EngineLine::EndOfPlayback};
    }
    if (line.contains(Engine::kScreenshotWritten)) {
        return {EngineLine::Screenshot};
    }
    if (line.contains(Engine::kAudioStream)) {
        return {EngineLine::AudioStream};
    }
    if (line.contains(Engine::kSubtitleStream)) {
        return {EngineLine::SubtitleStream};
    }
    if (line.contains(Engine::kVideoStarted)) {
        return {EngineLine::VideoStarted};
    }
    return {};
}
