// libFuzzer target: the disc metadata reader on any bytes. Besides the sanitizers' findings, a
// name or thumbnail longer than the limit, or one that is not in the input, counts as a crash.
#include "disc/DiscMetadata.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // No copy: a read one byte past the input reaches past libFuzzer's buffer.
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const DiscMetadata metadata = ParseDiscMetadata(bytes);
    for (const QByteArray *text : {&metadata.name, &metadata.thumbnail}) {
        if (text->size() > kMaxDiscMetadataText || !bytes.contains(*text)) {
            std::abort();
        }
    }
    return 0;
}
