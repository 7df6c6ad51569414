// libFuzzer target: the probe report parser on any bytes. Besides the sanitizers' findings, a
// duration that is not a clock text, or streams not numbered 0, 1, ... per kind or named with a
// line break, count as a crash.
#include "disc/ProbeReport.h"

#include <QRegularExpression>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first line, up to 64 bytes, names the probed file; the rest is the report.
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype end = input.indexOf('\n');
    const QString path =
        end > 0 && end <= 64 ? QString::fromLocal8Bit(input.left(end)) : QString();
    const QByteArray report = end > 0 && end <= 64 ? input.mid(end + 1) : input;
    static const QRegularExpression clock(QStringLiteral("^\\d{2,6}:\\d{2}:\\d{2}$"));
    const QString duration = DurationTextFromProbeOutput(report, path);
    if (!duration.isEmpty() && !clock.match(duration).hasMatch()) {
        std::abort();
    }
    // A start figure comes only with a duration.
    if (StartTimeMsFromProbeOutput(report, path) != -1 && duration.isEmpty()) {
        std::abort();
    }
    const MediumStreams streams = StreamsFromProbeOutput(report, path);
    for (const QVector<MediumStream> *kind : {&streams.audio, &streams.subtitles}) {
        for (int k = 0; k < kind->size(); ++k) {
            const MediumStream &stream = kind->at(k);
            if (stream.id != k || stream.title.contains(QLatin1Char('\n')) ||
                stream.language.contains(QLatin1Char('\n'))) {
                std::abort();
            }
        }
    }
    return 0;
}
