// libFuzzer target: the engine-line classifier on any bytes. Besides the sanitizers' findings, an
// event that breaks what the session relies on counts as a crash.
#include "engine/EngineOutput.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray line =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const EngineEvent event = ClassifyEngineLine(line);
    // A line break inside a line makes it no line of the engine's.
    QByteArray body = line;
    while (body.endsWith('\n') || body.endsWith('\r')) {
        body.chop(1);
    }
    if (event.kind != EngineLine::Other && (body.contains('\n') || body.contains('\r'))) {
        std::abort();
    }
    switch (event.kind) {
    case EngineLine::Chapters: {
        if (event.chapterStartsMs.isEmpty() || event.chapterStartsMs.size() > kMaxChapters) {
            std::abort();
        }
        for (qsizetype i = 1; i < event.chapterStartsMs.size(); ++i) {
            if (event.chapterStartsMs[i] <= event.chapterStartsMs[i - 1]) {
                std::abort();
            }
        }
        break;
    }
    case EngineLine::DvdTitleLength:
        if (event.titleNumber < 1 || event.titleNumber > kMaxDvdTitles) {
            std::abort();
        }
        break;
    case EngineLine::AudioStream:
    case EngineLine::SubtitleStream:
        if (event.streamId < 0) {
            std::abort();
        }
        break;
    case EngineLine::TimePosition:
        if (event.positionMs < -1) {
            std::abort();
        }
        break;
    case EngineLine::Screenshot:
        if (event.engineFile.isEmpty() || event.engineFile.contains('\'')) {
            std::abort();
        }
        break;
    default: break;
    }
    return 0;
}
