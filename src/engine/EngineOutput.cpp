#include "engine/EngineOutput.h"

#include "engine/EngineVocabulary.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

int LengthValue(const QByteArray &value)
{
    bool converted = false;
    const double seconds = value.trimmed().toDouble(&converted);
    if (!converted || !std::isfinite(seconds)) {
        return 0;
    }
    // A length past what an int holds is not a length; keep it in range rather than overflow.
    constexpr double highest = std::numeric_limits<int>::max();
    constexpr double lowest = std::numeric_limits<int>::min();
    return static_cast<int>(std::trunc(std::clamp(seconds, lowest, highest)));
}

EngineEvent Event(EngineLine kind, int lengthSeconds = 0, const QByteArray &engineFile = {})
{
    EngineEvent event;
    event.kind = kind;
    event.lengthSeconds = lengthSeconds;
    event.engineFile = engineFile;
    return event;
}

bool Matches(const QRegularExpression &shape, const QString &text)
{
    return shape.match(text).hasMatch();
}

} // namespace

EngineEvent ClassifyEngineLine(const QByteArray &rawLine)
{
    QByteArray line = rawLine;
    while (line.endsWith('\n') || line.endsWith('\r')) {
        line.chop(1);
    }
    if (line.contains('\n') || line.contains('\r')) {
        return Event(EngineLine::Other);
    }
    if (line.startsWith(Engine::kTimePositionAnswer)) {
        return Event(EngineLine::TimePosition);
    }
    if (line.startsWith(Engine::kLengthAnswer)) {
        return Event(EngineLine::Length, LengthValue(line.mid(qstrlen(Engine::kLengthAnswer))));
    }
    if (line.startsWith(Engine::kPercentPositionAnswer)) {
        return Event(EngineLine::PercentPosition);
    }
    if (line == Engine::kEndOfFileLine) {
        return Event(EngineLine::EndOfFile);
    }
    if (line == Engine::kQuitLine) {
        return Event(EngineLine::Quit);
    }

    // Latin-1 keeps every byte as one character, so the shapes see the bytes as they came.
    const QString text = QString::fromLatin1(line);
    static const QRegularExpression screenshot(
        QStringLiteral("^\\*\\*\\* screenshot '([^']+)' \\*\\*\\*$"));
    if (const QRegularExpressionMatch found = screenshot.match(text); found.hasMatch()) {
        return Event(EngineLine::Screenshot, 0, found.captured(1).toLatin1());
    }
    static const QRegularExpression playing(QStringLiteral("^Playing .+\\.$"));
    if (Matches(playing, text)) {
        return Event(EngineLine::Playing);
    }
    static const QRegularExpression audio(
        QStringLiteral("^\\[[a-z0-9_]+\\] stream [0-9]+: audio \\(.*\\), -aid [0-9]+(, .*)?$"));
    if (Matches(audio, text)) {
        return Event(EngineLine::AudioStream);
    }
    static const QRegularExpression subtitle(
        QStringLiteral("^\\[[a-z0-9_]+\\] stream [0-9]+: subtitle \\(.*\\), -sid [0-9]+(, .*)?$"));
    if (Matches(subtitle, text)) {
        return Event(EngineLine::SubtitleStream);
    }
    static const QRegularExpression video(QStringLiteral("^VIDEO:  \\S.* [0-9]+x[0-9]+ .*$"));
    if (Matches(video, text)) {
        return Event(EngineLine::VideoStarted);
    }
    return Event(EngineLine::Other);
}
