#pragma once

#include <QByteArray>
#include <QString>

// Writes JSON text with members in the order they are given (the output's order is part of
// the tool's contract, so a map that sorts its keys will not do).
class JsonWriter
{
public:
    JsonWriter &BeginObject();
    JsonWriter &EndObject();
    JsonWriter &BeginArray();
    JsonWriter &EndArray();
    JsonWriter &Key(const char *name);
    JsonWriter &Value(const QString &text);
    JsonWriter &Value(qint64 number);
    JsonWriter &Member(const char *name, const QString &text) { return Key(name).Value(text); }
    JsonWriter &Member(const char *name, qint64 number) { return Key(name).Value(number); }

    const QByteArray &Text() const { return m_text; }

private:
    void Separate();

    QByteArray m_text;
    bool m_needsComma = false;
};
