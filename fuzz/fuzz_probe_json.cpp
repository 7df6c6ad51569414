// libFuzzer target: the probe's JSON report reader on any bytes. Besides the sanitizers'
// findings, a duration that is not a clock text, a title or stream text holding a line break,
// a language that is no code, or streams not numbered 0, 1, ... per kind count as a crash.
#include "disc/ProbeReport.h"

#include <QRegularExpression>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool HasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray report =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const ProbeFindings findings = FindingsFromProbeReport(report);
    static const QRegularExpression clock(QStringLiteral("^\\d{2,6}:[0-5]\\d:[0-5]\\d$"));
    static const QRegularExpression language(QStringLiteral("^[A-Za-z0-9_-]{1,16}$"));
    if (!findings.durationText.isEmpty() && !clock.match(findings.durationText).hasMatch()) {
        std::abort();
    }
    // Seven digits of seconds either way, as the figure is read.
    if (findings.startMs &&
        (*findings.startMs < -10000000000LL || *findings.startMs > 10000000000LL)) {
        std::abort();
    }
    if (HasLineBreak(findings.title)) {
        std::abort();
    }
    if (findings.streams) {
        for (const QVector<MediumStream> *kind :
             {&findings.streams->audio, &findings.streams->subtitles}) {
            for (int k = 0; k < kind->size(); ++k) {
                const MediumStream &stream = kind->at(k);
                if (stream.id != k || HasLineBreak(stream.title) ||
                    (!stream.language.isEmpty() && !language.match(stream.language).hasMatch())) {
                    std::abort();
                }
            }
        }
    }
    return 0;
}
