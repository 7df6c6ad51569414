#include "TransportScan.h"

#include <algorithm>

namespace TransportScan {

namespace {

constexpr int kHeaderSize = 4; // the arrival time stamp before each transport packet
constexpr int kTransportPacketSize = 188;
constexpr int kKeptPictureBytes = 8192; // enough to reach the first slice of a picture

const uchar *Packet(const QByteArray &data, qsizetype index)
{
    return reinterpret_cast<const uchar *>(data.constData()) + index * kSourcePacketSize +
           kHeaderSize;
}

struct Payload
{
    bool unitStart = false;
    quint16 pid = 0;
    const uchar *bytes = nullptr;
    int size = 0;
};

Payload ReadPayload(const uchar *packet)
{
    Payload payload;
    payload.unitStart = (packet[1] & 0x40) != 0;
    payload.pid = quint16(((packet[1] & 0x1F) << 8) | packet[2]);
    const int adaptation = (packet[3] >> 4) & 0x3;
    int offset = 4;
    if (adaptation == 2 || adaptation == 3) {
        offset += 1 + packet[4];
    }
    if ((adaptation == 1 || adaptation == 3) && offset < kTransportPacketSize) {
        payload.bytes = packet + offset;
        payload.size = kTransportPacketSize - offset;
    }
    return payload;
}

// The section a payload starts, after its pointer field; empty when it is cut short.
QByteArray Section(const Payload &payload)
{
    if (!payload.unitStart || payload.size < 1 || 1 + payload.bytes[0] + 3 > payload.size) {
        return {};
    }
    const uchar *section = payload.bytes + 1 + payload.bytes[0];
    const int available = payload.size - 1 - payload.bytes[0];
    const int length = 3 + (((section[1] & 0x0F) << 8) | section[2]);
    if (length > available) {
        return {};
    }
    return QByteArray(reinterpret_cast<const char *>(section), length);
}

quint16 ProgramMapPid(const QByteArray &pat)
{
    const auto *s = reinterpret_cast<const uchar *>(pat.constData());
    // Eight header bytes, four-byte entries, four CRC bytes at the end.
    for (int at = 8; at + 4 <= pat.size() - 4; at += 4) {
        const int program = (s[at] << 8) | s[at + 1];
        if (program != 0) {
            return quint16(((s[at + 2] & 0x1F) << 8) | s[at + 3]);
        }
    }
    return 0;
}

void ReadProgramMap(const QByteArray &pmt, Contents &contents)
{
    const auto *s = reinterpret_cast<const uchar *>(pmt.constData());
    if (pmt.size() < 16 || s[0] != 0x02) {
        return;
    }
    contents.pcrPid = quint16(((s[8] & 0x1F) << 8) | s[9]);
    int at = 12 + (((s[10] & 0x0F) << 8) | s[11]);
    const int end = pmt.size() - 4;
    while (at + 5 <= end) {
        ElementaryStream stream;
        stream.streamType = s[at];
        stream.pid = quint16(((s[at + 1] & 0x1F) << 8) | s[at + 2]);
        const int infoLength = ((s[at + 3] & 0x0F) << 8) | s[at + 4];
        const int infoEnd = std::min(end, at + 5 + infoLength);
        for (int d = at + 5; d + 2 <= infoEnd; d += 2 + s[d + 1]) {
            if (s[d] == 0x0A && s[d + 1] >= 3 && d + 5 <= infoEnd) {
                stream.language = QByteArray(reinterpret_cast<const char *>(s + d + 2), 3);
            }
        }
        contents.streams.append(stream);
        at = infoEnd;
    }
}

bool ReadPts(const QByteArray &pes, quint64 &pts)
{
    const auto *s = reinterpret_cast<const uchar *>(pes.constData());
    if (pes.size() < 14 || s[0] != 0 || s[1] != 0 || s[2] != 1 || (s[7] & 0x80) == 0) {
        return false;
    }
    pts = (quint64(s[9] >> 1) & 0x07) << 30 | quint64(s[10]) << 22 | quint64(s[11] >> 1) << 15 |
          quint64(s[12]) << 7 | quint64(s[13] >> 1);
    return true;
}

// Whether the picture that a video PES packet carries can start decoding.
bool StartsDecoding(const QByteArray &pes, quint8 streamType)
{
    const auto *s = reinterpret_cast<const uchar *>(pes.constData());
    if (pes.size() < 9) {
        return false;
    }
    for (int at = 9 + s[8]; at + 5 < pes.size(); ++at) {
        if (s[at] != 0 || s[at + 1] != 0 || s[at + 2] != 1) {
            continue;
        }
        const uchar code = s[at + 3];
        if (streamType == 0x02) {
            if (code == 0x00) { // picture header: coding type 1 is an I picture
                return ((s[at + 5] >> 3) & 0x07) == 1;
            }
        } else if (streamType == 0x1B) {
            const int nalType = code & 0x1F;
            if (nalType == 5) {
                return true;
            }
            if (nalType == 1) {
                return false;
            }
        }
    }
    return false;
}

} // namespace

bool IsVideo(quint8 streamType)
{
    return streamType == 0x01 || streamType == 0x02 || streamType == 0x1B || streamType == 0xEA ||
           streamType == 0x24;
}

bool PadToAlignedUnits(QByteArray &data)
{
    if (data.isEmpty() || data.size() % kSourcePacketSize != 0) {
        return false;
    }
    const QByteArray stamp = data.right(kSourcePacketSize).left(kHeaderSize);
    QByteArray null(kSourcePacketSize, char(0xFF));
    null.replace(0, kHeaderSize, stamp);
    null[4] = char(0x47);
    null[5] = char(0x1F);
    null[6] = char(0xFF);
    null[7] = char(0x10);
    while ((data.size() / kSourcePacketSize) % kPacketsPerAlignedUnit != 0) {
        data.append(null);
    }
    return true;
}

bool Scan(const QByteArray &data, Contents &contents, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error) {
            *error = text;
        }
        return false;
    };
    if (data.isEmpty() || data.size() % kSourcePacketSize != 0) {
        return fail(QStringLiteral("not a whole number of 192-byte packets"));
    }
    contents = Contents{};
    contents.packetCount = quint32(data.size() / kSourcePacketSize);

    QByteArray picture; // the start of the current video PES packet
    quint32 pictureStart = 0;
    QVector<quint64> times;
    auto finishPicture = [&]() {
        quint64 pts = 0;
        if (!picture.isEmpty() && ReadPts(picture, pts)) {
            if (StartsDecoding(picture, contents.streams[contents.videoIndex].streamType)) {
                contents.entryPoints.append(EntryPoint{times.isEmpty() ? 0 : pictureStart, pts});
            }
            times.append(pts);
        }
        picture.clear();
    };

    for (quint32 index = 0; index < contents.packetCount; ++index) {
        const uchar *packet = Packet(data, index);
        if (packet[0] != 0x47) {
            return fail(QStringLiteral("no sync byte in packet %1").arg(index));
        }
        const Payload payload = ReadPayload(packet);
        if (payload.pid == 0 && contents.pmtPid == 0) {
            contents.pmtPid = ProgramMapPid(Section(payload));
        } else if (payload.pid == contents.pmtPid && contents.pmtPid != 0 &&
                   contents.streams.isEmpty()) {
            ReadProgramMap(Section(payload), contents);
            for (int i = 0; i < contents.streams.size(); ++i) {
                if (IsVideo(contents.streams[i].streamType)) {
                    contents.videoIndex = i;
                    break;
                }
            }
        } else if (contents.videoIndex >= 0 && payload.size > 0 &&
                   payload.pid == contents.streams[contents.videoIndex].pid) {
            if (payload.unitStart) {
                finishPicture();
                pictureStart = index;
            }
            if (picture.size() < kKeptPictureBytes) {
                picture.append(reinterpret_cast<const char *>(payload.bytes), payload.size);
            }
        }
    }
    if (contents.videoIndex >= 0) {
        finishPicture();
    }
    if (contents.streams.isEmpty()) {
        return fail(QStringLiteral("no program map"));
    }
    if (contents.videoIndex < 0 || times.size() < 2) {
        return fail(QStringLiteral("no video pictures"));
    }
    if (contents.entryPoints.isEmpty()) {
        return fail(QStringLiteral("no picture to start decoding from"));
    }
    std::sort(times.begin(), times.end());
    quint64 frame = 0;
    for (int i = 1; i < times.size(); ++i) {
        const quint64 step = times[i] - times[i - 1];
        if (step > 0 && (frame == 0 || step < frame)) {
            frame = step;
        }
    }
    contents.firstPts = times.first();
    contents.endPts = times.last() + frame;
    return true;
}

} // namespace TransportScan
