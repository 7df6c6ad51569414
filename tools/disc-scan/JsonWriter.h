#pragma once

#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <cstdio>

// Writes JSON text to a stream with members in the order they are given (the output's order is
// part of the tool's contract, so a map that sorts its keys will not do). The text is appended
// to a buffer of fixed size that goes to the stream whenever it is full, so a large output
// never grows one large block, and nothing is ever inserted.
class JsonWriter
{
public:
    explicit JsonWriter(std::FILE *out) : m_out(out) {}

    JsonWriter &BeginObject();
    JsonWriter &EndObject();
    JsonWriter &BeginArray();
    JsonWriter &EndArray();
    JsonWriter &Key(const char *name);
    JsonWriter &Value(const QString &text);
    JsonWriter &Value(qint64 number);
    JsonWriter &Member(const char *name, const QString &text) { return Key(name).Value(text); }
    JsonWriter &Member(const char *name, qint64 number) { return Key(name).Value(number); }

    // Hands what was written so far to the stream; needed once at the end.
    void Flush();

private:
    void Separate();
    void Put(char character);
    void Put(const char *text, std::size_t size);
    void PutEscaped(char byte);

    static constexpr std::size_t kBufferSize = 64 * 1024;
    std::FILE *m_out;
    char m_buffer[kBufferSize];
    std::size_t m_used = 0;
    bool m_needsComma = false;
};
