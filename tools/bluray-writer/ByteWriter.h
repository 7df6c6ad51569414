#pragma once

#include <QByteArray>
#include <QtEndian>
#include <QtGlobal>

// Writes the big-endian numbers, fixed-width texts and length-led blocks that the Blu-ray
// files are made of.
class ByteWriter
{
public:
    void U8(quint8 value) { m_data.append(char(value)); }
    void U16(quint16 value)
    {
        U8(quint8(value >> 8));
        U8(quint8(value));
    }
    void U32(quint32 value)
    {
        U16(quint16(value >> 16));
        U16(quint16(value));
    }
    void U48(quint64 value)
    {
        U16(quint16(value >> 32));
        U32(quint32(value));
    }
    // A text padded with NULs (or cut) to a fixed width.
    void Raw(const QByteArray &bytes, int width)
    {
        m_data.append(bytes.left(width).leftJustified(width, '\0'));
    }
    void Zeros(int count) { m_data.append(QByteArray(count, '\0')); }
    void Append(const QByteArray &bytes) { m_data.append(bytes); }
    void Append(const ByteWriter &other) { m_data.append(other.m_data); }
    qsizetype Size() const { return m_data.size(); }
    void PatchU16(qsizetype at, quint16 value) { qToBigEndian(value, m_data.data() + at); }
    void PatchU32(qsizetype at, quint32 value) { qToBigEndian(value, m_data.data() + at); }
    const QByteArray &Data() const { return m_data; }

    // A block led by its own 32-bit length (the bytes after the length field).
    void LengthBlock32(const ByteWriter &body)
    {
        U32(quint32(body.Size()));
        Append(body.Data());
    }

private:
    QByteArray m_data;
};
