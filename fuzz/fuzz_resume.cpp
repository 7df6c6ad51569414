// libFuzzer target: the file of resume places on any bytes, looked up by the key of its first
// line. Besides the sanitizers' findings, a place that is not a positive number of seconds counts
// as a crash.
#include "UserFile.h"

#include "engine/ResumeStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString file = WriteUserFile("resume.txt", data, size);
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QByteArray firstLine = bytes.left(bytes.indexOf('\n'));
    const QString key = QString::fromUtf8(firstLine.mid(firstLine.indexOf('\t') + 1));
    const std::optional<qint64> place = ResumeStore(file).PositionFor(key);
    if (place.has_value() && *place <= 0) {
        std::abort();
    }
    return 0;
}
