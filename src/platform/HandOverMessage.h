#pragma once

#include <QByteArray>
#include <QStringList>

// The message a later copy of the player sends the running one: each absolute path in the file
// system's own encoding followed by a NUL, then one more NUL. Nothing after that is allowed.
namespace HandOverMessage {

// The most a message may hold; a longer one is refused whole.
constexpr qsizetype kMaxBytes = 4 * 1024 * 1024;
constexpr qsizetype kMaxPaths = 10000;

QByteArray Encode(const QStringList &paths);

enum class State
{
    Incomplete, // more bytes may still make it whole
    Complete,
    Refused, // too long, too many paths, a path that is not absolute, or bytes after the end
};

struct Decoded
{
    State state = State::Incomplete;
    QStringList paths; // only when Complete
};

Decoded Decode(const QByteArray &received);

} // namespace HandOverMessage
