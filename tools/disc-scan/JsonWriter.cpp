#include "JsonWriter.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iterator>

void JsonWriter::Flush()
{
    std::fwrite(m_buffer, 1, m_used, m_out);
    m_used = 0;
}

void JsonWriter::Put(char character)
{
    if (m_used == kBufferSize) {
        Flush();
    }
    m_buffer[m_used++] = character;
}

void JsonWriter::Put(const char *text, std::size_t size)
{
    if (m_used + size > kBufferSize) {
        Flush();
    }
    if (size > kBufferSize) {
        std::fwrite(text, 1, size, m_out);
        return;
    }
    std::memcpy(m_buffer + m_used, text, size);
    m_used += size;
}

// The bytes of characters past ASCII are all 0x80 or more in UTF-8, so escaping UTF-8 text byte
// by byte escapes it character by character.
void JsonWriter::PutEscaped(char byte)
{
    static constexpr char kHexDigits[] = "0123456789abcdef";
    const unsigned char code = static_cast<unsigned char>(byte);
    if (code == '"' || code == '\\') {
        const char escaped[] = {'\\', byte};
        Put(escaped, sizeof escaped);
    } else if (code < 0x20) {
        const char escaped[] = {'\\', 'u', '0', '0', kHexDigits[code >> 4], kHexDigits[code & 0xF]};
        Put(escaped, sizeof escaped);
    } else {
        Put(byte);
    }
}

void JsonWriter::Separate()
{
    if (m_needsComma) {
        Put(',');
    }
}

JsonWriter &JsonWriter::BeginObject()
{
    Separate();
    Put('{');
    m_needsComma = false;
    return *this;
}

JsonWriter &JsonWriter::EndObject()
{
    Put('}');
    m_needsComma = true;
    return *this;
}

JsonWriter &JsonWriter::BeginArray()
{
    Separate();
    Put('[');
    m_needsComma = false;
    return *this;
}

JsonWriter &JsonWriter::EndArray()
{
    Put(']');
    m_needsComma = true;
    return *this;
}

JsonWriter &JsonWriter::Key(const char *name)
{
    Separate();
    Put('"');
    Put(name, std::strlen(name));
    Put("\":", 2);
    m_needsComma = false;
    return *this;
}

JsonWriter &JsonWriter::Value(const QString &text)
{
    Separate();
    Put('"');
    // Most texts are plain ASCII that needs no escape: copied straight into the buffer, with
    // room made once for the whole text, and nothing kept of the copy if a character needs more.
    const std::size_t size = std::size_t(text.size());
    std::size_t plain = 0;
    if (size <= kBufferSize) {
        if (m_used + size > kBufferSize) {
            Flush();
        }
        const QChar *characters = text.constData();
        for (; plain < size; ++plain) {
            const char16_t code = characters[plain].unicode();
            if (code < 0x20 || code >= 0x80 || code == u'"' || code == u'\\') {
                break;
            }
            m_buffer[m_used + plain] = char(code);
        }
    }
    if (plain == size) {
        m_used += size;
    } else {
        for (const char byte : text.toUtf8()) {
            PutEscaped(byte);
        }
    }
    Put('"');
    m_needsComma = true;
    return *this;
}

JsonWriter &JsonWriter::Value(qint64 number)
{
    Separate();
    char digits[24];
    const char *end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
    Put(digits, std::size_t(end - digits));
    m_needsComma = true;
    return *this;
}
