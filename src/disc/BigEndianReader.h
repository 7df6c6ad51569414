#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

// Reads big-endian numbers at given offsets of a block of bytes. A read that would reach past
// the end (or before the start) sets a sticky error and yields 0, so a parser can walk a file
// from a stranger and check once, at the end of a structure, whether everything it read was
// really there.
class BigEndianReader
{
public:
    explicit BigEndianReader(const QByteArray &data) : m_data(data) {}

    qint64 Size() const { return m_data.size(); }
    bool Failed() const { return m_failed; }
    // For a value that cannot be right wherever it points, such as a negative length.
    void Fail() { m_failed = true; }

    // True when [offset, offset + count) lies inside the data; otherwise sets the error.
    bool Has(qint64 offset, qint64 count)
    {
        if (offset < 0 || count < 0 || offset > Size() || count > Size() - offset) {
            m_failed = true;
            return false;
        }
        return true;
    }

    quint8 U8(qint64 offset) { return Has(offset, 1) ? Byte(offset) : 0; }

    quint16 U16(qint64 offset)
    {
        return Has(offset, 2) ? static_cast<quint16>((Byte(offset) << 8) | Byte(offset + 1)) : 0;
    }

    quint32 U32(qint64 offset)
    {
        if (!Has(offset, 4)) {
            return 0;
        }
        return (quint32(Byte(offset)) << 24) | (quint32(Byte(offset + 1)) << 16) |
               (quint32(Byte(offset + 2)) << 8) | quint32(Byte(offset + 3));
    }

    // The bytes at [offset, offset + count) where they lie, or none (and the error) past the end.
    QByteArrayView Bytes(qint64 offset, qint64 count)
    {
        return Has(offset, count) ? QByteArrayView(m_data.constData() + offset, count)
                                  : QByteArrayView();
    }

private:
    quint8 Byte(qint64 offset) const { return static_cast<quint8>(m_data[offset]); }

    const QByteArray &m_data;
    bool m_failed = false;
};
