#include "disc/ProbeReport.h"

#include "util/TimeText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QRegularExpression>

#include <cmath>
#include <map>

namespace {

// The longest duration a clock text of six hour digits shows.
constexpr qint64 kLongestSeconds = 999999LL * 3600 + 59 * 60 + 59;

// ffprobe writes seconds as "%f": digits, a point, six decimals.
const QRegularExpression kSeconds(QStringLiteral("^(\\d{1,10})(?:\\.\\d{1,6})?$"));
const QRegularExpression kSignedSeconds(QStringLiteral("^-?\\d{1,7}(?:\\.\\d{1,6})?$"));
const QRegularExpression kLanguage(QStringLiteral("^[A-Za-z0-9_-]{1,16}$"));

QString FirstLine(const QJsonValue &text)
{
    // Character by character: a pattern finds nothing in text that is no valid UTF-16, such as
    // a JSON escape of half a surrogate pair, and the whole text would pass for one line.
    const QString whole = text.toString();
    qsizetype end = 0;
    while (end < whole.size() && whole[end] != u'\n' && whole[end] != u'\r') {
        ++end;
    }
    return whole.left(end).trimmed();
}

QString DurationText(const QJsonValue &duration)
{
    const QRegularExpressionMatch match = kSeconds.match(duration.toString());
    if (!match.hasMatch()) {
        return QString();
    }
    const qint64 seconds = match.captured(1).toLongLong();
    return seconds <= kLongestSeconds ? FormatTime(seconds) : QString();
}

std::optional<qint64> StartMs(const QJsonValue &start)
{
    const QString text = start.toString();
    if (!kSignedSeconds.match(text).hasMatch()) {
        return std::nullopt;
    }
    return std::llround(text.toDouble() * 1000);
}

std::optional<MediumStreams> Streams(const QJsonValue &list)
{
    if (!list.isArray()) {
        return std::nullopt;
    }
    // By index, so that the file's order counts whatever the list's.
    std::map<int, QJsonObject> streams;
    for (const QJsonValue &entry : list.toArray()) {
        const QJsonObject stream = entry.toObject();
        const int index = stream.value(QLatin1String("index")).toInt(-1);
        if (index < 0 || !streams.emplace(index, stream).second) {
            return std::nullopt;
        }
    }
    MediumStreams found;
    for (const auto &[index, stream] : streams) {
        const QString type = stream.value(QLatin1String("codec_type")).toString();
        QVector<MediumStream> *kind = type == QLatin1String("audio")      ? &found.audio
                                      : type == QLatin1String("subtitle") ? &found.subtitles
                                                                          : nullptr;
        if (kind == nullptr) {
            continue;
        }
        const QJsonObject tags = stream.value(QLatin1String("tags")).toObject();
        const QString language = tags.value(QLatin1String("language")).toString();
        kind->append({static_cast<int>(kind->size()),
                      kLanguage.match(language).hasMatch() ? language : QString(),
                      FirstLine(tags.value(QLatin1String("title")))});
    }
    return found;
}

} // namespace

ProbeFindings FindingsFromProbeReport(const QByteArray &report)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(report, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return {};
    }
    const QJsonObject root = document.object();
    const QJsonObject format = root.value(QLatin1String("format")).toObject();
    ProbeFindings findings;
    findings.durationText = DurationText(format.value(QLatin1String("duration")));
    findings.startMs = StartMs(format.value(QLatin1String("start_time")));
    findings.streams = Streams(root.value(QLatin1String("streams")));
    findings.title =
        FirstLine(format.value(QLatin1String("tags")).toObject().value(QLatin1String("title")));
    return findings;
}
