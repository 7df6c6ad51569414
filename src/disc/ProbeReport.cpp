#include "disc/ProbeReport.h"

#include <QFile>
#include <QRegularExpression>

#include <cmath>
#include <map>

namespace {

// ffmpeg's own line: indented, "Duration: ", then the clock, its fraction and the start of the
// medium's own clock. "N/A" is no duration.
const QRegularExpression kDurationLine(
    QStringLiteral("^ *Duration: (\\d{2,6}:\\d{2}:\\d{2})(?:\\.\\d+)?(?:, start: (-?\\d{1,7}\\.\\d{1,6}),)?"),
    QRegularExpression::MultilineOption);

// "  Stream #0:2[0x1101](fre): Audio: ac3, ..." : the index in the file, the id a transport
// stream gives it, the language, the kind.
const QRegularExpression kStreamLine(QStringLiteral(
    "^  Stream #0:(\\d{1,5})(?:\\[0x[0-9a-f]{1,8}\\])?(?:\\(([A-Za-z0-9_-]{1,16})\\))?: "
    "(Video|Audio|Subtitle|Data|Attachment)(?::|$)"));
const QRegularExpression kTitleLine(QStringLiteral("^      title {11}: (.*)$"));
const QRegularExpression kMediumTitleLine(QStringLiteral("^    title {11}: (.*)$"));

QByteArray ReportWithoutName(const QByteArray &standardError, const QString &probedPath)
{
    QByteArray report = standardError;
    // ffmpeg names the file in its report, and a name may hold a line of its own.
    const QByteArray name = QFile::encodeName(probedPath);
    if (!name.isEmpty()) {
        report.replace(name, QByteArray());
    }
    return report;
}

QRegularExpressionMatch DurationLine(const QByteArray &standardError, const QString &probedPath)
{
    return kDurationLine.match(QString::fromLatin1(ReportWithoutName(standardError, probedPath)));
}

struct ReportedStream
{
    QString line;
    QString kind;
    MediumStream stream;
};

} // namespace

QString DurationTextFromProbeOutput(const QByteArray &standardError, const QString &probedPath)
{
    const QRegularExpressionMatch match = DurationLine(standardError, probedPath);
    return match.hasMatch() ? match.captured(1) : QString();
}

qint64 StartTimeMsFromProbeOutput(const QByteArray &standardError, const QString &probedPath)
{
    const QRegularExpressionMatch match = DurationLine(standardError, probedPath);
    if (!match.hasMatch() || !match.hasCaptured(2)) {
        return -1;
    }
    return std::llround(match.captured(2).toDouble() * 1000);
}

MediumStreams StreamsFromProbeOutput(const QByteArray &standardError, const QString &probedPath)
{
    const QStringList lines =
        QString::fromUtf8(ReportWithoutName(standardError, probedPath)).split(QLatin1Char('\n'));
    // By index: a stream of several programs is listed once for each.
    std::map<int, ReportedStream> streams;
    ReportedStream *current = nullptr;
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("  Stream #"))) {
            const QRegularExpressionMatch match = kStreamLine.match(line);
            if (!match.hasMatch()) {
                return {};
            }
            ReportedStream reported{line, match.captured(3), {0, match.captured(2), QString()}};
            const auto [at, added] = streams.emplace(match.captured(1).toInt(), reported);
            if (!added && at->second.line != line) {
                return {};
            }
            current = added ? &at->second : nullptr;
        } else if (!line.startsWith(QLatin1String("    "))) {
            current = nullptr;
        } else if (current != nullptr && current->stream.title.isEmpty()) {
            const QRegularExpressionMatch title = kTitleLine.match(line);
            if (title.hasMatch()) {
                current->stream.title = title.captured(1).trimmed();
            }
        }
    }
    MediumStreams found;
    for (auto &[index, reported] : streams) {
        QVector<MediumStream> *kind = reported.kind == QLatin1String("Audio")      ? &found.audio
                                      : reported.kind == QLatin1String("Subtitle") ? &found.subtitles
                                                                                   : nullptr;
        if (kind != nullptr) {
            reported.stream.id = static_cast<int>(kind->size());
            kind->append(reported.stream);
        }
    }
    return found;
}

QString MediumTitleFromProbeOutput(const QByteArray &standardError, const QString &probedPath)
{
    const QStringList lines =
        QString::fromUtf8(ReportWithoutName(standardError, probedPath)).split(QLatin1Char('\n'));
    // The medium's own tags come first, under the one "Metadata:" line of its own indent.
    bool inMediumTags = false;
    for (const QString &line : lines) {
        if (line == QLatin1String("  Metadata:")) {
            inMediumTags = true;
        } else if (!line.startsWith(QLatin1String("    "))) {
            if (inMediumTags) {
                return QString();
            }
        } else if (inMediumTags) {
            const QRegularExpressionMatch title = kMediumTitleLine.match(line);
            if (title.hasMatch()) {
                return title.captured(1).trimmed();
            }
        }
    }
    return QString();
}
