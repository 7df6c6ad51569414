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

qint64 PositionValue(const QByteArray &value)
{
    bool converted = false;
    const double seconds = value.trimmed().toDouble(&converted);
    // Ten years is no position of any medium.
    constexpr double kLongest = 10.0 * 366 * 24 * 3600;
    if (!converted || !std::isfinite(seconds) || seconds < 0 || seconds > kLongest) {
        return -1;
    }
    return static_cast<qint64>(std::llround(seconds * 1000));
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
        EngineEvent event = Event(EngineLine::TimePosition);
        event.positionMs = PositionValue(line.mid(qstrlen(Engine::kTimePositionAnswer)));
        return event;
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
    if (line == Engine::kPlaybackStartedLine) {
        return Event(EngineLine::PlaybackStarted);
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
    // "[lavf] stream 2: audio (vorbis), -aid 1, -alang ger, Director's cut"
    static const QRegularExpression stream(QStringLiteral(
        "^\\[[a-z0-9_]+\\] stream [0-9]+: (audio|subtitle) \\(.*\\), -(aid|sid) ([0-9]{1,9})"
        "(, -(alang|slang) ([^ ,]+))?(, (.+))?$"));
    if (const QRegularExpressionMatch found = stream.match(text); found.hasMatch()) {
        const bool audio = found.captured(1) == QLatin1String("audio");
        if (audio != (found.captured(2) == QLatin1String("aid")) ||
            (found.hasCaptured(5) && audio != (found.captured(5) == QLatin1String("alang")))) {
            return Event(EngineLine::Other);
        }
        EngineEvent event = Event(audio ? EngineLine::AudioStream : EngineLine::SubtitleStream);
        event.streamId = found.captured(3).toInt();
        event.language = found.captured(6).toLatin1();
        event.title = found.captured(8).toLatin1();
        return event;
    }
    static const QRegularExpression trackAnswer(
        QStringLiteral("^ANS_(switch_audio|sub_demux|sub_file)=(-?[0-9]{1,9})$"));
    if (const QRegularExpressionMatch found = trackAnswer.match(text); found.hasMatch()) {
        const QString property = found.captured(1);
        EngineEvent event = Event(property == QLatin1String("switch_audio") ? EngineLine::AudioAnswer
                                  : property == QLatin1String("sub_demux")
                                      ? EngineLine::SubtitleAnswer
                                      : EngineLine::SubtitleFileAnswer);
        event.streamId = found.captured(2).toInt();
        return event;
    }
    // "ID_DVD_TITLE_2_LENGTH=8.000"
    static const QRegularExpression dvdTitle(
        QStringLiteral("^ID_DVD_TITLE_([0-9]{1,2})_LENGTH=([0-9]{1,7}(\\.[0-9]{1,6})?)$"));
    if (const QRegularExpressionMatch found = dvdTitle.match(text); found.hasMatch()) {
        const int number = found.captured(1).toInt();
        if (number < 1 || number > kMaxDvdTitles) {
            return Event(EngineLine::Other);
        }
        EngineEvent event = Event(EngineLine::DvdTitleLength);
        event.titleNumber = number;
        event.positionMs = PositionValue(found.captured(2).toLatin1());
        return event;
    }
    // "CHAPTERS: 00:00:00.000,00:00:03.000,"
    static const QRegularExpression chapters(
        QStringLiteral("^CHAPTERS: ((\\d{2}:\\d{2}:\\d{2}\\.\\d{3},){1,999})$"));
    if (const QRegularExpressionMatch found = chapters.match(text); found.hasMatch()) {
        EngineEvent event = Event(EngineLine::Chapters);
        qint64 previous = -1;
        for (const QString &start : found.captured(1).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const qint64 ms = start.mid(0, 2).toLongLong() * 3600000 +
                              start.mid(3, 2).toLongLong() * 60000 +
                              start.mid(6, 2).toLongLong() * 1000 + start.mid(9, 3).toLongLong();
            // Chapters run forward; a list that does not is no list of the engine's.
            if (ms <= previous) {
                return Event(EngineLine::Other);
            }
            event.chapterStartsMs.append(ms);
            previous = ms;
        }
        return event;
    }
    static const QRegularExpression video(QStringLiteral("^VIDEO:  \\S.* [0-9]+x[0-9]+ .*$"));
    if (Matches(video, text)) {
        return Event(EngineLine::VideoStarted);
    }
    return Event(EngineLine::Other);
}
