#include "JsonWriter.h"

void JsonWriter::Separate()
{
    if (m_needsComma) {
        m_text += ',';
    }
}

JsonWriter &JsonWriter::BeginObject()
{
    Separate();
    m_text += '{';
    m_needsComma = false;
    return *this;
}

JsonWriter &JsonWriter::EndObject()
{
    m_text += '}';
    m_needsComma = true;
    return *this;
}

JsonWriter &JsonWriter::BeginArray()
{
    Separate();
    m_text += '[';
    m_needsComma = false;
    return *this;
}

JsonWriter &JsonWriter::EndArray()
{
    m_text += ']';
    m_needsComma = true;
    return *this;
}

JsonWriter &JsonWriter::Key(const char *name)
{
    Separate();
    m_text += '"';
    m_text += name;
    m_text += "\":";
    m_needsComma = false;
    return *this;
}

JsonWriter &JsonWriter::Value(const QString &text)
{
    Separate();
    m_text += '"';
    for (const QChar character : text) {
        const char16_t code = character.unicode();
        if (code == '"' || code == '\\') {
            m_text += '\\';
            m_text += char(code);
        } else if (code < 0x20) {
            m_text += QByteArray("\\u") + QByteArray::number(code, 16).rightJustified(4, '0');
        } else {
            m_text += QString(character).toUtf8();
        }
    }
    m_text += '"';
    m_needsComma = true;
    return *this;
}

JsonWriter &JsonWriter::Value(qint64 number)
{
    Separate();
    m_text += QByteArray::number(number);
    m_needsComma = true;
    return *this;
}
