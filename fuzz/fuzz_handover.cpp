// libFuzzer target: the hand-over message decoder on any bytes. Besides the sanitizers' findings,
// a message taken whole that breaks the message's limits or shape counts as a crash.
#include "platform/HandOverMessage.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // No copy: a read one byte past the input reaches past libFuzzer's buffer.
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const HandOverMessage::Decoded message = HandOverMessage::Decode(bytes);
    if (message.state != HandOverMessage::State::Complete) {
        if (!message.paths.isEmpty()) {
            std::abort();
        }
        return 0;
    }
    // One NUL after each path and one more at the end, nothing after it.
    if (bytes.size() > HandOverMessage::kMaxBytes ||
        message.paths.size() > HandOverMessage::kMaxPaths || !bytes.endsWith('\0') ||
        bytes.count('\0') != message.paths.size() + 1) {
        std::abort();
    }
    for (const QString &path : message.paths) {
        if (!path.startsWith(QLatin1Char('/'))) {
            std::abort();
        }
    }
    return 0;
}
