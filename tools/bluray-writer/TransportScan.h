#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <QtGlobal>

// Reads what a clip information file needs from a Blu-ray transport stream: 192-byte source
// packets (a 4-byte arrival time stamp, then a 188-byte transport packet).
namespace TransportScan {

constexpr int kSourcePacketSize = 192;
constexpr int kPacketsPerAlignedUnit = 32; // 6144 bytes, the unit players read

struct ElementaryStream
{
    quint16 pid = 0;
    quint8 streamType = 0; // as in the program map: 0x02 MPEG-2 video, 0x1B H.264, 0x81 AC-3
    QByteArray language;   // from the language descriptor, empty when there is none
};

// A place where decoding can start: the packet that begins an I picture (MPEG-2) or an IDR
// picture (H.264) and that picture's presentation time stamp.
struct EntryPoint
{
    quint32 packet = 0;
    quint64 pts = 0; // 90 kHz, 33 bits
};

struct Contents
{
    quint16 pmtPid = 0;
    quint16 pcrPid = 0;
    QVector<ElementaryStream> streams; // in program map order
    int videoIndex = -1;               // the first video stream among them
    // Of the video stream, in packet order. When the first picture of the stream can start
    // decoding, its entry point is the stream's first packet, so that reading from it also reads
    // the program tables before the picture (and libbluray finds a time for packet 0).
    QVector<EntryPoint> entryPoints;
    quint64 firstPts = 0; // the earliest video presentation time, 90 kHz
    quint64 endPts = 0;   // the latest one plus one frame
    quint32 packetCount = 0;
};

bool IsVideo(quint8 streamType);

// Appends null packets (carrying the last arrival time stamp) so that the size is a whole
// number of aligned units. False when the size is not a whole number of source packets.
bool PadToAlignedUnits(QByteArray &data);

// Reads the program map, the video entry points and the video time range.
bool Scan(const QByteArray &data, Contents &contents, QString *error);

} // namespace TransportScan
