#include "engine/EngineLineReader.h"

void EngineLineReader::Append(const QByteArray &bytes)
{
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype end = bytes.indexOf('\n', start);
        const qsizetype stop = end < 0 ? bytes.size() : end;
        if (!m_skippingOverlongLine) {
            if (m_partial.size() + (stop - start) > kMaxLineBytes) {
                m_partial.clear();
                m_skippingOverlongLine = true;
            } else {
                m_partial.append(bytes.constData() + start, stop - start);
            }
        }
        if (end < 0) {
            return;
        }
        if (!m_skippingOverlongLine) {
            if (m_partial.endsWith('\r')) {
                m_partial.chop(1);
            }
            Hold(m_partial);
        }
        m_partial.clear();
        m_skippingOverlongLine = false;
        start = end + 1;
    }
}

std::optional<QByteArray> EngineLineReader::NextLine()
{
    if (m_lines.empty()) {
        return std::nullopt;
    }
    QByteArray line = std::move(m_lines.front());
    m_lines.pop_front();
    return line;
}

void EngineLineReader::Clear()
{
    m_partial.clear();
    m_skippingOverlongLine = false;
    m_lines.clear();
}

void EngineLineReader::Hold(const QByteArray &line)
{
    if (m_lines.size() >= static_cast<size_t>(kMaxHeldLines)) {
        m_lines.pop_front();
    }
    m_lines.push_back(line);
}
