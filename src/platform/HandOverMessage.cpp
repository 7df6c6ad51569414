#include "platform/HandOverMessage.h"

#include <QFile>

namespace HandOverMessage {

namespace {

constexpr qsizetype kMaxPathBytes = 4096; // PATH_MAX, its NUL included

} // namespace

QByteArray Encode(const QStringList &paths)
{
    QByteArray message;
    for (const QString &path : paths) {
        message += QFile::encodeName(path);
        message += '\0';
    }
    message += '\0';
    return message;
}

Decoded Decode(const QByteArray &received)
{
    if (received.size() > kMaxBytes) {
        return {State::Refused, {}};
    }
    QStringList paths;
    qsizetype start = 0;
    while (start < received.size()) {
        const qsizetype end = received.indexOf('\0', start);
        if (end < 0) {
            const bool tooLong = received.size() - start >= kMaxPathBytes;
            return {tooLong ? State::Refused : State::Incomplete, {}};
        }
        if (end == start) {
            // The empty record ends the message; nothing may follow it.
            return end + 1 == received.size() ? Decoded{State::Complete, paths}
                                              : Decoded{State::Refused, {}};
        }
        const QByteArray path = received.mid(start, end - start);
        if (path.front() != '/' || path.size() >= kMaxPathBytes || paths.size() >= kMaxPaths) {
            return {State::Refused, {}};
        }
        paths.append(QFile::decodeName(path));
        start = end + 1;
    }
    return {State::Incomplete, {}};
}

} // namespace HandOverMessage
