#pragma once

#include <QByteArray>

#include <deque>
#include <optional>

// Cuts the engine's output into lines without letting it grow the player: a line longer than
// kMaxLineBytes is dropped whole, and at most kMaxHeldLines complete lines wait to be handled
// (the oldest go first). The engine's own lines are short; anything longer came from a medium.
class EngineLineReader
{
public:
    static constexpr int kMaxLineBytes = 4096;
    static constexpr int kMaxHeldLines = 1024;

    // Takes raw output as it came, in any chunking.
    void Append(const QByteArray &bytes);

    // The next complete line without its line break, oldest first.
    std::optional<QByteArray> NextLine();

    void Clear();

private:
    void Hold(const QByteArray &line);

    QByteArray m_partial;
    bool m_skippingOverlongLine = false;
    std::deque<QByteArray> m_lines;
};
