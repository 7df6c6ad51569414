// libFuzzer target: the movie playlist reader on any bytes. Besides the sanitizers' findings,
// a result the reader does not define, a refused input that changed the caller's contents, or
// an accepted one with more items or chapters than a playlist holds, counts as a crash.
#include "common/PlaylistSentinel.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // No copy: a read one byte past the input reaches past libFuzzer's buffer.
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QString why;
    if (ParseIntoSentinel(bytes, &why) < 0) {
        std::abort();
    }
    return 0;
}
